#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/x11/shape_mask.h"

namespace platform::x11 {

class X11Connection;

// Gives a window the bounding shape of the pixels that are not fully
// transparent, so that clicks on the others reach the window below (as on
// systems whose layered windows do this themselves), and the transparent
// parts show what is below even where nothing composites. Where nothing
// composites, pixels that are more see-through than opaque would show black,
// so the shape then keeps only the others.
class ShapeUpdater {
 public:
  ShapeUpdater(X11Connection& connection, ::Window window)
      : connection_(connection), window_(window) {}

  // Sets the shape when it differs from the last one set.
  void Update(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride);
  // An empty input shape: every click goes through the window.
  void SetClickThrough(bool clickThrough);
  // Whether a compositing manager blends the window over what is below; true
  // until told otherwise. Answers whether the rule of the shape changed.
  bool SetComposited(bool composited);
  bool Composited() const { return minAlpha_ == 1; }
  bool ClickThrough() const { return clickThrough_; }

 private:
  X11Connection& connection_;
  ::Window window_;
  std::optional<std::vector<Rect>> current_;
  bool clickThrough_ = false;
  uint8_t minAlpha_ = 1;
};

}  // namespace platform::x11
