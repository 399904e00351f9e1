#pragma once
// The glow procedure written out loop for loop, kept apart from the product as
// the reference its faster filter must match byte for byte (tests) and be
// measured against (benchmarks). Self-contained: plain vectors, no product code.
#include <cmath>
#include <cstdint>
#include <vector>

namespace testing_support {

using LiteralMap = std::vector<std::vector<int32_t>>;

inline LiteralMap LiteralGlowKernel(int32_t r, float spread, float opacity) {
  const int32_t n = 2 * r + 1;
  LiteralMap kernel(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n)));
  const int32_t scale = 256;
  if (r == 0) {
    kernel[0][0] = static_cast<int32_t>(256 * static_cast<double>(opacity));
    return kernel;
  }
  const double inner = r * static_cast<double>(spread);
  const double width = r - inner + 1.0;
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) {
      const double d = std::sqrt(static_cast<double>((i - r) * (i - r) + (j - r) * (j - r)));
      int32_t weight;
      if (d <= inner) {
        weight = static_cast<int32_t>(scale * static_cast<double>(opacity));
      } else {
        const double t = d - inner;
        double g = std::exp(-t * t / (2.0 * width));
        if (g > 1.0) g = 1.0;
        weight = static_cast<int32_t>(scale * g * static_cast<double>(opacity));
      }
      kernel[static_cast<size_t>(i)][static_cast<size_t>(j)] = weight;
    }
  }
  return kernel;
}

// One cell of the weighted-maximum filter, clipped to the rows x cols area.
inline int32_t LiteralApplyAt(const LiteralMap& source, const LiteralMap& kernel, int32_t radius,
                              int32_t rows, int32_t cols, int32_t row, int32_t col) {
  int32_t best = 0;
  for (int32_t dy = -radius; dy <= radius; ++dy) {
    for (int32_t dx = -radius; dx <= radius; ++dx) {
      if (row + dy < 0 || col + dx < 0 || row + dy >= rows || col + dx >= cols) continue;
      const int32_t p = source[static_cast<size_t>(row + dy)][static_cast<size_t>(col + dx)] *
                        kernel[static_cast<size_t>(radius + dy)][static_cast<size_t>(radius + dx)];
      if (p > best) best = p;
    }
  }
  return best / 256;
}

struct LiteralGlowInput {
  const uint8_t* pixels;  // 32-bit B, G, R, A, rows top-down, tightly packed
  int32_t width;
  int32_t height;
  int32_t radius;
  uint8_t spread;
  uint8_t opacity;
  bool premultiplied;
  uint32_t color;  // 0x00BBGGRR
};

// The glow layer the procedure makes of a whole 32-bit mask.
inline std::vector<uint8_t> LiteralGlow(const LiteralGlowInput& in) {
  const int32_t rows = in.height, cols = in.width;
  LiteralMap luminance(static_cast<size_t>(rows), std::vector<int32_t>(static_cast<size_t>(cols)));
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      const uint8_t* p =
          in.pixels +
          (static_cast<size_t>(i) * static_cast<size_t>(cols) + static_cast<size_t>(j)) * 4;
      luminance[static_cast<size_t>(i)][static_cast<size_t>(j)] =
          static_cast<int32_t>(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0] + 0.5);
    }
  }
  const auto spread = static_cast<float>(in.spread * (1.0 / 255));
  const auto opacity = static_cast<float>(in.opacity * (1.0 / 255));
  const LiteralMap kernel = LiteralGlowKernel(in.radius, spread, opacity);

  std::vector<uint8_t> out(static_cast<size_t>(rows) * static_cast<size_t>(cols) * 4);
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      int32_t value = LiteralApplyAt(luminance, kernel, in.radius, rows, cols, i, j);
      if (value > 255) value = 255;
      const auto a = static_cast<uint8_t>(value);
      uint8_t* p =
          out.data() +
          (static_cast<size_t>(i) * static_cast<size_t>(cols) + static_cast<size_t>(j)) * 4;
      const uint8_t colour[3] = {static_cast<uint8_t>(in.color >> 16),
                                 static_cast<uint8_t>(in.color >> 8),
                                 static_cast<uint8_t>(in.color)};
      const double f = a * (1.0 / 255);
      for (int c = 0; c < 3; ++c) {
        p[c] = in.premultiplied ? static_cast<uint8_t>(colour[c] * f + 0.5) : colour[c];
      }
      p[3] = a;
    }
  }
  return out;
}

}  // namespace testing_support
