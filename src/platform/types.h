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

  // Edges computed in 64 bits, each brought back into the int32 range.
  static Rect Saturated(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
  }
  // A rectangle of the given size at the origin.
  static Rect OfSize(int32_t width, int32_t height) { return {0, 0, width, height}; }

  // Saturated, so that a rectangle spanning more than the 32-bit range cannot overflow.
  int32_t Width() const { return SaturateInt32(ExactWidth()); }
  int32_t Height() const { return SaturateInt32(ExactHeight()); }
  // Right minus left (bottom minus top) without saturation; negative when inverted.
  int64_t ExactWidth() const { return int64_t{right} - left; }
  int64_t ExactHeight() const { return int64_t{bottom} - top; }
  // Pixels covered; 0 for an empty rectangle.
  int64_t Area() const { return IsEmpty() ? 0 : ExactWidth() * ExactHeight(); }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const {
    return left <= x && x < right && top <= y && y < bottom;
  }

  // The part both rectangles cover; empty (possibly inverted) when they do not meet.
  Rect Intersected(const Rect& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  Rect United(const Rect& other) const {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return other;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  // Grown by `by` on every side (shrunk when negative).
  Rect Inflated(int64_t by) const { return Inflated(by, by, by, by); }
  // Each edge moved outward by its own amount.
  Rect Inflated(int64_t byLeft, int64_t byTop, int64_t byRight, int64_t byBottom) const {
    return Saturated(left - byLeft, top - byTop, right + byRight, bottom + byBottom);
  }
  Rect Translated(int64_t dx, int64_t dy) const {
    return Saturated(left + dx, top + dy, right + dx, bottom + dy);
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
