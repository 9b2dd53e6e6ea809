#include "jpeg/dib_writer.h"

#include "jpeg/decoder_state.h"

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vexa::jpeg {

bool CreateDibBlock(std::vector<std::uint8_t>& bitmap, std::uint16_t width, std::uint16_t height,
                    std::vector<std::uint8_t>* spare) {
    bitmap.clear();
    if (!PictureSizeAllowed(width, height)) return false;
    const std::int64_t stride = DibStride(width);
    const std::int64_t bytes = (std::int64_t{height} + 15) * stride + kDibHeaderBytes;
    if (spare != nullptr && spare->capacity() >= static_cast<std::size_t>(bytes)) {
        // Old contents stay where the picture's pixels go; the rest is zeroed.
        spare->resize(static_cast<std::size_t>(bytes));
        bitmap.swap(*spare);
        std::uint8_t* pixels = bitmap.data() + kDibHeaderBytes;
        const std::int64_t used = 3 * std::int64_t{width};
        if (used < stride)
            for (std::int64_t row = 0; row < height; ++row) std::memset(pixels + row * stride + used, 0, stride - used);
        std::memset(pixels + height * stride, 0, static_cast<std::size_t>(15 * stride));
    } else {
        try {
            bitmap.assign(static_cast<std::size_t>(bytes), 0);
        } catch (const std::bad_alloc&) {
            bitmap.clear();
            return false;
        }
    }
    WriteDibHeader(bitmap.data(), width, height, 24);  // positive height: rows bottom-up
    return true;
}

#if defined(__SSE2__)
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

}  // namespace
#endif

void WriteGrayMcuScalar(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const std::int16_t* s = samples + 8 * y;
        for (int x = 0; x < cols; ++x) {
            const int v = s[x];
            const auto b = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = b;
        }
    }
}

void WriteGrayMcu(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
#if defined(__SSE2__)
    if (cols == 8) {
        for (int y = 0; y < rows; ++y, dst -= stride) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 8 * y));
            const __m128i bytes = _mm_packus_epi16(v, v);  // clamps to 0..255
            StorePlanes8(dst, _mm_unpacklo_epi64(bytes, bytes), bytes);
        }
        return;
    }
#endif
    WriteGrayMcuScalar(dst, stride, samples, cols, rows);
}

namespace {

// One colour MCU; chroma column = x >> Hs, chroma row = y >> Vs.
#if defined(__SSE2__)

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

template <int Hs, int Vs>
void WriteWholeColor(std::uint8_t* dst, std::int32_t stride, const std::array<std::array<std::int16_t, 64>, 4>& luma,
                     const std::int16_t* cb, const std::int16_t* cr) {
    for (int y = 0; y < (8 << Vs); ++y, dst -= stride) {
        const int chromaRow = 8 * (y >> Vs);
        const __m128i cbRow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + chromaRow));
        const __m128i crRow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + chromaRow));
        for (int bx = 0; bx <= Hs; ++bx) {
            const __m128i yRow = _mm_loadu_si128(
                reinterpret_cast<const __m128i*>(luma[(y >> 3) * (1 + Hs) + bx].data() + 8 * (y & 7)));
            __m128i cbv = cbRow, crv = crRow;
            if (Hs == 1) {  // each chroma sample covers two pixels
                cbv = bx == 0 ? _mm_unpacklo_epi16(cbRow, cbRow) : _mm_unpackhi_epi16(cbRow, cbRow);
                crv = bx == 0 ? _mm_unpacklo_epi16(crRow, crRow) : _mm_unpackhi_epi16(crRow, crRow);
            }
            ConvertStore8(dst + 24 * bx, yRow, cbv, crv);
        }
    }
}

#endif

template <int Hs, int Vs, bool Simd>
void WriteColor(std::uint8_t* dst, std::int32_t stride, const std::array<std::array<std::int16_t, 64>, 4>& luma,
                const std::int16_t* cb, const std::int16_t* cr, int cols, int rows) {
#if defined(__SSE2__)
    if (Simd && cols == (8 << Hs) && rows == (8 << Vs)) {
        WriteWholeColor<Hs, Vs>(dst, stride, luma, cb, cr);
        return;
    }
#endif
    // The chroma terms of the conversion, once per chroma sample.
    std::int32_t blue[64], green[64], red[64];
    for (int i = 0; i < 64; ++i) {
        blue[i] = 24 * std::int32_t{cb[i]};
        green[i] = -9 * std::int32_t{cb[i]} - 12 * std::int32_t{cr[i]};
        red[i] = 20 * std::int32_t{cr[i]};
    }
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const int chromaRow = 8 * (y >> Vs);
        for (int x0 = 0; x0 < cols; x0 += 8) {
            const std::int16_t* yRow = luma[(y >> 3) * (1 + Hs) + (x0 >> 3)].data() + 8 * (y & 7);
            const int n = cols - x0 < 8 ? cols - x0 : 8;
            std::uint8_t* out = dst + 3 * x0;
            for (int x = 0; x < n; ++x) {
                const int c = chromaRow + ((x0 + x) >> Hs);
                const std::int32_t l = 16 * std::int32_t{yRow[x]};
                out[3 * x] = LimitSample(l + blue[c]);
                out[3 * x + 1] = LimitSample(l + green[c]);
                out[3 * x + 2] = LimitSample(l + red[c]);
            }
        }
    }
}

}  // namespace

void WriteColorMcu(int layout, std::uint8_t* dst, std::int32_t stride,
                   const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                   const std::int16_t* cr, int cols, int rows) {
    switch (layout) {
        case kLayout111: WriteColor<0, 0, true>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout211: WriteColor<1, 0, true>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout121: WriteColor<0, 1, true>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout221: WriteColor<1, 1, true>(dst, stride, luma, cb, cr, cols, rows); break;
        default: break;
    }
}

void WriteColorMcuScalar(int layout, std::uint8_t* dst, std::int32_t stride,
                         const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                         const std::int16_t* cr, int cols, int rows) {
    switch (layout) {
        case kLayout111: WriteColor<0, 0, false>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout211: WriteColor<1, 0, false>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout121: WriteColor<0, 1, false>(dst, stride, luma, cb, cr, cols, rows); break;
        case kLayout221: WriteColor<1, 1, false>(dst, stride, luma, cb, cr, cols, rows); break;
        default: break;
    }
}

}  // namespace vexa::jpeg
