#pragma once
#include <cstdint>
#include <memory>

#include "effects/filter.h"

// Makes filters for a radius. Every filter obtained from CreateFilter is handed
// back to the same factory through ReleaseFilter and never destroyed by the caller.
class FilterFactory {
 public:
  FilterFactory() = default;
  FilterFactory(const FilterFactory&) = delete;
  FilterFactory& operator=(const FilterFactory&) = delete;
  virtual ~FilterFactory() = default;

  virtual Filter& CreateFilter(int32_t radius) = 0;
  virtual void ReleaseFilter(Filter& filter) = 0;
};

// Builds the glow kernel: full weight inside a round core of Spread x radius,
// a Gaussian falloff outside it, every weight scaled by Opacity. The last
// kernel built is kept, so repeated paints with the same settings reuse it.
class OuterGlowFilterFactory : public FilterFactory {
 public:
  OuterGlowFilterFactory();
  ~OuterGlowFilterFactory() override;

  float SpreadFraction() const { return spreadFraction_; }
  float OpacityFraction() const { return opacityFraction_; }
  // A different value (NaN always counts as different) drops the cached kernel.
  void SetSpread(float fraction);
  void SetOpacity(float fraction);

  // The cached filter when it was built for `radius`, else a new one that
  // replaces it. A negative radius counts as 0. The filter stays valid until
  // the cache is replaced or dropped.
  Filter& CreateFilter(int32_t radius) override;
  // Keeps the cached filter; the factory holds no other.
  void ReleaseFilter(Filter& filter) override;

  std::unique_ptr<NeighborWeightedFilter> BuildGlowFilter(int32_t radius) const;
  void FillGlowKernel(ValueMap& kernel, int32_t size, int32_t radius, int32_t scale) const;
  // The weight of the kernel cell `dy` rows and `dx` columns away from the
  // centre of a kernel of `radius`, as FillGlowKernel gives it.
  int32_t KernelWeight(int32_t radius, int32_t dy, int32_t dx, int32_t scale) const;
  static double GaussianFalloff(double x, double w);

  const Filter* CachedFilter() const { return cachedFilter_.get(); }

 private:
  float spreadFraction_ = 0.0F;
  float opacityFraction_ = 1.0F;
  std::unique_ptr<NeighborWeightedFilter> cachedFilter_;
};
