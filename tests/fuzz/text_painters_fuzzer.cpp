// The text painters over any rectangle, layer mode, format, radius, spread,
// opacity, shift and colour, on canvas and bitmap targets of bounded size,
// with narrow and wide texts drawn by the null platform's text rasteriser.
// Beyond the sanitizers' checks: the target keeps its size, and a layer that
// is premultiplied leaves a premultiplied target premultiplied.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "null_platform.h"
#include "painter_case.h"

namespace {

using fuzzing::PainterCase;
using fuzzing::PainterKind;

// Layer mode replaces the rectangle by a premultiplied layer, except the halo
// painter's in straight-alpha mode.
bool LeavesPremultipliedLayer(const PainterCase& c) {
  return c.asLayer != 0 && (c.kind != PainterKind::Radiate || c.Has(fuzzing::kPremultiplied));
}

bool Premultiplied(const TBitmap& bitmap) {
  for (int32_t y = 0; !bitmap.Empty() && y < bitmap.Height(); ++y) {
    const uint8_t* pixel = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, pixel += 4) {
      if (pixel[0] > pixel[3] || pixel[1] > pixel[3] || pixel[2] > pixel[3]) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput input(data, size);
  const PainterCase c = fuzzing::ReadPainterCase(input);
  testing_support::NullPlatform platform;
  platform.text.coverage = c.coverage;

  TBitmap target;
  fuzzing::PrepareTarget(c, target, c.width, c.height);
  fuzzing::PainterHolder holder(c);
  fuzzing::PaintCase(c, holder.Painter(), target);

  fuzzing::Require(target.Width() == c.width && target.Height() == c.height,
                   "painting keeps the target's size");
  if (c.Has(fuzzing::kTarget32) && LeavesPremultipliedLayer(c) &&
      target.PixelFormat() == TPixelFormat::pf32bit) {
    fuzzing::Require(Premultiplied(target), "a premultiplied layer keeps the target premultiplied");
  }
  return 0;
}
