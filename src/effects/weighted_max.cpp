#include "effects/weighted_max.h"

#include <algorithm>
#include <vector>

#include "effects/value_map.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Why this is exact: with grey values s in 0..255 and weights w in 0..256 every
// product s * w fits in 16 bits, and because floor is monotonic,
// floor(max(s * w) / 256) equals max(floor(s * w / 256)). Each tap therefore
// contributes the high half of the 16-bit product (s << 8) * w, eight cells at a
// time, and a tap that lands on the padding or on a dark run contributes 0,
// which never beats the starting value 0 of the per-cell loop.
//
// Rows are reused: what one source row gives through one kernel row is the same
// for every output row that kernel row reaches it from, so kernel rows with the
// same weights (the glow kernel is symmetric, so dy and -dy) are applied to a
// source row once and the result is merged into each of those output rows.
namespace {

constexpr int32_t kLanes = 8;

struct Tap {
  int32_t dx;
  uint16_t weight;
};

// Kernel rows with equal weights, zero weights dropped, and the row offsets
// (dy) that carry them.
struct KernelRowGroup {
  std::vector<Tap> taps;
  std::vector<int32_t> dys;
  int32_t minDx;
  int32_t maxDx;
};

// First and last non-zero column of a source row; first > last when dark.
struct Span {
  int32_t first;
  int32_t last;
};

#if defined(__SSE2__)
// out[k] = max(out[k], high half of src[k] * weight), eight cells from k = 0.
inline void MaxProducts(uint16_t* out, const uint16_t* src, uint16_t weight, int32_t count) {
  const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
  for (int32_t k = 0; k < count; k += kLanes) {
    const __m128i products =
        _mm_mulhi_epu16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k)), w);
    const __m128i current = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + k));
    // Both sides are at most 255, so the signed maximum is exact.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_max_epi16(current, products));
  }
}

inline void MaxInto(uint16_t* out, const uint16_t* values, int32_t count) {
  for (int32_t k = 0; k < count; k += kLanes) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + k));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + k));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_max_epi16(a, b));
  }
}
#else
inline void MaxProducts(uint16_t* out, const uint16_t* src, uint16_t weight, int32_t count) {
  for (int32_t k = 0; k < count; ++k) {
    out[k] = std::max(out[k], static_cast<uint16_t>((uint32_t{src[k]} * weight) >> 16));
  }
}

inline void MaxInto(uint16_t* out, const uint16_t* values, int32_t count) {
  for (int32_t k = 0; k < count; ++k) out[k] = std::max(out[k], values[k]);
}
#endif

bool WeightsFit(const WeightedWindow& window) {
  if (window.divisor != 256) return false;
  const ValueMap& kernel = window.weights;
  for (int32_t i = 0; i < kernel.Rows(); ++i) {
    for (int32_t j = 0; j < kernel.Columns(); ++j) {
      if (kernel[i][j] < 0 || kernel[i][j] > 256) return false;
    }
  }
  return true;
}

std::vector<KernelRowGroup> GroupKernelRows(const WeightedWindow& window, int32_t padRows,
                                            int32_t padCols) {
  std::vector<KernelRowGroup> groups;
  for (int32_t dy = -padRows; dy <= padRows; ++dy) {
    std::vector<Tap> taps;
    const int32_t* weights = window.weights[window.rowRadius + dy] + window.colRadius;
    for (int32_t dx = -padCols; dx <= padCols; ++dx) {
      if (weights[dx] != 0) taps.push_back({dx, static_cast<uint16_t>(weights[dx])});
    }
    if (taps.empty()) continue;
    const auto same = [&](const KernelRowGroup& group) {
      return std::equal(
          group.taps.begin(), group.taps.end(), taps.begin(), taps.end(),
          [](const Tap& a, const Tap& b) { return a.dx == b.dx && a.weight == b.weight; });
    };
    const auto found = std::find_if(groups.begin(), groups.end(), same);
    if (found != groups.end()) {
      found->dys.push_back(dy);
    } else {
      groups.push_back({taps, {dy}, taps.front().dx, taps.back().dx});
    }
  }
  return groups;
}

}  // namespace

