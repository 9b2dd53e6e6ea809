// Vector operations on 16- and 32-bit lanes for the steps written once for
// SSE2 and AVX2. Lanes<SimdPath::Sse2> works on one 128-bit register;
// Lanes<SimdPath::Avx2> on a 256-bit one whose unpacks and packs work within
// each 128-bit half, so that a step written for one block with SSE2 works on
// two blocks with AVX2, one in each half. Each operation gives its SSE2
// instruction, then its AVX2 one.
//
// Each file that includes this gets its own copy (internal linkage), compiled
// for that file's instruction set; Lanes<SimdPath::Avx2> only works between
// VEXA_AVX2_BEGIN and VEXA_AVX2_END.
#pragma once

#if defined(__SSE2__)

#include "jpeg/simd_path.h"

#include <immintrin.h>

#include <cstdint>

namespace vexa::jpeg {
namespace {

// The register of a path (a vector type passed as a template argument
// would lose its attributes).
template <SimdPath Path>
struct LaneRegister;
template <>
struct LaneRegister<SimdPath::Sse2> {
    using R = __m128i;
};
template <>
struct LaneRegister<SimdPath::Avx2> {
    using R = __m256i;
};

template <SimdPath Path>
struct Lanes {
    static constexpr bool kWide = Path == SimdPath::Avx2;
    using R = typename LaneRegister<Path>::R;

#define VEXA_LANES(sse2, avx2)        \
    if constexpr (kWide) return avx2; \
    else return sse2
    static R Lo16(R a, R b) { VEXA_LANES(_mm_unpacklo_epi16(a, b), _mm256_unpacklo_epi16(a, b)); }
    static R Hi16(R a, R b) { VEXA_LANES(_mm_unpackhi_epi16(a, b), _mm256_unpackhi_epi16(a, b)); }
    static R Lo32(R a, R b) { VEXA_LANES(_mm_unpacklo_epi32(a, b), _mm256_unpacklo_epi32(a, b)); }
    static R Hi32(R a, R b) { VEXA_LANES(_mm_unpackhi_epi32(a, b), _mm256_unpackhi_epi32(a, b)); }
    static R Lo64(R a, R b) { VEXA_LANES(_mm_unpacklo_epi64(a, b), _mm256_unpacklo_epi64(a, b)); }
    static R Hi64(R a, R b) { VEXA_LANES(_mm_unpackhi_epi64(a, b), _mm256_unpackhi_epi64(a, b)); }
    // Pairs of 16-bit products summed into 32 bits.
    static R Madd(R a, R b) { VEXA_LANES(_mm_madd_epi16(a, b), _mm256_madd_epi16(a, b)); }
    static R Add32(R a, R b) { VEXA_LANES(_mm_add_epi32(a, b), _mm256_add_epi32(a, b)); }
    static R Sub32(R a, R b) { VEXA_LANES(_mm_sub_epi32(a, b), _mm256_sub_epi32(a, b)); }
    template <int N>
    static R Sar32(R v) { VEXA_LANES(_mm_srai_epi32(v, N), _mm256_srai_epi32(v, N)); }
    template <int N>
    static R Shl32(R v) { VEXA_LANES(_mm_slli_epi32(v, N), _mm256_slli_epi32(v, N)); }
    // The 32-bit lanes of a, then of b, saturated to 16 bits.
    static R Pack32(R a, R b) { VEXA_LANES(_mm_packs_epi32(a, b), _mm256_packs_epi32(a, b)); }
    static R Set32(std::int32_t v) { VEXA_LANES(_mm_set1_epi32(v), _mm256_set1_epi32(v)); }
    static R Set16(std::int16_t v) { VEXA_LANES(_mm_set1_epi16(v), _mm256_set1_epi16(v)); }
    static R Zero() { VEXA_LANES(_mm_setzero_si128(), _mm256_setzero_si256()); }
    static R Max16(R a, R b) { VEXA_LANES(_mm_max_epi16(a, b), _mm256_max_epi16(a, b)); }
    static R Min16(R a, R b) { VEXA_LANES(_mm_min_epi16(a, b), _mm256_min_epi16(a, b)); }
    static R Greater16(R a, R b) { VEXA_LANES(_mm_cmpgt_epi16(a, b), _mm256_cmpgt_epi16(a, b)); }
    static R Or(R a, R b) { VEXA_LANES(_mm_or_si128(a, b), _mm256_or_si256(a, b)); }
    // Whether every lane of a comparison's result is false.
    static bool None16(R v) { VEXA_LANES(_mm_movemask_epi8(v) == 0, _mm256_testz_si256(v, v) != 0); }
#undef VEXA_LANES

    // One of the two unpacks: the low halves' lanes (half 0) or the high ones'.
    static R Mix16(int half, R a, R b) { return half == 0 ? Lo16(a, b) : Hi16(a, b); }
};

}  // namespace
}  // namespace vexa::jpeg

#endif
