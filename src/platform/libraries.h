#pragma once
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// Run-time loading of shared libraries.
class Libraries {
 public:
  virtual ~Libraries() = default;

  // Returns 0 when the file or one of its dependencies cannot be loaded.
  virtual LibraryHandle Load(std::wstring_view path) = 0;
  // Returns null when the name is not exported.
  virtual void* Symbol(LibraryHandle library, const char* name) = 0;
  virtual void Free(LibraryHandle library) = 0;
  // The file name of the library called `name` on this system.
  virtual std::wstring FileName(std::wstring_view name) = 0;
};

}  // namespace platform
