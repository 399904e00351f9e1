#pragma once
#include <cstdint>

#include "rotation/windows_display/platform_entries.h"

namespace quillet {

// A block of platform records on the heap, owned for the length of one call.
template <typename Record>
class RecordArray {
 public:
  explicit RecordArray(const PlatformEntries& entries) : entries_(entries) {}
  ~RecordArray() { Release(); }
  RecordArray(const RecordArray&) = delete;
  RecordArray& operator=(const RecordArray&) = delete;

  // False when the byte size of count records does not fit in 32 bits or the
  // heap refuses the block. The unsigned 32-bit builtin needs no helper from
  // the compiler's runtime, also on 32-bit targets.
  // A block held from before is given back first.
  bool Allocate(uint32_t count) {
    Release();
    uint32_t bytes = 0;
    if (__builtin_mul_overflow(count, static_cast<uint32_t>(sizeof(Record)), &bytes)) return false;
    if (entries_.allocate == nullptr || entries_.release == nullptr) return false;
    records_ = static_cast<Record*>(entries_.allocate(bytes));
    return records_ != nullptr;
  }

  Record* Data() const { return records_; }

  void Release() {
    if (records_ != nullptr) entries_.release(records_);
    records_ = nullptr;
  }

 private:
  const PlatformEntries& entries_;
  Record* records_ = nullptr;
};

}  // namespace quillet
