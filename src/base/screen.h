#pragma once
#include <cstdint>

// The primary screen as the program sees it.
class TScreen {
 public:
  int32_t Width() const;
  int32_t Height() const;
  // Dots per inch of the primary monitor, 96 at 100 % display scale.
  int32_t PixelsPerInch() const;
};
