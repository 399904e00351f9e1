#pragma once
// Where DrawText puts text in its rectangle, for a rasteriser that breaks and
// measures the lines itself. Geometry is 64-bit, so that any rectangle a
// caller passes is safe; what goes back to the caller is clamped to 32 bits.
#include <cstdint>

#include "platform/text_rasterizer.h"
#include "platform/types.h"

namespace platform {

// A text without characters spans no lines, unless it is drawn as a single
// line: then it is one line tall (and still 0 wide).
bool SpansLines(bool empty, const TextLayout& layout);

// The left of a line `width` wide: at the rectangle's left, centred in it (an
// odd spare pixel goes after the line, and a line wider than the rectangle
// overhangs its left by the smaller half), or against its right.
int64_t LineLeft(const Rect& rect, int64_t width, HorizontalPlacement placement);

// The top of a block of lines `height` tall: only a single line goes down the
// rectangle (centred or at its bottom); other text starts at the top.
int64_t BlockTop(const Rect& rect, int64_t height, const TextLayout& layout);

// What drawing answers: the distance from the rectangle's top to the block's
// bottom, which is the block's height unless a single line went down.
int32_t DrawnHeight(const Rect& rect, int64_t height, const TextLayout& layout);

// Measuring: the rectangle keeps its top-left corner and takes the extent.
Rect MeasuredRect(const Rect& rect, int64_t width, int64_t height);

// Where drawing may touch the target: the rectangle, or with no clipping the
// whole target, always within the target. Empty areas have right == left or
// bottom == top.
Rect DrawingArea(const Rect& rect, const TextLayout& layout, const PixelBuffer& target);

}  // namespace platform
