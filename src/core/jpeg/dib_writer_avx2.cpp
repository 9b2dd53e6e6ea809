// The MCU writers with AVX2, for whole MCUs; clipped ones go to the plain
// writers. Compiled for AVX2 throughout; called only where the CPU has it.
//
// Samples out of the inverse DCT lie within -10240..10240 (the row pass
// leaves 16-bit values, and the column pass at most 32 * 65536 from the
// first two inputs plus 524288 from the products, shifted right by 8), so
// the conversion's terms and sums fit in 16 bits:
//   (16 y + 24 cb) >> 4        = y + cb + (cb >> 1)
//   (16 y + 20 cr) >> 4        = y + cr + (cr >> 2)
//   (16 y - 9 cb - 12 cr) >> 4 = y + ((-9 cb - 12 cr) >> 4)
// each then saturated to 0..255, as LimitSample does.
#include "jpeg/dib_writer.h"

#if defined(__x86_64__)

#include "jpeg/simd_path.h"

#include <immintrin.h>

#include <cstdint>

VEXA_AVX2_BEGIN

#include "jpeg/avx2_rows.h"

namespace vexa::jpeg {

namespace {

// Byte shuffles from [8 values of plane A, 8 of plane B] in each 128-bit lane
// into the first 16 and the last 8 bytes of eight 3-byte pixels A B C.
[[gnu::always_inline]] inline __m256i Lanes(__m128i m) { return _mm256_broadcastsi128_si256(m); }

// Eight pixels a lane: bg holds b0..b7 g0..g7, r holds r0..r7 in its low
// half; stores the lane's 24 bytes at out0 (low lane) and out1 (high lane).
[[gnu::always_inline]] inline void StoreBgr2x8(std::uint8_t* out0, std::uint8_t* out1, __m256i bg, __m256i r) {
    const __m256i bgHead = Lanes(_mm_setr_epi8(0, 8, -1, 1, 9, -1, 2, 10, -1, 3, 11, -1, 4, 12, -1, 5));
    const __m256i rHead = Lanes(_mm_setr_epi8(-1, -1, 0, -1, -1, 1, -1, -1, 2, -1, -1, 3, -1, -1, 4, -1));
    const __m256i bgTail = Lanes(_mm_setr_epi8(13, -1, 6, 14, -1, 7, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    const __m256i rTail = Lanes(_mm_setr_epi8(-1, 5, -1, -1, 6, -1, -1, 7, -1, -1, -1, -1, -1, -1, -1, -1));
    const __m256i head = _mm256_or_si256(_mm256_shuffle_epi8(bg, bgHead), _mm256_shuffle_epi8(r, rHead));
    const __m256i tail = _mm256_or_si256(_mm256_shuffle_epi8(bg, bgTail), _mm256_shuffle_epi8(r, rTail));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out0), _mm256_castsi256_si128(head));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out0 + 16), _mm256_castsi256_si128(tail));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out1), _mm256_extracti128_si256(head, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out1 + 16), _mm256_extracti128_si256(tail, 1));
}

// The three chroma terms of 64 chroma samples.
struct ChromaTerms {
    alignas(32) std::int16_t Blue[64];
    alignas(32) std::int16_t Green[64];
    alignas(32) std::int16_t Red[64];
};

[[gnu::always_inline]] inline void MakeTerms(ChromaTerms& t, const std::int16_t* cb, const std::int16_t* cr) {
    const __m256i greenPair = _mm256_set1_epi32(static_cast<std::int32_t>((-12 << 16) | (-9 & 0xFFFF)));
    for (int i = 0; i < 64; i += 16) {
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cb + i));
        const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cr + i));
        _mm256_store_si256(reinterpret_cast<__m256i*>(t.Blue + i), _mm256_add_epi16(b, _mm256_srai_epi16(b, 1)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(t.Red + i), _mm256_add_epi16(r, _mm256_srai_epi16(r, 2)));
        const __m256i lo = _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(b, r), greenPair), 4);
        const __m256i hi = _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(b, r), greenPair), 4);
        _mm256_store_si256(reinterpret_cast<__m256i*>(t.Green + i), _mm256_packs_epi32(lo, hi));
    }
}

// Eight chroma terms, each doubled: sixteen pixels' worth.
[[gnu::always_inline]] inline __m256i Doubled(const std::int16_t* p) {
    const __m256i wide = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    return _mm256_or_si256(wide, _mm256_slli_epi32(wide, 16));
}

// Sixteen pixels: y, blue, green, red terms for each, one lane of eight for
// out0 and one for out1.
[[gnu::always_inline]] inline void ConvertStore2x8(std::uint8_t* out0, std::uint8_t* out1, __m256i y, __m256i tb, __m256i tg, __m256i tr) {
    const __m256i b = _mm256_adds_epi16(y, tb), g = _mm256_adds_epi16(y, tg), r = _mm256_adds_epi16(y, tr);
    StoreBgr2x8(out0, out1, _mm256_packus_epi16(b, g), _mm256_packus_epi16(r, r));
}

}  // namespace

void WriteGrayMcuAvx2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    if (cols != 8 || rows != 8) {
        WriteGrayMcuScalar(dst, stride, samples, cols, rows);
        return;
    }
    for (int y = 0; y < 8; y += 2, dst -= 2 * stride)
        StoreGrayRowPair(dst, stride, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(samples + 8 * y)));
}

template <int Layout>
void WriteColorMcuAvx2(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
    using Shape = McuShape<Layout>;
    if (cols != Shape::kWidth || rows != Shape::kHeight) {
        WriteColorMcuScalar<Layout>(dst, stride, samples, cols, rows);
        return;
    }
    ChromaTerms t;
    MakeTerms(t, samples.Cb.data(), samples.Cr.data());
    if constexpr (Shape::kHs == 1) {
        // Rows of 16 pixels: the two blocks side by side, each chroma term
        // twice, each chroma row for 1 << Vs rows.
        for (int cy = 0; cy < 8; ++cy) {
            const __m256i tb = Doubled(t.Blue + 8 * cy), tg = Doubled(t.Green + 8 * cy), tr = Doubled(t.Red + 8 * cy);
            for (int v = 0; v < (1 << Shape::kVs); ++v, dst -= stride) {
                const int y = (cy << Shape::kVs) + v;
                const std::int16_t* left = samples.Luma[(y >> 3) * 2].data() + 8 * (y & 7);
                const std::int16_t* right = samples.Luma[(y >> 3) * 2 + 1].data() + 8 * (y & 7);
                ConvertStore2x8(dst, dst + 24, Load2x8(left, right), tb, tg, tr);
            }
        }
    } else {
        // Two rows of 8 pixels at a time.
        for (int y = 0; y < Shape::kHeight; y += 2, dst -= 2 * stride) {
            const std::int16_t* yRows = samples.Luma[y >> 3].data() + 8 * (y & 7);
            const __m256i yv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(yRows));
            const int c0 = 8 * (y >> Shape::kVs), c1 = 8 * ((y + 1) >> Shape::kVs);
            ConvertStore2x8(dst, dst - stride, yv, Load2x8(t.Blue + c0, t.Blue + c1),
                            Load2x8(t.Green + c0, t.Green + c1), Load2x8(t.Red + c0, t.Red + c1));
        }
    }
}

template void WriteColorMcuAvx2<kLayout111>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuAvx2<kLayout211>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuAvx2<kLayout121>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuAvx2<kLayout221>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);

}  // namespace vexa::jpeg

VEXA_AVX2_END

#endif
