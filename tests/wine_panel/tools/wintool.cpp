// A small Windows console tool through which the end-to-end tests look at and
// poke the program's windows from inside the Wine session.
//
//   wintool find CLASS TITLE      every top-level window with that class and title, as JSON lines
//                                 ("moving": its thread is in a system move or size loop;
//                                 "program": the file its process runs)
//   wintool close CLASS TITLE     posts WM_CLOSE to each of them
//   wintool foreground            the foreground window, as a JSON line
//   wintool hold-foreground MS    shows a window of its own, brings it to the foreground, keeps it
//                                 there for MS milliseconds
//   wintool screen                the primary screen's size
//   wintool turn QUARTERS         turns the primary display to 0-3 quarter turns from upright
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size) - 1);
  return result;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = {};
  ::GetWindowTextW(window, title, 256);
  return title;
}

bool InMoveLoop(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) != FALSE &&
         (info.flags & GUI_INMOVESIZE) != 0;
}

// The full name of the file the window's process runs, escaped for JSON.
std::string ProgramOf(HWND window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  wchar_t name[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id)) {
    if (!::QueryFullProcessImageNameW(process, 0, name, &size)) name[0] = L'\0';
    ::CloseHandle(process);
  }
  std::string escaped;
  for (const char c : Utf8(name)) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

void Describe(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  RECT client{};
  ::GetClientRect(window, &client);
  std::printf(
      "{\"hwnd\": %llu, \"class\": \"%s\", \"title\": \"%s\", \"left\": %ld, \"top\": %ld, "
      "\"right\": %ld, "
      "\"bottom\": %ld, \"clientWidth\": %ld, \"clientHeight\": %ld, \"style\": %lu, \"exstyle\": "
      "%lu, "
      "\"visible\": %d, \"moving\": %d, \"program\": \"%s\"}\n",
      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
      Utf8(ClassOf(window)).c_str(), Utf8(TitleOf(window)).c_str(), r.left, r.top, r.right,
      r.bottom, client.right, client.bottom,
      static_cast<unsigned long>(::GetWindowLongW(window, GWL_STYLE)),
      static_cast<unsigned long>(::GetWindowLongW(window, GWL_EXSTYLE)),
      ::IsWindowVisible(window) ? 1 : 0, InMoveLoop(window) ? 1 : 0, ProgramOf(window).c_str());
}

struct Query {
  std::wstring className;
  std::wstring title;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* query = reinterpret_cast<Query*>(data);
  if (ClassOf(window) == query->className && TitleOf(window) == query->title)
    query->found.push_back(window);
  return TRUE;
}

std::vector<HWND> Find(const wchar_t* className, const wchar_t* title) {
  Query query{className, title, {}};
  ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

int HoldForeground(DWORD milliseconds) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ZentaraTestForeground";
  ::RegisterClassW(&windowClass);
  HWND window =
      ::CreateWindowExW(0, windowClass.lpszClassName, L"Foreground taker", WS_OVERLAPPEDWINDOW, 400,
                        400, 200, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetForegroundWindow(window);
  std::printf("{\"hwnd\": %llu}\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);
  const DWORD end = ::GetTickCount() + milliseconds;
  while (::GetTickCount() < end) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(10);
  }
  ::DestroyWindow(window);
  return 0;
}

// Turns the display through its settings, as the system's own settings do:
// Windows then tells every top-level window with WM_DISPLAYCHANGE (under Wine
// a turn made on the X server alone is not passed on to the programs).
int Turn(DWORD quarters) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (quarters > DMDO_270 || !::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode))
    return 1;
  if ((mode.dmDisplayOrientation + quarters) % 2 == 1)
    std::swap(mode.dmPelsWidth, mode.dmPelsHeight);
  mode.dmDisplayOrientation = quarters;
  mode.dmFields = DM_DISPLAYORIENTATION | DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = ::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
  if (result == DISP_CHANGE_SUCCESSFUL) return 0;
  std::fprintf(stderr, "ChangeDisplaySettingsEx refused the turn: %ld\n", result);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Places and sizes in the display's own pixels, whatever its scale.
  ::SetProcessDPIAware();
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"find" && argc == 4) {
    for (HWND window : Find(argv[2], argv[3])) Describe(window);
    return 0;
  }
  if (command == L"close" && argc == 4) {
    for (HWND window : Find(argv[2], argv[3])) ::PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"foreground") {
    HWND window = ::GetForegroundWindow();
    if (window == nullptr) {
      std::printf("{\"hwnd\": 0}\n");
    } else {
      Describe(window);
    }
    return 0;
  }
  if (command == L"hold-foreground" && argc == 3)
    return HoldForeground(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
  if (command == L"screen") {
    std::printf("{\"width\": %d, \"height\": %d}\n", ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (command == L"turn" && argc == 3)
    return Turn(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
  std::fprintf(stderr,
               "usage: wintool find|close CLASS TITLE | foreground | hold-foreground MS | screen | "
               "turn QUARTERS\n");
  return 2;
}