bool ApplyWeightedMax(const WeightedWindow& window, const ValueMap& source, int32_t srcRowOffset,
                      int32_t srcColOffset, int32_t rows, int32_t cols, ValueMap& dest,
                      int32_t dstRowOffset, int32_t dstColOffset) {
  if (rows <= 0 || cols <= 0) return true;
  if (!WeightsFit(window)) return false;

  // Taps further out than the area is large only ever meet cells outside it.
  const int32_t padRows = std::min(window.rowRadius, rows - 1);
  const int32_t padCols = std::min(window.colRadius, cols - 1);
  const int32_t width = (cols + kLanes - 1) / kLanes * kLanes;
  const size_t stride = static_cast<size_t>(width) + 2 * static_cast<size_t>(padCols);

  // Each source row with its values shifted into the high byte, framed by zeros.
  std::vector<uint16_t> padded(stride * static_cast<size_t>(rows), 0);
  std::vector<Span> spans(static_cast<size_t>(rows), Span{cols, -1});
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t* in = source[srcRowOffset + i] + srcColOffset;
    uint16_t* out = padded.data() + static_cast<size_t>(i) * stride + static_cast<size_t>(padCols);
    Span& span = spans[static_cast<size_t>(i)];
    for (int32_t j = 0; j < cols; ++j) {
      if (in[j] < 0 || in[j] > 255) return false;
      out[j] = static_cast<uint16_t>(in[j] << 8);
      if (in[j] != 0) span.first = std::min(span.first, j), span.last = j;
    }
  }

  const std::vector<KernelRowGroup> groups = GroupKernelRows(window, padRows, padCols);
  std::vector<uint16_t> result(static_cast<size_t>(width) * static_cast<size_t>(rows), 0);
  std::vector<uint16_t> rowResult(static_cast<size_t>(width), 0);
  for (int32_t sourceRow = 0; sourceRow < rows; ++sourceRow) {
    const Span span = spans[static_cast<size_t>(sourceRow)];
    if (span.first > span.last) continue;
    const uint16_t* line =
        padded.data() + static_cast<size_t>(sourceRow) * stride + static_cast<size_t>(padCols);
    for (const KernelRowGroup& group : groups) {
      // Output columns some tap of the group reaches the lit part of the row from,
      // widened to whole groups of eight (the extra lanes read dark cells or padding).
      const int32_t from = std::max(span.first - group.maxDx, 0) / kLanes * kLanes;
      const int32_t to = (std::min(span.last - group.minDx, cols - 1) / kLanes + 1) * kLanes;
      if (from >= to) continue;
      uint16_t* partial = rowResult.data() + from;
      std::fill(partial, partial + (to - from), uint16_t{0});
      for (const Tap& tap : group.taps) {
        const int32_t tapFrom = std::max(span.first - tap.dx, 0) / kLanes * kLanes;
        const int32_t tapTo = (std::min(span.last - tap.dx, cols - 1) / kLanes + 1) * kLanes;
        if (tapFrom >= tapTo) continue;
        MaxProducts(rowResult.data() + tapFrom, line + tapFrom + tap.dx, tap.weight,
                    tapTo - tapFrom);
      }
      for (int32_t dy : group.dys) {
        const int32_t outputRow = sourceRow - dy;
        if (outputRow < 0 || outputRow >= rows) continue;
        MaxInto(result.data() + static_cast<size_t>(outputRow) * static_cast<size_t>(width) + from,
                partial, to - from);
      }
    }
  }

  for (int32_t i = 0; i < rows; ++i) {
    const uint16_t* in = result.data() + static_cast<size_t>(i) * static_cast<size_t>(width);
    int32_t* out = dest[dstRowOffset + i] + dstColOffset;
    for (int32_t j = 0; j < cols; ++j) out[j] = in[j];
  }
  return true;
}
