// AVX2 operations on 256-bit vectors, by the names of their SSE2 versions in
// lanes_sse2.h: the shuffles, packs and unpacks work within each 128-bit
// lane, so a step written over Sse2Lanes for one block works over Avx2Lanes
// on two blocks, one in each lane.
//
// Code between VEXA_AVX2_BEGIN and VEXA_AVX2_END is compiled for AVX2 and
// BMI2, whatever the build targets; it runs only where
// SimdPathAvailable(SimdPath::Avx2).
#pragma once

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

#if defined(__clang__)
#define VEXA_AVX2_BEGIN _Pragma("clang attribute push(__attribute__((target(\"avx2,bmi2\"))), apply_to = function)")
#define VEXA_AVX2_END _Pragma("clang attribute pop")
#else
#define VEXA_AVX2_BEGIN _Pragma("GCC push_options") _Pragma("GCC target(\"avx2,bmi2\")")
#define VEXA_AVX2_END _Pragma("GCC pop_options")
#endif

VEXA_AVX2_BEGIN

namespace vexa::jpeg {

struct Avx2Lanes {
    using R = __m256i;

    static R Lo16(R a, R b) { return _mm256_unpacklo_epi16(a, b); }
    static R Hi16(R a, R b) { return _mm256_unpackhi_epi16(a, b); }
    static R Mix16(int half, R a, R b) { return half == 0 ? Lo16(a, b) : Hi16(a, b); }
    static R Lo32(R a, R b) { return _mm256_unpacklo_epi32(a, b); }
    static R Hi32(R a, R b) { return _mm256_unpackhi_epi32(a, b); }
    static R Lo64(R a, R b) { return _mm256_unpacklo_epi64(a, b); }
    static R Hi64(R a, R b) { return _mm256_unpackhi_epi64(a, b); }
    static R Madd(R a, R b) { return _mm256_madd_epi16(a, b); }
    static R Add32(R a, R b) { return _mm256_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm256_sub_epi32(a, b); }
    template <int N>
    static R Sar32(R v) { return _mm256_srai_epi32(v, N); }
    template <int N>
    static R Shl32(R v) { return _mm256_slli_epi32(v, N); }
    static R Pack32(R a, R b) { return _mm256_packs_epi32(a, b); }
    static R Set32(std::int32_t v) { return _mm256_set1_epi32(v); }
    static R Set16(int v) { return _mm256_set1_epi16(static_cast<std::int16_t>(v)); }
    static R Max16(R a, R b) { return _mm256_max_epi16(a, b); }
    static R Min16(R a, R b) { return _mm256_min_epi16(a, b); }
    static R Greater16(R a, R b) { return _mm256_cmpgt_epi16(a, b); }
    static R Or(R a, R b) { return _mm256_or_si256(a, b); }
    static bool None16(R v) { return _mm256_testz_si256(v, v) != 0; }

    // Eight 16-bit values at lo in the low lane, eight at hi in the high one.
    static R Load2x8(const std::int16_t* lo, const std::int16_t* hi) {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lo))),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(hi)), 1);
    }
};

// Grey pixels: the 8 bytes from byte 8 * Half of each lane, each written
// three times (blue, green, red) as 24 bytes at lo (low lane) and hi (high).
template <int Half>
[[gnu::always_inline]] inline void StoreGray2x8(std::uint8_t* lo, std::uint8_t* hi, __m256i bytes) {
    constexpr char k = 8 * Half;
    const __m256i head = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(k, k, k, k + 1, k + 1, k + 1, k + 2, k + 2, k + 2, k + 3, k + 3, k + 3, k + 4, k + 4, k + 4, k + 5));
    const __m256i tail = _mm256_broadcastsi128_si256(
        _mm_setr_epi8(k + 5, k + 5, k + 6, k + 6, k + 6, k + 7, k + 7, k + 7, 0, 0, 0, 0, 0, 0, 0, 0));
    const __m256i h = _mm256_shuffle_epi8(bytes, head), t = _mm256_shuffle_epi8(bytes, tail);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lo), _mm256_castsi256_si128(h));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(lo + 16), _mm256_castsi256_si128(t));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(hi), _mm256_extracti128_si256(h, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(hi + 16), _mm256_extracti128_si256(t, 1));
}

// Rows r (low lane) and r + 1 (high lane) of one block's samples as grey
// pixels at dst and dst - stride, each sample limited to 0..255.
[[gnu::always_inline]] inline void StoreGrayRowPair(std::uint8_t* dst, std::int32_t stride, __m256i rows) {
    StoreGray2x8<0>(dst, dst - stride, _mm256_packus_epi16(rows, rows));
}

}  // namespace vexa::jpeg

VEXA_AVX2_END

#endif
