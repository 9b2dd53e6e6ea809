// AVX2 steps shared by the inverse DCT and the bitmap writers. Include
// between VEXA_AVX2_BEGIN and VEXA_AVX2_END (see simd_path.h); each file
// that does gets its own copy.
#pragma once

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

namespace vexa::jpeg {
namespace {

// Eight 16-bit values at lo in the low 128-bit half, eight at hi in the high.
[[gnu::always_inline]] inline __m256i Load2x8(const std::int16_t* lo, const std::int16_t* hi) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lo))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(hi)), 1);
}

// Grey pixels: the 8 bytes from byte 8 * Half of each 128-bit half, each
// written three times (blue, green, red) as 24 bytes at lo (from the low
// half) and hi (from the high half).
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

// Rows r (low half) and r + 1 (high half) of one block's samples as grey
// pixels at dst and dst - stride, each sample limited to 0..255.
[[gnu::always_inline]] inline void StoreGrayRowPair(std::uint8_t* dst, std::int32_t stride, __m256i rows) {
    StoreGray2x8<0>(dst, dst - stride, _mm256_packus_epi16(rows, rows));
}

}  // namespace
}  // namespace vexa::jpeg

#endif
