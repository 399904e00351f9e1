#include "effects/sparse_glow.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/bitmap.h"
#include "effects/glow.h"
#include "effects/glow_filter_factory.h"

namespace {

constexpr int32_t kScale = 256;

// First and last lit column of a luminance row; first > last when dark.
struct Span {
  int32_t first;
  int32_t last;
};

// The lit cells of a luminance map: each row's span and the box around all
// of them (inclusive; top > bottom when every cell is dark).
struct LitCells {
  std::vector<Span> rows;
  int32_t top;
  int32_t bottom;
  int32_t left;
  int32_t right;
};

LitCells FindLitCells(const ValueMap& map) {
  LitCells lit{std::vector<Span>(static_cast<size_t>(map.Rows()), Span{map.Columns(), -1}),
               map.Rows(), -1, map.Columns(), -1};
  for (int32_t i = 0; i < map.Rows(); ++i) {
    Span& span = lit.rows[static_cast<size_t>(i)];
    for (int32_t j = 0; j < map.Columns(); ++j) {
      if (map[i][j] <= 0) continue;
      span.first = std::min(span.first, j), span.last = j;
    }
    if (span.first > span.last) continue;
    lit.top = std::min(lit.top, i), lit.bottom = i;
    lit.left = std::min(lit.left, span.first), lit.right = std::max(lit.right, span.last);
  }
  return lit;
}

// Inclusive range of offsets.
struct Range {
  int64_t from;
  int64_t to;
};

// Fills `weights` with kernel row `dy` for the offsets of `dx` and returns
// the range of its non-zero weights (from > to when there are none).
Range KernelRow(const OuterGlowFilterFactory& factory, int32_t radius, int64_t dy, Range dx,
                std::vector<int32_t>& weights) {
  Range nonZero{dx.to + 1, dx.from - 1};
  for (int64_t x = dx.from; x <= dx.to; ++x) {
    const int32_t weight = GlowKernelWeight(factory, radius, dy, x);
    weights[static_cast<size_t>(x - dx.from)] = weight;
    if (weight != 0) nonZero.from = std::min(nonZero.from, x), nonZero.to = x;
  }
  return nonZero;
}

}  // namespace

int32_t GlowKernelWeight(const OuterGlowFilterFactory& factory, int32_t radius, int64_t dy,
                         int64_t dx) {
  radius = std::max(radius, 0);
  if (dy < -radius || dy > radius || dx < -radius || dx > radius) return 0;
  return factory.KernelWeight(radius, static_cast<int32_t>(dy), static_cast<int32_t>(dx), kScale);
}

ValueMap ComputeSparseGlowMap(const GlowSettings& settings, OuterGlowFilterFactory& factory,
                              const ValueMap& luminance, TPoint origin, const TRect& out) {
  ConfigureFactory(factory, settings);
  const int32_t radius = std::max(settings.radius, 0);

  // The largest product of each output cell, from 0: only lit cells can beat
  // it, as no weight is negative.
  ValueMap best = AllocateMap(out.Height(), out.Width());
  for (int32_t i = 0; i < best.Rows(); ++i) std::fill_n(best[i], best.Columns(), 0);
  const LitCells lit = FindLitCells(luminance);
  if (best.Empty() || lit.top > lit.bottom) return best;

  // Lit and output cells in common coordinates, inclusive, and the offsets
  // (lit minus output) between them that lie within the kernel.
  const Range litRows{int64_t{origin.Y} + lit.top, int64_t{origin.Y} + lit.bottom};
  const Range litColumns{int64_t{origin.X} + lit.left, int64_t{origin.X} + lit.right};
  const Range outRows{out.Top, int64_t{out.Bottom} - 1};
  const Range outColumns{out.Left, int64_t{out.Right} - 1};
  const Range dy{std::max<int64_t>(-radius, litRows.from - outRows.to),
                 std::min<int64_t>(radius, litRows.to - outRows.from)};
  const Range dx{std::max<int64_t>(-radius, litColumns.from - outColumns.to),
                 std::min<int64_t>(radius, litColumns.to - outColumns.from)};
  if (dx.from > dx.to) return best;

  std::vector<int32_t> weights(static_cast<size_t>(dx.to - dx.from + 1));
  for (int64_t rowOffset = dy.from; rowOffset <= dy.to; ++rowOffset) {
    const Range reach = KernelRow(factory, radius, rowOffset, dx, weights);
    if (reach.from > reach.to) continue;
    const int64_t firstRow = std::max(outRows.from, litRows.from - rowOffset);
    const int64_t lastRow = std::min(outRows.to, litRows.to - rowOffset);
    for (int64_t py = firstRow; py <= lastRow; ++py) {
      const auto row = static_cast<int32_t>(py + rowOffset - origin.Y);
      const Span span = lit.rows[static_cast<size_t>(row)];
      const int32_t* source = luminance[row];
      int32_t* cells = best[static_cast<int32_t>(py - outRows.from)];
      for (int32_t j = span.first; j <= span.last; ++j) {
        if (source[j] <= 0) continue;
        const int64_t qx = int64_t{origin.X} + j;
        const int64_t firstColumn = std::max(outColumns.from, qx - reach.to);
        const int64_t lastColumn = std::min(outColumns.to, qx - reach.from);
        for (int64_t px = firstColumn; px <= lastColumn; ++px) {
          const int64_t product =
              int64_t{source[j]} * weights[static_cast<size_t>(qx - px - dx.from)];
          const auto p = static_cast<int32_t>(std::min<int64_t>(product, INT32_MAX));
          int32_t& cell = cells[px - outColumns.from];
          if (p > cell) cell = p;
        }
      }
    }
  }
  for (int32_t i = 0; i < best.Rows(); ++i) {
    for (int32_t j = 0; j < best.Columns(); ++j) best[i][j] /= kScale;
  }
  return best;
}

void WriteGlowLayer(TBitmap& bitmap, const TRect& rect, ValueMap& glow, bool premultiplied,
                    TColor colour) {
  bitmap.Canvas().Brush().SetColor(colour);
  bitmap.Canvas().FillRect(rect);
  if (premultiplied) {
    WriteAlphaPremultiplied(bitmap, rect, glow);
  } else {
    WriteAlpha(bitmap, rect, glow);
  }
}
