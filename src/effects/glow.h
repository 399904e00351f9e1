#pragma once
#include <cstdint>

#include "base/color.h"
#include "base/geometry.h"
#include "effects/value_map.h"

class TBitmap;
class TRadiateTextPainter;

// The glow procedure: turns white text on black into the alpha channel of a
// halo. Every rectangle must lie inside its bitmap (std::out_of_range otherwise).

// Rounded luminance (0.299 R + 0.587 G + 0.114 B) of every pixel of `rect`.
ValueMap BuildLuminanceMap(const TBitmap& bitmap, const TRect& rect);

// The glow value of every pixel of `rect` of the mask, with the painter's
// Radius, Spread and Opacity and the kernel cached by its Factory.
ValueMap ComputeGlowMap(TRadiateTextPainter& painter, const TBitmap& mask, const TRect& rect);

// Write `map` (clamped to 255 in place) into the alpha bytes of `rect` of a
// 32-bit bitmap; the premultiplied form also scales B, G, R by alpha, rounding
// half up. Another pixel format throws std::invalid_argument.
void WriteAlpha(TBitmap& bitmap, const TRect& rect, ValueMap& map);
void WriteAlphaPremultiplied(TBitmap& bitmap, const TRect& rect, ValueMap& map);

// Turns `rect` of a mask holding white text on black into the glow layer in
// place: colour `colour`, alpha the glow value. A mask that is not 32-bit is
// made 32-bit first.
void ApplyGlow(TRadiateTextPainter& painter, TBitmap& mask, const TRect& rect, bool premultiplied,
               TColor colour);
