#include "platform/x11/shape_updater.h"

#include <X11/extensions/shape.h>

#include "platform/x11/x11_connection.h"

namespace platform::x11 {

void ShapeUpdater::Update(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride) {
  if (!connection_.HasShape()) return;
  std::vector<Rect> rects = OpaqueRects(pixels, width, height, stride, minAlpha_);
  if (current_ && *current_ == rects) return;
  std::vector<XRectangle> shape;
  shape.reserve(rects.size());
  for (const Rect& r : rects) {
    shape.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                     static_cast<unsigned short>(r.Width()),
                     static_cast<unsigned short>(r.Height())});
  }
  XShapeCombineRectangles(connection_.Get(), window_, ShapeBounding, 0, 0, shape.data(),
                          static_cast<int>(shape.size()), ShapeSet, YXBanded);
  current_ = std::move(rects);
}

bool ShapeUpdater::SetComposited(bool composited) {
  const uint8_t minAlpha = composited ? 1 : kUncompositedMinAlpha;
  if (minAlpha == minAlpha_) return false;
  minAlpha_ = minAlpha;
  return true;
}

void ShapeUpdater::SetClickThrough(bool clickThrough) {
  if (!connection_.HasShape() || clickThrough == clickThrough_) return;
  clickThrough_ = clickThrough;
  if (clickThrough) {
    XShapeCombineRectangles(connection_.Get(), window_, ShapeInput, 0, 0, nullptr, 0, ShapeSet,
                            Unsorted);
  } else {
    // Back to the bounding shape.
    XShapeCombineMask(connection_.Get(), window_, ShapeInput, 0, 0, None, ShapeSet);
  }
}

}  // namespace platform::x11
