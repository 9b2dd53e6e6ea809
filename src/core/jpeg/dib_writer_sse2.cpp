// The MCU writers with SSE2, for whole MCUs; clipped ones go to the plain
// writers.
#include "jpeg/dib_writer.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <cstring>

namespace vexa::jpeg {

namespace {

// Stores 8 pixels given as blue, green, red, 0 dwords (pixels 0-3 in lo,
// 4-7 in hi) as 24 bytes, writing nothing past the 24th.
inline void StoreDwords8(std::uint8_t* out, __m128i lo, __m128i hi) {
    alignas(16) std::uint32_t px[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(px), lo);
    _mm_store_si128(reinterpret_cast<__m128i*>(px + 4), hi);
    for (int i = 0; i < 7; ++i) std::memcpy(out + 3 * i, px + i, 4);  // the 4th byte is overwritten next
    std::memcpy(out + 21, px + 7, 3);
}

// Bytes b0..b7 and g0..g7 in bg, r0..r7 in r: 8 pixels as BGR0 dwords.
inline void StorePlanes8(std::uint8_t* out, __m128i bg, __m128i r) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs = _mm_unpacklo_epi8(bg, _mm_srli_si128(bg, 8));
    const __m128i r0 = _mm_unpacklo_epi8(r, zero);
    StoreDwords8(out, _mm_unpacklo_epi16(pairs, r0), _mm_unpackhi_epi16(pairs, r0));
}

inline __m128i Pair(int a, int b) { return _mm_set1_epi32(static_cast<std::int32_t>((b << 16) | (a & 0xFFFF))); }

// Eight pixels of one row: y holds their Y samples, cb and cr the chroma
// samples of each pixel. limit() is t >> 4 saturated to 0..255.
inline void ConvertStore8(std::uint8_t* out, __m128i y, __m128i cb, __m128i cr) {
    __m128i b[2], g[2], r[2];
    for (int half = 0; half < 2; ++half) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i l = _mm_srai_epi32(half == 0 ? _mm_unpacklo_epi16(zero, y) : _mm_unpackhi_epi16(zero, y), 12);
        const __m128i c = half == 0 ? _mm_unpacklo_epi16(cb, cr) : _mm_unpackhi_epi16(cb, cr);
        b[half] = _mm_srai_epi32(_mm_add_epi32(l, _mm_madd_epi16(c, Pair(24, 0))), 4);
        g[half] = _mm_srai_epi32(_mm_add_epi32(l, _mm_madd_epi16(c, Pair(-9, -12))), 4);
        r[half] = _mm_srai_epi32(_mm_add_epi32(l, _mm_madd_epi16(c, Pair(0, 20))), 4);
    }
    const __m128i b16 = _mm_packs_epi32(b[0], b[1]), g16 = _mm_packs_epi32(g[0], g[1]);
    const __m128i r16 = _mm_packs_epi32(r[0], r[1]);
    StorePlanes8(out, _mm_packus_epi16(b16, g16), _mm_packus_epi16(r16, r16));
}

}  // namespace

void WriteGrayMcuSse2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    if (cols != 8) {
        WriteGrayMcuScalar(dst, stride, samples, cols, rows);
        return;
    }
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 8 * y));
        const __m128i bytes = _mm_packus_epi16(v, v);  // clamps to 0..255
        StorePlanes8(dst, _mm_unpacklo_epi64(bytes, bytes), bytes);
    }
}

template <int Layout>
void WriteColorMcuSse2(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
    using Shape = McuShape<Layout>;
    if (cols != Shape::kWidth || rows != Shape::kHeight) {
        WriteColorMcuScalar<Layout>(dst, stride, samples, cols, rows);
        return;
    }
    for (int y = 0; y < Shape::kHeight; ++y, dst -= stride) {
        const int chromaRow = 8 * (y >> Shape::kVs);
        const __m128i cbRow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples.Cb.data() + chromaRow));
        const __m128i crRow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples.Cr.data() + chromaRow));
        for (int bx = 0; bx <= Shape::kHs; ++bx) {
            const __m128i yRow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                samples.Luma[(y >> 3) * (1 + Shape::kHs) + bx].data() + 8 * (y & 7)));
            __m128i cbv = cbRow, crv = crRow;
            if (Shape::kHs == 1) {  // each chroma sample covers two pixels
                cbv = bx == 0 ? _mm_unpacklo_epi16(cbRow, cbRow) : _mm_unpackhi_epi16(cbRow, cbRow);
                crv = bx == 0 ? _mm_unpacklo_epi16(crRow, crRow) : _mm_unpackhi_epi16(crRow, crRow);
            }
            ConvertStore8(dst + 24 * bx, yRow, cbv, crv);
        }
    }
}

template void WriteColorMcuSse2<kLayout111>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuSse2<kLayout211>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuSse2<kLayout121>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuSse2<kLayout221>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);

}  // namespace vexa::jpeg

#endif
