#include "platform/text_placement.h"

#include <algorithm>

namespace platform {
bool SpansLines(bool empty, const TextLayout& layout) {
  return !empty || layout.singleLine;
}

int64_t LineLeft(const Rect& rect, int64_t width, HorizontalPlacement placement) {
  switch (placement) {
    case HorizontalPlacement::kCentre:
      return rect.left + (int64_t{rect.right} - rect.left - width) / 2;
    case HorizontalPlacement::kRight:
      return rect.right - width;
    case HorizontalPlacement::kLeft:
      break;
  }
  return rect.left;
}

int64_t BlockTop(const Rect& rect, int64_t height, const TextLayout& layout) {
  if (!layout.singleLine) return rect.top;
  switch (layout.vertical) {
    case VerticalPlacement::kCentre:
      return rect.top + (int64_t{rect.bottom} - rect.top - height) / 2;
    case VerticalPlacement::kBottom:
      return rect.bottom - height;
    case VerticalPlacement::kTop:
      break;
  }
  return rect.top;
}

int32_t DrawnHeight(const Rect& rect, int64_t height, const TextLayout& layout) {
  return SaturateInt32(BlockTop(rect, height, layout) - rect.top + height);
}

Rect MeasuredRect(const Rect& rect, int64_t width, int64_t height) {
  return {rect.left, rect.top, SaturateInt32(rect.left + width), SaturateInt32(rect.top + height)};
}

Rect DrawingArea(const Rect& rect, const TextLayout& layout, const PixelBuffer& target) {
  const Rect whole{0, 0, std::max(target.width, 0), std::max(target.height, 0)};
  const Rect reach = layout.noClip ? whole : rect;
  Rect area{std::max(reach.left, whole.left), std::max(reach.top, whole.top),
            std::min(reach.right, whole.right), std::min(reach.bottom, whole.bottom)};
  area.right = std::max(area.right, area.left);
  area.bottom = std::max(area.bottom, area.top);
  return area;
}

}  // namespace platform
