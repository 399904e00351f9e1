#pragma once
#include <cstdint>

#include "base/geometry.h"
#include "effects/painter_text.h"

class TCanvas;

// Where text drawn with the canvas's font by `format` in `rect` can put
// glyphs, found by measuring it rather than drawing: the measured extent,
// placed as DrawText places the text (every line of a centred or
// right-aligned block lies within the widest line's place; only a single
// line moves vertically), with a margin of a line's height (at least 16
// pixels) for glyphs that reach beyond their cells and for rounding.
TRect TextBox(TCanvas& canvas, PainterText text, const TRect& rect, int32_t format);
