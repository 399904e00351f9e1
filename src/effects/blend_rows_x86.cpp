#include "effects/blend_rows_x86.h"

#if ZENTARA_BLEND_X86
#include <immintrin.h>

#include "effects/blend_row_scalar.h"

namespace blend_rows {
namespace {

// Each channel's sum n + 65025 / 2 is at most 255 * 255 * 510 + 32512, below
// 2^25. Truncating float(sum) * (1 / 65025.f) gives its exact quotient by
// 65025 wherever that is below 256, and 255 or more above: the float sum is
// exact below 2^24, and the product's rounding never crosses an integer.
constexpr float kInverse = 1.0f / 65025.0f;
constexpr int32_t kHalf = 65025 / 2;

// The sums are made with signed 16-bit multiply-adds of (s, d) pairs: with
// coefficients (255 k - 32768, 255 * 255 - sa * k - 32768), which fit in 16
// bits, and 32768 * (s + d) added back.
constexpr int16_t kOffset = -32768;

__m128i QuotientSse2(__m128i pairs, __m128i coefficients) {
  const __m128i shifted = _mm_madd_epi16(pairs, coefficients);
  const __m128i offset = _mm_madd_epi16(pairs, _mm_set1_epi16(kOffset));
  const __m128i sum = _mm_add_epi32(_mm_sub_epi32(shifted, offset), _mm_set1_epi32(kHalf));
  return _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(sum), _mm_set1_ps(kInverse)));
}

// Two pixels widened to 16-bit channels: their four results as 16-bit values.
__m128i TwoPixelsSse2(__m128i s, __m128i d, __m128i sourceFactor, __m128i k) {
  const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
  const __m128i destFactor =
      _mm_sub_epi16(_mm_set1_epi16(255 * 255 + kOffset), _mm_mullo_epi16(alpha, k));
  const __m128i first =
      QuotientSse2(_mm_unpacklo_epi16(s, d), _mm_unpacklo_epi16(sourceFactor, destFactor));
  const __m128i second =
      QuotientSse2(_mm_unpackhi_epi16(s, d), _mm_unpackhi_epi16(sourceFactor, destFactor));
  return _mm_packs_epi32(first, second);
}

__attribute__((target("avx2"))) __m256i QuotientAvx2(__m256i pairs, __m256i coefficients) {
  const __m256i shifted = _mm256_madd_epi16(pairs, coefficients);
  const __m256i offset = _mm256_madd_epi16(pairs, _mm256_set1_epi16(kOffset));
  const __m256i sum = _mm256_add_epi32(_mm256_sub_epi32(shifted, offset), _mm256_set1_epi32(kHalf));
  return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(sum), _mm256_set1_ps(kInverse)));
}

__attribute__((target("avx2"))) __m256i FourPixelsAvx2(__m256i s, __m256i d, __m256i sourceFactor,
                                                       __m256i k) {
  const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
  const __m256i destFactor =
      _mm256_sub_epi16(_mm256_set1_epi16(255 * 255 + kOffset), _mm256_mullo_epi16(alpha, k));
  const __m256i first =
      QuotientAvx2(_mm256_unpacklo_epi16(s, d), _mm256_unpacklo_epi16(sourceFactor, destFactor));
  const __m256i second =
      QuotientAvx2(_mm256_unpackhi_epi16(s, d), _mm256_unpackhi_epi16(sourceFactor, destFactor));
  return _mm256_packs_epi32(first, second);
}

int16_t SourceFactor(uint32_t opacity) {
  return static_cast<int16_t>(static_cast<int32_t>(255 * opacity) + kOffset);
}

}  // namespace

void Sse2(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i sourceFactor = _mm_set1_epi16(SourceFactor(opacity));
  const __m128i k = _mm_set1_epi16(static_cast<int16_t>(opacity));
  int32_t done = 0;
  for (; done + 4 <= count; done += 4, source += 16, dest += 16) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest));
    const __m128i low =
        TwoPixelsSse2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), sourceFactor, k);
    const __m128i high =
        TwoPixelsSse2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), sourceFactor, k);
    // Unsigned saturation clamps at 255.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest), _mm_packus_epi16(low, high));
  }
  Scalar(source, dest, count - done, opacity);
}

__attribute__((target("avx2"))) void Avx2(const uint8_t* source, uint8_t* dest, int32_t count,
                                          uint32_t opacity) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i sourceFactor = _mm256_set1_epi16(SourceFactor(opacity));
  const __m256i k = _mm256_set1_epi16(static_cast<int16_t>(opacity));
  int32_t done = 0;
  // Every step stays within the 128-bit halves, so the pixels come out in order.
  for (; done + 8 <= count; done += 8, source += 32, dest += 32) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest));
    const __m256i low = FourPixelsAvx2(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero),
                                       sourceFactor, k);
    const __m256i high = FourPixelsAvx2(_mm256_unpackhi_epi8(s, zero),
                                        _mm256_unpackhi_epi8(d, zero), sourceFactor, k);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest), _mm256_packus_epi16(low, high));
  }
  Sse2(source, dest, count - done, opacity);
}

bool HasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

}  // namespace blend_rows
#endif
