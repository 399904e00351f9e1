#pragma once
#include "platform/libraries.h"

namespace platform::posix {

// Shared objects loaded with dlopen. Paths are resolved as the program writes
// them elsewhere ("\" separators, any letter case), and a library called
// "Name" is the file "libname.so". A path relative to the working folder is
// refused.
class DlLibraries : public Libraries {
 public:
  LibraryHandle Load(std::wstring_view path) override;
  void* Symbol(LibraryHandle library, const char* name) override;
  void Free(LibraryHandle library) override;
  std::wstring FileName(std::wstring_view name) override;
};

}  // namespace platform::posix
