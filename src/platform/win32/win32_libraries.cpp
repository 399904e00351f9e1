#include "platform/win32/win32_libraries.h"

#include "platform/win32/windows_api.h"

#include <string>

namespace platform::win32 {

LibraryHandle Win32Libraries::Load(std::wstring_view path) {
  return reinterpret_cast<LibraryHandle>(::LoadLibraryW(std::wstring(path).c_str()));
}

void* Win32Libraries::Symbol(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void Win32Libraries::Free(LibraryHandle library) {
  ::FreeLibrary(reinterpret_cast<HMODULE>(library));
}

std::wstring Win32Libraries::FileName(std::wstring_view name) {
  return std::wstring(name) + L".dll";
}

}  // namespace platform::win32
