#pragma once
// Reads a fuzz input as a record of parameters followed by free bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace fuzzing {

// Takes little-endian fields from the front of the input. Past its end every
// field reads as zero, so any input, even an empty one, is a whole record, and
// seed inputs stay easy to write by hand.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  template <typename T>
  T Take() {
    static_assert(std::is_integral_v<T>);
    using Unsigned = std::make_unsigned_t<T>;
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i, ++position_) {
      if (position_ < size_) value |= uint64_t{data_[position_]} << (8 * i);
    }
    return static_cast<T>(static_cast<Unsigned>(value));
  }

  // The bytes left, up to the first zero byte and at most `maxLength` of them.
  std::string NarrowText(size_t maxLength) {
    std::string text;
    for (; position_ < size_ && text.size() < maxLength && data_[position_] != 0; ++position_)
      text.push_back(static_cast<char>(data_[position_]));
    return text;
  }

  // The bytes left as UTF-16 units, two bytes each, up to the first zero unit
  // and at most `maxLength` of them.
  std::wstring WideText(size_t maxLength) {
    std::wstring text;
    while (text.size() < maxLength && position_ < size_) {
      const auto unit = Take<uint16_t>();
      if (unit == 0) break;
      text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace fuzzing
