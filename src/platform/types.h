#pragma once
// Plain value types shared by the platform interfaces. They carry no behaviour
// so that the interfaces depend on nothing else in the project.
#include <cstdint>

namespace platform {

// The platform's calling convention (WINAPI): that of the rotation library's
// exports and of the system entries it looks up. It differs from the default
// only on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define ZENTARA_WINAPI __stdcall
#else
#define ZENTARA_WINAPI
#endif

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

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
