#include "effects/glow_filter_factory.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

// Truncation toward zero; a weight outside int32 (only reachable with fractions
// far outside 0..1) saturates and NaN gives 0, instead of undefined behaviour.
int32_t TruncWeight(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

OuterGlowFilterFactory::OuterGlowFilterFactory() = default;

OuterGlowFilterFactory::~OuterGlowFilterFactory() = default;

void OuterGlowFilterFactory::SetSpread(float fraction) {
  if (fraction == spreadFraction_) return;
  spreadFraction_ = fraction;
  cachedFilter_.reset();
}

void OuterGlowFilterFactory::SetOpacity(float fraction) {
  if (fraction == opacityFraction_) return;
  opacityFraction_ = fraction;
  cachedFilter_.reset();
}

Filter& OuterGlowFilterFactory::CreateFilter(int32_t radius) {
  radius = std::max(radius, 0);
  if (cachedFilter_ != nullptr && cachedFilter_->RowRadius() == radius) return *cachedFilter_;
  cachedFilter_.reset();
  cachedFilter_ = BuildGlowFilter(radius);
  return *cachedFilter_;
}

void OuterGlowFilterFactory::ReleaseFilter(Filter& /*filter*/) {
  // Every filter handed out is the cached one, which stays for the next paint.
}

std::unique_ptr<NeighborWeightedFilter> OuterGlowFilterFactory::BuildGlowFilter(
    int32_t radius) const {
  radius = std::max(radius, 0);
  const int64_t size = 2 * int64_t{radius} + 1;
  if (size > INT32_MAX) throw std::length_error("glow radius too large");
  const auto n = static_cast<int32_t>(size);
  ValueMap kernel = AllocateMap(n, n);
  constexpr int32_t kScale = 256;
  if (radius == 0) {
    kernel[0][0] = TruncWeight(double{kScale} * opacityFraction_);
  } else {
    FillGlowKernel(kernel, n, radius, kScale);
  }
  return std::make_unique<NeighborWeightedFilter>(std::move(kernel), radius, radius, kScale);
}

void OuterGlowFilterFactory::FillGlowKernel(ValueMap& kernel, int32_t size, int32_t radius,
                                            int32_t scale) const {
  for (int32_t i = 0; i < size; ++i) {
    for (int32_t j = 0; j < size; ++j)
      kernel[i][j] = KernelWeight(radius, i - radius, j - radius, scale);
  }
}

int32_t OuterGlowFilterFactory::KernelWeight(int32_t radius, int32_t dy, int32_t dx,
                                             int32_t scale) const {
  const double r = radius;
  const double inner = r * spreadFraction_;
  const double width = r - inner + 1.0;
  const double opacity = opacityFraction_;
  const double di = dy, dj = dx;
  const double d = std::sqrt(di * di + dj * dj);
  if (d <= inner) return TruncWeight(scale * opacity);
  double g = GaussianFalloff(d - inner, width);
  if (g > 1.0) g = 1.0;
  return TruncWeight(scale * g * opacity);
}

double OuterGlowFilterFactory::GaussianFalloff(double x, double w) {
  return std::exp(-x * x / (2.0 * w));
}
