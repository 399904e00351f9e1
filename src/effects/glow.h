#pragma once
#include <cstdint>

#include "base/color.h"
#include "base/geometry.h"
#include "effects/glow_settings.h"
#include "effects/value_map.h"

class OuterGlowFilterFactory;
class TBitmap;

// The glow procedure: turns white text on black into the alpha channel of a
// halo. Every rectangle must lie inside its bitmap (std::out_of_range otherwise).

// Rounded luminance (0.299 R + 0.587 G + 0.114 B) of every pixel of `rect`.
ValueMap BuildLuminanceMap(const TBitmap& bitmap, const TRect& rect);

// Hands the factory the spread and opacity of `settings` as fractions (each
// value times 1/255, rounded to a float, so that 255 gives 1.0).
void ConfigureFactory(OuterGlowFilterFactory& factory, const GlowSettings& settings);

// The glow value of every pixel of `rect` of the mask, with the kernel of
// `settings` that `factory` builds (or has cached).
ValueMap ComputeGlowMap(const GlowSettings& settings, OuterGlowFilterFactory& factory,
                        const TBitmap& mask, const TRect& rect);

// Write `map` (clamped to 255 in place) into the alpha bytes of `rect` of a
// 32-bit bitmap; the premultiplied form also scales B, G, R by alpha, rounding
// half up. Another pixel format throws std::invalid_argument.
void WriteAlpha(TBitmap& bitmap, const TRect& rect, ValueMap& map);
void WriteAlphaPremultiplied(TBitmap& bitmap, const TRect& rect, ValueMap& map);

// Turns `rect` of a mask holding white text on black into the glow layer in
// place: colour `colour`, alpha the glow value. A mask that is not 32-bit is
// made 32-bit first.
void ApplyGlow(const GlowSettings& settings, OuterGlowFilterFactory& factory, TBitmap& mask,
               const TRect& rect, bool premultiplied, TColor colour);
