#pragma once
#include <cstdint>

#include "base/color.h"
#include "base/geometry.h"
#include "effects/value_map.h"

struct GlowSettings;
class OuterGlowFilterFactory;
class TBitmap;

// The glow procedure for areas whose kernel would be far larger than
// themselves (a radius far beyond the target) or whose lit cells lie far from
// the cells that show. It gives the values of the weighted-maximum filter
// exactly, but visits only lit cells and works out only the weights of
// offsets that occur, so its cost follows the areas and not the radius.

// The weight the glow kernel of `radius` built by `factory` (with its current
// spread and opacity) has at offset (dy, dx) from its centre; 0 beyond the
// radius.
int32_t GlowKernelWeight(const OuterGlowFilterFactory& factory, int32_t radius, int64_t dy,
                         int64_t dx);

// The glow value of every cell of `out` with `settings`, as the filter gives
// it over an area that holds `out` and the luminance map, whose cell (0, 0)
// lies at `origin` in the coordinates of `out`; every other cell of that area
// counts as dark. Configures the factory as ComputeGlowMap does, but builds
// no kernel. Rows of the result follow `out`.
ValueMap ComputeSparseGlowMap(const GlowSettings& settings, OuterGlowFilterFactory& factory,
                              const ValueMap& luminance, TPoint origin, const TRect& out);

// The last steps of ApplyGlow: `rect` of a 32-bit bitmap becomes `colour`
// with the glow values as alpha, premultiplied (rounding) or straight.
void WriteGlowLayer(TBitmap& bitmap, const TRect& rect, ValueMap& glow, bool premultiplied,
                    TColor colour);
