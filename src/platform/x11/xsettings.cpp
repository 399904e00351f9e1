#include "platform/x11/xsettings.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {
namespace {

enum SettingType : uint8_t { kInteger = 0, kString = 1, kColor = 2 };

// Reads the format's numbers in the byte order its first byte names, and
// answers false instead of reading past the end.
class Reader {
 public:
  Reader(std::span<const uint8_t> data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}

  bool Skip(size_t count) {
    if (count > data_.size() - at_) return false;
    at_ += count;
    return true;
  }
  bool Card8(uint8_t& value) {
    if (at_ >= data_.size()) return false;
    value = data_[at_++];
    return true;
  }
  bool Card16(uint16_t& value) {
    uint32_t wide = 0;
    if (!Number(2, wide)) return false;
    value = static_cast<uint16_t>(wide);
    return true;
  }
  bool Card32(uint32_t& value) { return Number(4, value); }
  bool Text(size_t length, std::string_view& text) {
    if (length > data_.size() - at_) return false;
    text = std::string_view(reinterpret_cast<const char*>(data_.data() + at_), length);
    at_ += length;
    return true;
  }

 private:
  bool Number(size_t bytes, uint32_t& value) {
    if (bytes > data_.size() - at_) return false;
    value = 0;
    for (size_t i = 0; i < bytes; ++i) {
      const uint32_t byte = data_[at_ + (bigEndian_ ? i : bytes - 1 - i)];
      value = (value << 8) | byte;
    }
    at_ += bytes;
    return true;
  }

  std::span<const uint8_t> data_;
  size_t at_ = 0;
  bool bigEndian_;
};

size_t Padding(size_t length) {
  return (4 - length % 4) % 4;
}

}  // namespace

std::optional<int32_t> XsettingsDpiOf(std::span<const uint8_t> data) {
  if (data.empty() || data[0] > 1) return std::nullopt;
  Reader reader(data, data[0] == 1);  // MSBFirst
  uint32_t serial = 0, count = 0;
  if (!reader.Skip(4) || !reader.Card32(serial) || !reader.Card32(count)) return std::nullopt;
  std::optional<int32_t> xftDpi, factorDpi;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t type = 0;
    uint16_t nameLength = 0;
    std::string_view name;
    uint32_t lastChange = 0;
    if (!reader.Card8(type) || !reader.Skip(1) || !reader.Card16(nameLength) ||
        !reader.Text(nameLength, name) || !reader.Skip(Padding(nameLength)) ||
        !reader.Card32(lastChange)) {
      return std::nullopt;
    }
    if (type == kInteger) {
      uint32_t raw = 0;
      if (!reader.Card32(raw)) return std::nullopt;
      const auto value = static_cast<int32_t>(raw);
      if (name == "Xft/DPI" && value >= 24 * 1024 && value <= 960 * 1024) {
        xftDpi = static_cast<int32_t>(std::lround(value / 1024.0));
      } else if (name == "Gdk/WindowScalingFactor" && value >= 1 && value <= 10) {
        factorDpi = value * 96;
      }
    } else if (type == kString) {
      uint32_t length = 0;
      if (!reader.Card32(length) || !reader.Skip(length) || !reader.Skip(Padding(length)))
        return std::nullopt;
    } else if (type == kColor) {
      if (!reader.Skip(8)) return std::nullopt;
    } else {
      return std::nullopt;  // a kind of value whose size is unknown
    }
  }
  if (xftDpi && factorDpi) return std::max(*xftDpi, *factorDpi);
  return xftDpi ? xftDpi : factorDpi;
}

std::optional<int32_t> XsettingsDpi(X11Connection& connection, unsigned long owner) {
  constexpr long kMostLongs = 64 * 1024;  // a quarter of a megabyte of settings
  const ::Atom settings = XInternAtom(connection.Get(), "_XSETTINGS_SETTINGS", False);
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<int32_t> dpi;
  if (XGetWindowProperty(connection.Get(), owner, settings, 0, kMostLongs, False, AnyPropertyType,
                         &type, &format, &count, &after, &data) == Success &&
      data != nullptr && format == 8) {
    dpi = XsettingsDpiOf(std::span<const uint8_t>(data, count));
  }
  if (data != nullptr) XFree(data);
  return dpi;
}

}  // namespace platform::x11
