#include "platform/win32/win32_system.h"

#include "platform/win32/windows_api.h"

#include <string>

namespace platform::win32 {

bool Win32System::ClaimSingleInstance(std::wstring_view mutexName) {
  const std::wstring name(mutexName);
  // The handle is kept open on purpose: the mutex marks this process until it ends.
  ::CreateMutexW(nullptr, TRUE, name.c_str());
  return ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void Win32System::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

void Win32System::DebugOutput(std::wstring_view line) {
  ::OutputDebugStringW(std::wstring(line).c_str());
}

bool Win32System::FolderExists(std::wstring_view path) {
  const DWORD attributes = ::GetFileAttributesW(std::wstring(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint16_t Win32System::SystemDefaultLanguage() {
  return ::GetSystemDefaultLangID();
}

std::wstring Win32System::ExecutableName() {
  std::wstring name(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

void Win32System::ShowMessage(std::wstring_view text, std::wstring_view caption) {
  ::MessageBoxW(nullptr, std::wstring(text).c_str(), std::wstring(caption).c_str(), MB_OK);
}

uint32_t Win32System::SystemColor(int index) {
  return ::GetSysColor(index);
}

void Win32System::ExitProcess(int code) {
  ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace platform::win32
