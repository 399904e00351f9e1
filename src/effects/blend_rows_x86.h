#pragma once
// The x86 vector paths of the blend rows: SSE2, which every processor that
// runs the program has, and AVX2 where the processor has it.
#include <cstdint>

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define ZENTARA_BLEND_X86 1
#else
#define ZENTARA_BLEND_X86 0
#endif

#if ZENTARA_BLEND_X86
namespace blend_rows {

void Sse2(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity);
void Avx2(const uint8_t* source, uint8_t* dest, int32_t count, uint32_t opacity);
bool HasAvx2();

}  // namespace blend_rows
#endif
