// The glowing painters over any rectangle, radius, spread, opacity and shift,
// checked against themselves: a painter works out only the part of the
// rectangle inside its target, and each pixel must come out as if the whole
// rectangle had been drawn. So the same painting on a larger target (same
// origin, same fill) must agree with the smaller one wherever both have
// pixels, whichever path the two sizes take (whole kernel or lit cells only,
// temporaries reaching back to the rectangle or not).
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "null_platform.h"
#include "painter_case.h"

namespace {

using fuzzing::PainterCase;
using fuzzing::PainterKind;

// One painter for both targets, so that the second paint also takes the
// cached kernel of the first.
void Paint(const PainterCase& c, TTextPainter& painter, TBitmap& target, int32_t width,
           int32_t height) {
  fuzzing::PrepareTarget(c, target, width, height);
  fuzzing::PaintCase(c, painter, target);
}

// Compares colour everywhere the smaller target has pixels, and alpha where
// both targets ended 32-bit (a 24-bit target can turn 32-bit only where a halo shows).
void RequireSameCorner(const TBitmap& small, const TBitmap& large) {
  const bool alpha = small.BytesPerPixel() == 4 && large.BytesPerPixel() == 4;
  for (int32_t y = 0; !small.Empty() && y < small.Height(); ++y) {
    const uint8_t* a = small.ScanLine(y);
    const uint8_t* b = large.ScanLine(y);
    for (int32_t x = 0; x < small.Width(); ++x) {
      const uint8_t* p = a + x * small.BytesPerPixel();
      const uint8_t* q = b + x * large.BytesPerPixel();
      const bool same = p[0] == q[0] && p[1] == q[1] && p[2] == q[2] && (!alpha || p[3] == q[3]);
      fuzzing::Require(same, "a pixel comes out the same on a larger target");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput input(data, size);
  PainterCase c = fuzzing::ReadPainterCase(input);
  if (c.kind == PainterKind::Plain) c.kind = PainterKind::OuterGlow;
  // The halo painter's layer in a bitmap glows only the part of the
  // rectangle the target holds, so it depends on the target's size.
  if (c.kind == PainterKind::Radiate && c.Has(fuzzing::kIntoBitmap) && c.asLayer != 0) return 0;

  testing_support::NullPlatform platform;
  platform.text.coverage = c.coverage;
  fuzzing::PainterHolder holder(c);
  TBitmap small, large;
  Paint(c, holder.Painter(), small, c.width, c.height);
  Paint(c, holder.Painter(), large, c.width + c.extraWidth, c.height + c.extraHeight);
  RequireSameCorner(small, large);
  return 0;
}
