#pragma once
// Plain value types shared by the platform interfaces. They depend on nothing
// else in the project, so that every layer can speak in them.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

// The platform's calling convention (WINAPI): that of the rotation library's
// exports and of the system entries it looks up. It differs from the default
// only on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define ZENTARA_WINAPI __stdcall
#else
#define ZENTARA_WINAPI
#endif

// A 64-bit result brought back into the int32 range, saturating instead of overflowing.
inline int32_t SaturateInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive. Edges may be any int32 values: what
// computes new edges or sizes works in 64 bits and saturates at the int32 range.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  // A rectangle of the given size at the origin.
  static Rect OfSize(int32_t width, int32_t height) { return {0, 0, width, height}; }

  int32_t Width() const { return SaturateInt32(int64_t{right} - left); }
  int32_t Height() const { return SaturateInt32(int64_t{bottom} - top); }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const {
    return left <= x && x < right && top <= y && y < bottom;
  }

  // The part both rectangles cover; empty (possibly inverted) when they do not meet.
  Rect Intersected(const Rect& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  // Grown by `by` on every side (shrunk when negative).
  Rect Inflated(int64_t by) const {
    return {SaturateInt32(left - by), SaturateInt32(top - by), SaturateInt32(right + by),
            SaturateInt32(bottom + by)};
  }
  Rect Translated(int64_t dx, int64_t dy) const {
    return {SaturateInt32(left + dx), SaturateInt32(top + dy), SaturateInt32(right + dx),
            SaturateInt32(bottom + dy)};
  }

  friend bool operator==(const Rect&, const Rect&) = default;
};

// A view of pixels owned by someone else: rows top-down, `stride` bytes apart.
struct PixelBuffer {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
  int32_t bytesPerPixel = 4;  // 3 (blue, green, red) or 4 (blue, green, red, alpha)
};

// Opaque handles; 0 means "none".
using WindowHandle = uintptr_t;
using LibraryHandle = uintptr_t;
using TimerId = uintptr_t;

enum class MouseButton : uint8_t { Left = 0, Right = 1, Middle = 2 };

// Bit numbers of the shift-state set handed over with mouse events.
enum ShiftBit : uint8_t {
  kShift = 1u << 0,
  kAlt = 1u << 1,
  kCtrl = 1u << 2,
  kLeft = 1u << 3,
  kRight = 1u << 4,
  kMiddle = 1u << 5,
  kDouble = 1u << 6,
};

}  // namespace platform
