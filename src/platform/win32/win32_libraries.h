#pragma once
#include "platform/libraries.h"

namespace platform::win32 {

class Win32Libraries : public Libraries {
 public:
  LibraryHandle Load(std::wstring_view path) override;
  void* Symbol(LibraryHandle library, const char* name) override;
  void Free(LibraryHandle library) override;
  // "Name.dll".
  std::wstring FileName(std::wstring_view name) override;
};

}  // namespace platform::win32
