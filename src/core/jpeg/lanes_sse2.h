// SSE2 operations on 128-bit vectors of 16- and 32-bit lanes, named for the
// vector steps that are written once for SSE2 and AVX2 (see lanes_avx2.h).
#pragma once

#if defined(__SSE2__)

#include <emmintrin.h>

#include <cstdint>

namespace vexa::jpeg {

struct Sse2Lanes {
    using R = __m128i;

    static R Lo16(R a, R b) { return _mm_unpacklo_epi16(a, b); }
    static R Hi16(R a, R b) { return _mm_unpackhi_epi16(a, b); }
    static R Mix16(int half, R a, R b) { return half == 0 ? Lo16(a, b) : Hi16(a, b); }
    static R Lo32(R a, R b) { return _mm_unpacklo_epi32(a, b); }
    static R Hi32(R a, R b) { return _mm_unpackhi_epi32(a, b); }
    static R Lo64(R a, R b) { return _mm_unpacklo_epi64(a, b); }
    static R Hi64(R a, R b) { return _mm_unpackhi_epi64(a, b); }
    // Pairs of 16-bit products summed into 32 bits.
    static R Madd(R a, R b) { return _mm_madd_epi16(a, b); }
    static R Add32(R a, R b) { return _mm_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm_sub_epi32(a, b); }
    template <int N>
    static R Sar32(R v) { return _mm_srai_epi32(v, N); }
    template <int N>
    static R Shl32(R v) { return _mm_slli_epi32(v, N); }
    // 32-bit lanes of a, then of b, saturated to 16 bits.
    static R Pack32(R a, R b) { return _mm_packs_epi32(a, b); }
    static R Set32(std::int32_t v) { return _mm_set1_epi32(v); }
    static R Set16(int v) { return _mm_set1_epi16(static_cast<std::int16_t>(v)); }
    static R Max16(R a, R b) { return _mm_max_epi16(a, b); }
    static R Min16(R a, R b) { return _mm_min_epi16(a, b); }
    static R Greater16(R a, R b) { return _mm_cmpgt_epi16(a, b); }
    static R Or(R a, R b) { return _mm_or_si128(a, b); }
    // Whether every lane of a comparison's result is false.
    static bool None16(R v) { return _mm_movemask_epi8(v) == 0; }
};

}  // namespace vexa::jpeg

#endif
