#include "platform/posix/dl_libraries.h"

#include <dlfcn.h>

#include "platform/posix/path_resolver.h"

namespace platform::posix {

LibraryHandle DlLibraries::Load(std::wstring_view path) {
  // A path relative to the working folder would load whatever lies where the
  // program was started; a bare name is the system's own search.
  const std::string file = ResolvePath(path);
  if (file.find('/') != std::string::npos && file.front() != '/') return 0;
  // Every symbol is bound now, so a library missing one of its own fails here and not later.
  return reinterpret_cast<LibraryHandle>(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* DlLibraries::Symbol(LibraryHandle library, const char* name) {
  if (library == 0) return nullptr;
  return dlsym(reinterpret_cast<void*>(library), name);
}

void DlLibraries::Free(LibraryHandle library) {
  if (library != 0) dlclose(reinterpret_cast<void*>(library));
}

std::wstring DlLibraries::FileName(std::wstring_view name) {
  std::wstring file = L"lib";
  for (const wchar_t c : name) file.push_back(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
  return file + L".so";
}

}  // namespace platform::posix
