/* Loads Quillet.dll into a process that has no user32, as a program that
 * never shows a window might, and checks that every export reports its
 * failure value instead of failing to load or crashing. Reports on stdout;
 * the exit code is the number of failed checks (100 when it cannot run). */
#include <stdio.h>
#include <windows.h>

typedef INT(WINAPI* NoArgument)(void);
typedef INT(WINAPI* OneArgument)(INT);

static int failures = 0;

static void Expect(const char* what, int actual, int expected) {
  printf("%-28s %3d (expected %3d) %s\n", what, actual, expected,
         actual == expected ? "ok" : "FAILED");
  if (actual != expected) ++failures;
}

static int User32Loaded(void) {
  return GetModuleHandleW(L"user32") != NULL || GetModuleHandleW(L"user32.dll") != NULL;
}

static FARPROC Export(HMODULE library, const char* name) {
  FARPROC entry = GetProcAddress(library, name);
  if (entry == NULL) {
    printf("%s is not exported\n", name);
    ++failures;
  }
  return entry;
}

int main(void) {
  wchar_t path[MAX_PATH * 2];
  const char* relative = QUILLET_RELATIVE_PATH;
  DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
  HMODULE quillet;
  FARPROC getAngle, setAngle, getAutoRotationOn, setAutoRotation;

  while (length > 0 && path[length - 1] != L'\\' && path[length - 1] != L'/') --length;
  for (; *relative != '\0' && length + 1 < sizeof path / sizeof path[0]; ++relative) {
    path[length++] = *relative == '/' ? L'\\' : (wchar_t)*relative;
  }
  path[length] = L'\0';

  if (User32Loaded()) {
    printf("user32 is already loaded; this check needs a process without it\n");
    return 100;
  }
  quillet = LoadLibraryW(path);
  if (quillet == NULL) {
    printf("cannot load %ls (error %lu)\n", path, GetLastError());
    return 100;
  }
  Expect("user32 loaded with Quillet", User32Loaded(), 0);

  getAngle = Export(quillet, "RT_GetAngle");
  setAngle = Export(quillet, "RT_SetAngle");
  getAutoRotationOn = Export(quillet, "RT_GetAutoRotationOn");
  setAutoRotation = Export(quillet, "RT_SetAutoRotation");
  if (getAngle != NULL) Expect("RT_GetAngle()", ((NoArgument)(void (*)(void))getAngle)(), -1);
  if (setAngle != NULL) Expect("RT_SetAngle(2)", ((OneArgument)(void (*)(void))setAngle)(2), 0);
  if (getAutoRotationOn != NULL) {
    Expect("RT_GetAutoRotationOn()", ((NoArgument)(void (*)(void))getAutoRotationOn)(), 0);
  }
  if (setAutoRotation != NULL) {
    Expect("RT_SetAutoRotation(1)", ((OneArgument)(void (*)(void))setAutoRotation)(1), 0);
    Expect("RT_SetAutoRotation(0)", ((OneArgument)(void (*)(void))setAutoRotation)(0), 1);
  }
  Expect("user32 loaded by the calls", User32Loaded(), 0);

  FreeLibrary(quillet);
  printf("%s\n", failures == 0 ? "all checks passed" : "some checks FAILED");
  return failures;
}
