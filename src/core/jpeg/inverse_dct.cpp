#include "jpeg/inverse_dct.h"

#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vexa::jpeg {

namespace {

// v * 2^k formed by doubling in 16 bits, then widened with its sign.
inline std::int32_t Twice(std::int32_t v, int k) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(v << k));
}

// The constants as sums of wrapping multiples.
struct WrappingProducts {
    static std::int32_t P44(std::int32_t v) { return Twice(v, 5) + Twice(v, 3) + Twice(v, 2); }
    static std::int32_t P42(std::int32_t v) { return Twice(v, 5) + Twice(v, 3) + Twice(v, 1); }
    static std::int32_t P38(std::int32_t v) { return Twice(v, 5) + Twice(v, 2) + Twice(v, 1); }
    static std::int32_t P25(std::int32_t v) { return Twice(v, 4) + Twice(v, 3) + v; }
    static std::int32_t P17(std::int32_t v) { return Twice(v, 4) + v; }
    static std::int32_t P9(std::int32_t v) { return Twice(v, 3) + v; }
};

// Plain products: equal to the wrapping ones while 32v fits in 16 bits,
// that is for -1024 <= v < 1024.
struct ExactProducts {
    static std::int32_t P44(std::int32_t v) { return 44 * v; }
    static std::int32_t P42(std::int32_t v) { return 42 * v; }
    static std::int32_t P38(std::int32_t v) { return 38 * v; }
    static std::int32_t P25(std::int32_t v) { return 25 * v; }
    static std::int32_t P17(std::int32_t v) { return 17 * v; }
    static std::int32_t P9(std::int32_t v) { return 9 * v; }
};

template <class P, int Shift>
inline void Transform(std::int16_t* p, int step) {
    const std::int32_t x0 = p[0], x1 = p[step], x2 = p[2 * step], x3 = p[3 * step];
    const std::int32_t x4 = p[4 * step], x5 = p[5 * step], x6 = p[6 * step], x7 = p[7 * step];
    const std::int32_t s0 = (x0 + x4) * 32, s1 = (x0 - x4) * 32;
    const std::int32_t t0 = P::P42(x2) + P::P17(x6), t1 = P::P17(x2) - P::P42(x6);
    const std::int32_t e0 = s0 + t0, e1 = s1 + t1, e2 = s1 - t1, e3 = s0 - t0;
    const std::int32_t o0 = P::P44(x1) + P::P38(x3) + P::P25(x5) + P::P9(x7);
    const std::int32_t o1 = P::P38(x1) - P::P9(x3) - P::P44(x5) - P::P25(x7);
    const std::int32_t o2 = P::P25(x1) - P::P44(x3) + P::P9(x5) + P::P38(x7);
    const std::int32_t o3 = P::P9(x1) - P::P25(x3) + P::P38(x5) - P::P44(x7);
    p[0] = static_cast<std::int16_t>((e0 + o0) >> Shift);
    p[7 * step] = static_cast<std::int16_t>((e0 - o0) >> Shift);
    p[step] = static_cast<std::int16_t>((e1 + o1) >> Shift);
    p[6 * step] = static_cast<std::int16_t>((e1 - o1) >> Shift);
    p[2 * step] = static_cast<std::int16_t>((e2 + o2) >> Shift);
    p[5 * step] = static_cast<std::int16_t>((e2 - o2) >> Shift);
    p[3 * step] = static_cast<std::int16_t>((e3 + o3) >> Shift);
    p[4 * step] = static_cast<std::int16_t>((e3 - o3) >> Shift);
}

// Whether x1..x7 (x4 apart, which never wraps) are all zero, or all small
// enough that no multiple wraps.
inline bool OnlyFirst(const std::int16_t* p, int step) {
    return (p[step] | p[2 * step] | p[3 * step] | p[4 * step] | p[5 * step] | p[6 * step] | p[7 * step]) == 0;
}
inline bool Small(std::int16_t v) { return static_cast<std::uint16_t>(v + 1024) < 2048; }
inline bool NoWrap(const std::int16_t* p, int step) {
    return Small(p[step]) && Small(p[2 * step]) && Small(p[3 * step]) && Small(p[5 * step]) &&
           Small(p[6 * step]) && Small(p[7 * step]);
}

template <int Shift>
inline void Pass(std::int16_t* p, int step) {
    if (OnlyFirst(p, step)) {
        // Everything but S0 = S1 = 32 x0 is zero.
        const auto v = static_cast<std::int16_t>((std::int32_t{p[0]} * 32) >> Shift);
        for (int i = 0; i < 8; ++i) p[i * step] = v;
    } else if (NoWrap(p, step)) {
        Transform<ExactProducts, Shift>(p, step);
    } else {
        Transform<WrappingProducts, Shift>(p, step);
    }
}

#if defined(__SSE2__)

// Eight 8-lane vectors transposed: rows become columns.
inline void Transpose(__m128i v[8]) {
    const __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
    const __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
    const __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
    const __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    v[0] = _mm_unpacklo_epi64(b0, b4);
    v[1] = _mm_unpackhi_epi64(b0, b4);
    v[2] = _mm_unpacklo_epi64(b1, b5);
    v[3] = _mm_unpackhi_epi64(b1, b5);
    v[4] = _mm_unpacklo_epi64(b2, b6);
    v[5] = _mm_unpackhi_epi64(b2, b6);
    v[6] = _mm_unpacklo_epi64(b3, b7);
    v[7] = _mm_unpackhi_epi64(b3, b7);
}

inline __m128i Pair(int a, int b) { return _mm_set1_epi32(static_cast<std::int32_t>((b << 16) | (a & 0xFFFF))); }

// (e + o) >> Shift for four lanes, keeping the low 16 bits as signed.
template <int Shift>
inline __m128i Low16Shifted(__m128i v) {
    v = _mm_srai_epi32(v, Shift);
    return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);
}

// The 1-D transform over eight lanes at once, with exact products: valid
// when x1, x2, x3, x5, x6, x7 lie in -1024..1023, where no multiple wraps.
template <int Shift>
inline void TransformLanes(__m128i x[8]) {
    __m128i out[8][2];
    for (int half = 0; half < 2; ++half) {
        const auto mix = [half](__m128i a, __m128i b) {
            return half == 0 ? _mm_unpacklo_epi16(a, b) : _mm_unpackhi_epi16(a, b);
        };
        const __m128i x04 = mix(x[0], x[4]), x26 = mix(x[2], x[6]), x13 = mix(x[1], x[3]), x57 = mix(x[5], x[7]);
        const __m128i s0 = _mm_madd_epi16(x04, Pair(32, 32)), s1 = _mm_madd_epi16(x04, Pair(32, -32));
        const __m128i t0 = _mm_madd_epi16(x26, Pair(42, 17)), t1 = _mm_madd_epi16(x26, Pair(17, -42));
        const __m128i e0 = _mm_add_epi32(s0, t0), e3 = _mm_sub_epi32(s0, t0);
        const __m128i e1 = _mm_add_epi32(s1, t1), e2 = _mm_sub_epi32(s1, t1);
        const __m128i o0 = _mm_add_epi32(_mm_madd_epi16(x13, Pair(44, 38)), _mm_madd_epi16(x57, Pair(25, 9)));
        const __m128i o1 = _mm_add_epi32(_mm_madd_epi16(x13, Pair(38, -9)), _mm_madd_epi16(x57, Pair(-44, -25)));
        const __m128i o2 = _mm_add_epi32(_mm_madd_epi16(x13, Pair(25, -44)), _mm_madd_epi16(x57, Pair(9, 38)));
        const __m128i o3 = _mm_add_epi32(_mm_madd_epi16(x13, Pair(9, -25)), _mm_madd_epi16(x57, Pair(38, -44)));
        out[0][half] = Low16Shifted<Shift>(_mm_add_epi32(e0, o0));
        out[7][half] = Low16Shifted<Shift>(_mm_sub_epi32(e0, o0));
        out[1][half] = Low16Shifted<Shift>(_mm_add_epi32(e1, o1));
        out[6][half] = Low16Shifted<Shift>(_mm_sub_epi32(e1, o1));
        out[2][half] = Low16Shifted<Shift>(_mm_add_epi32(e2, o2));
        out[5][half] = Low16Shifted<Shift>(_mm_sub_epi32(e2, o2));
        out[3][half] = Low16Shifted<Shift>(_mm_add_epi32(e3, o3));
        out[4][half] = Low16Shifted<Shift>(_mm_sub_epi32(e3, o3));
    }
    for (int i = 0; i < 8; ++i) x[i] = _mm_packs_epi32(out[i][0], out[i][1]);
}

// Whether every lane of x[1], x[2], x[3], x[5], x[6], x[7] (x[4] apart, which
// never wraps) lies in -1024..1023.
inline bool LanesSmall(const __m128i x[8]) {
    __m128i hi = _mm_setzero_si128(), lo = _mm_setzero_si128();
    for (int i : {1, 2, 3, 5, 6, 7}) {
        hi = _mm_max_epi16(hi, x[i]);
        lo = _mm_min_epi16(lo, x[i]);
    }
    const __m128i bad = _mm_or_si128(_mm_cmpgt_epi16(hi, _mm_set1_epi16(1023)), _mm_cmplt_epi16(lo, _mm_set1_epi16(-1024)));
    return _mm_movemask_epi8(bad) == 0;
}

#endif

}  // namespace

void InverseDct8x8(std::int16_t* block) {
#if defined(__SSE2__)
    __m128i v[8];
    for (int i = 0; i < 8; ++i) v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * i));
    // Row pass: columns 1, 2, 3, 5, 6, 7 of every row are its x1..x7.
    Transpose(v);
    if (LanesSmall(v)) {
        TransformLanes<5>(v);
        Transpose(v);
        if (LanesSmall(v)) {
            TransformLanes<8>(v);
            for (int i = 0; i < 8; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 8 * i), v[i]);
            return;
        }
        for (int i = 0; i < 8; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 8 * i), v[i]);
        for (int col = 0; col < 8; ++col) Transform<WrappingProducts, 8>(block + col, 8);
        return;
    }
#endif
    InverseDct8x8Scalar(block);
}

void InverseDct8x8Scalar(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Pass<5>(block + 8 * row, 1);
    for (int col = 0; col < 8; ++col) Pass<8>(block + col, 8);
}

#if defined(__x86_64__)

namespace {

#define VEXA_AVX2 __attribute__((target("avx2"), always_inline)) inline

// The SSE2 steps above on two blocks at once, one in each 128-bit lane.
VEXA_AVX2 void Transpose2(__m256i v[8]) {
    const __m256i a0 = _mm256_unpacklo_epi16(v[0], v[1]), a1 = _mm256_unpackhi_epi16(v[0], v[1]);
    const __m256i a2 = _mm256_unpacklo_epi16(v[2], v[3]), a3 = _mm256_unpackhi_epi16(v[2], v[3]);
    const __m256i a4 = _mm256_unpacklo_epi16(v[4], v[5]), a5 = _mm256_unpackhi_epi16(v[4], v[5]);
    const __m256i a6 = _mm256_unpacklo_epi16(v[6], v[7]), a7 = _mm256_unpackhi_epi16(v[6], v[7]);
    const __m256i b0 = _mm256_unpacklo_epi32(a0, a2), b1 = _mm256_unpackhi_epi32(a0, a2);
    const __m256i b2 = _mm256_unpacklo_epi32(a1, a3), b3 = _mm256_unpackhi_epi32(a1, a3);
    const __m256i b4 = _mm256_unpacklo_epi32(a4, a6), b5 = _mm256_unpackhi_epi32(a4, a6);
    const __m256i b6 = _mm256_unpacklo_epi32(a5, a7), b7 = _mm256_unpackhi_epi32(a5, a7);
    v[0] = _mm256_unpacklo_epi64(b0, b4);
    v[1] = _mm256_unpackhi_epi64(b0, b4);
    v[2] = _mm256_unpacklo_epi64(b1, b5);
    v[3] = _mm256_unpackhi_epi64(b1, b5);
    v[4] = _mm256_unpacklo_epi64(b2, b6);
    v[5] = _mm256_unpackhi_epi64(b2, b6);
    v[6] = _mm256_unpacklo_epi64(b3, b7);
    v[7] = _mm256_unpackhi_epi64(b3, b7);
}

VEXA_AVX2 __m256i Pair2(int a, int b) { return _mm256_set1_epi32(static_cast<std::int32_t>((b << 16) | (a & 0xFFFF))); }

VEXA_AVX2 __m256i Mix2(int half, __m256i a, __m256i b) {
    return half == 0 ? _mm256_unpacklo_epi16(a, b) : _mm256_unpackhi_epi16(a, b);
}

// (e + o) >> Shift as a signed 16-bit value: its low 16 bits when Wrap,
// or the value itself where it is known to fit.
template <int Shift, bool Wrap>
VEXA_AVX2 __m256i Low16Shifted2(__m256i v) {
    if (Wrap) return _mm256_srai_epi32(_mm256_slli_epi32(v, 16 - Shift), 16);
    return _mm256_srai_epi32(v, Shift);
}

template <int Shift, bool Wrap>
VEXA_AVX2 void TransformLanes2(__m256i x[8]) {
    __m256i out[8][2];
    for (int half = 0; half < 2; ++half) {
        const __m256i x04 = Mix2(half, x[0], x[4]), x26 = Mix2(half, x[2], x[6]);
        const __m256i x13 = Mix2(half, x[1], x[3]), x57 = Mix2(half, x[5], x[7]);
        const __m256i s0 = _mm256_madd_epi16(x04, Pair2(32, 32)), s1 = _mm256_madd_epi16(x04, Pair2(32, -32));
        const __m256i t0 = _mm256_madd_epi16(x26, Pair2(42, 17)), t1 = _mm256_madd_epi16(x26, Pair2(17, -42));
        const __m256i e0 = _mm256_add_epi32(s0, t0), e3 = _mm256_sub_epi32(s0, t0);
        const __m256i e1 = _mm256_add_epi32(s1, t1), e2 = _mm256_sub_epi32(s1, t1);
        const __m256i o0 = _mm256_add_epi32(_mm256_madd_epi16(x13, Pair2(44, 38)), _mm256_madd_epi16(x57, Pair2(25, 9)));
        const __m256i o1 =
            _mm256_add_epi32(_mm256_madd_epi16(x13, Pair2(38, -9)), _mm256_madd_epi16(x57, Pair2(-44, -25)));
        const __m256i o2 = _mm256_add_epi32(_mm256_madd_epi16(x13, Pair2(25, -44)), _mm256_madd_epi16(x57, Pair2(9, 38)));
        const __m256i o3 =
            _mm256_add_epi32(_mm256_madd_epi16(x13, Pair2(9, -25)), _mm256_madd_epi16(x57, Pair2(38, -44)));
        out[0][half] = Low16Shifted2<Shift, Wrap>(_mm256_add_epi32(e0, o0));
        out[7][half] = Low16Shifted2<Shift, Wrap>(_mm256_sub_epi32(e0, o0));
        out[1][half] = Low16Shifted2<Shift, Wrap>(_mm256_add_epi32(e1, o1));
        out[6][half] = Low16Shifted2<Shift, Wrap>(_mm256_sub_epi32(e1, o1));
        out[2][half] = Low16Shifted2<Shift, Wrap>(_mm256_add_epi32(e2, o2));
        out[5][half] = Low16Shifted2<Shift, Wrap>(_mm256_sub_epi32(e2, o2));
        out[3][half] = Low16Shifted2<Shift, Wrap>(_mm256_add_epi32(e3, o3));
        out[4][half] = Low16Shifted2<Shift, Wrap>(_mm256_sub_epi32(e3, o3));
    }
    for (int i = 0; i < 8; ++i) x[i] = _mm256_packs_epi32(out[i][0], out[i][1]);
}

VEXA_AVX2 bool LanesSmall2(const __m256i x[8]) {
    __m256i hi = _mm256_setzero_si256(), lo = _mm256_setzero_si256();
    for (int i : {1, 2, 3, 5, 6, 7}) {
        hi = _mm256_max_epi16(hi, x[i]);
        lo = _mm256_min_epi16(lo, x[i]);
    }
    const __m256i bad = _mm256_or_si256(_mm256_cmpgt_epi16(hi, _mm256_set1_epi16(1023)),
                                        _mm256_cmpgt_epi16(_mm256_set1_epi16(-1024), lo));
    return _mm256_testz_si256(bad, bad) != 0;
}

// Whether every lane of x[0] and x[4] lies in -8192..8191: then with
// LanesSmall2 the row pass's sums stay within 32 * 16384 + 59 * 1024 +
// 116 * 1024, whose 32nd parts fit in 16 bits.
VEXA_AVX2 bool FirstPairSmall2(const __m256i x[8]) {
    const __m256i hi = _mm256_max_epi16(x[0], x[4]), lo = _mm256_min_epi16(x[0], x[4]);
    const __m256i bad = _mm256_or_si256(_mm256_cmpgt_epi16(hi, _mm256_set1_epi16(8191)),
                                        _mm256_cmpgt_epi16(_mm256_set1_epi16(-8192), lo));
    return _mm256_testz_si256(bad, bad) != 0;
}

// The transform with x[4] to x[7] zero, over the low four lanes of each
// block only when Low is set (the high four being zero, so is their result).
template <int Shift, bool Low>
VEXA_AVX2 void TransformFirstFour2(__m256i x[8]) {
    __m256i out[8][2];
    for (int half = 0; half < (Low ? 1 : 2); ++half) {
        const __m256i x02 = Mix2(half, x[0], x[2]), x13 = Mix2(half, x[1], x[3]);
        const __m256i e0 = _mm256_madd_epi16(x02, Pair2(32, 42)), e3 = _mm256_madd_epi16(x02, Pair2(32, -42));
        const __m256i e1 = _mm256_madd_epi16(x02, Pair2(32, 17)), e2 = _mm256_madd_epi16(x02, Pair2(32, -17));
        const __m256i o0 = _mm256_madd_epi16(x13, Pair2(44, 38)), o1 = _mm256_madd_epi16(x13, Pair2(38, -9));
        const __m256i o2 = _mm256_madd_epi16(x13, Pair2(25, -44)), o3 = _mm256_madd_epi16(x13, Pair2(9, -25));
        out[0][half] = _mm256_srai_epi32(_mm256_add_epi32(e0, o0), Shift);
        out[7][half] = _mm256_srai_epi32(_mm256_sub_epi32(e0, o0), Shift);
        out[1][half] = _mm256_srai_epi32(_mm256_add_epi32(e1, o1), Shift);
        out[6][half] = _mm256_srai_epi32(_mm256_sub_epi32(e1, o1), Shift);
        out[2][half] = _mm256_srai_epi32(_mm256_add_epi32(e2, o2), Shift);
        out[5][half] = _mm256_srai_epi32(_mm256_sub_epi32(e2, o2), Shift);
        out[3][half] = _mm256_srai_epi32(_mm256_add_epi32(e3, o3), Shift);
        out[4][half] = _mm256_srai_epi32(_mm256_sub_epi32(e3, o3), Shift);
    }
    for (int i = 0; i < 8; ++i) x[i] = _mm256_packs_epi32(out[i][0], Low ? _mm256_setzero_si256() : out[i][1]);
}

VEXA_AVX2 void Store2(std::int16_t* a, std::int16_t* b, const __m256i v[8]) {
    for (int i = 0; i < 8; ++i) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(a + 8 * i), _mm256_castsi256_si128(v[i]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(b + 8 * i), _mm256_extracti128_si256(v[i], 1));
    }
}

VEXA_AVX2 void Load2(const std::int16_t* a, const std::int16_t* b, __m256i v[8]) {
    for (int i = 0; i < 8; ++i)
        v[i] = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 8 * i))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 8 * i)), 1);
}

// Where Store2 puts the samples: back into the blocks, or into a 24-bit
// bitmap as grey pixels (limited to 0..255, each byte three times).
struct BlockSink {
    VEXA_AVX2 void Rows(std::int16_t* a, std::int16_t* b, const __m256i v[8]) const { Store2(a, b, v); }
    // After a transform that left its samples in the blocks.
    VEXA_AVX2 void FromBlocks(std::int16_t*, std::int16_t*) const {}
};

struct GraySink {
    std::uint8_t* A;
    std::uint8_t* B;
    std::int32_t Stride;

    VEXA_AVX2 void Rows(std::int16_t*, std::int16_t*, const __m256i v[8]) const {
        // Rows r and r + 1 of a block in each lane: its 16 bytes, each three
        // times, as the first 16 and the last 8 bytes of the two pixel rows.
        const __m256i head0 = _mm256_broadcastsi128_si256(_mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5));
        const __m256i tail0 = _mm256_broadcastsi128_si256(_mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0));
        const __m256i next = _mm256_set1_epi8(8);
        const __m256i head1 = _mm256_add_epi8(head0, next), tail1 = _mm256_add_epi8(tail0, next);
        std::uint8_t* a = A;
        std::uint8_t* b = B;
        for (int r = 0; r < 8; r += 2, a -= 2 * Stride, b -= 2 * Stride) {
            const __m256i bytes = _mm256_packus_epi16(v[r], v[r + 1]);
            const __m256i h0 = _mm256_shuffle_epi8(bytes, head0), t0 = _mm256_shuffle_epi8(bytes, tail0);
            const __m256i h1 = _mm256_shuffle_epi8(bytes, head1), t1 = _mm256_shuffle_epi8(bytes, tail1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(a), _mm256_castsi256_si128(h0));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(a + 16), _mm256_castsi256_si128(t0));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(a - Stride), _mm256_castsi256_si128(h1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(a - Stride + 16), _mm256_castsi256_si128(t1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(b), _mm256_extracti128_si256(h0, 1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(b + 16), _mm256_extracti128_si256(t0, 1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(b - Stride), _mm256_extracti128_si256(h1, 1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(b - Stride + 16), _mm256_extracti128_si256(t1, 1));
        }
    }
    VEXA_AVX2 void FromBlocks(std::int16_t* a, std::int16_t* b) const {
        __m256i v[8];
        Load2(a, b, v);
        Rows(a, b, v);
    }
};

#undef VEXA_AVX2

}  // namespace

__attribute__((target("avx2"))) void InverseDct8x8Avx2(std::int16_t* block) { InverseDct8x8(block); }

namespace {

template <class Sink>
__attribute__((target("avx2"))) void PairAvx2(std::int16_t* a, std::int16_t* b, const Sink& sink) {
    __m256i v[8];
    Load2(a, b, v);
    Transpose2(v);
    if (!LanesSmall2(v)) {
        InverseDct8x8(a);
        InverseDct8x8(b);
        sink.FromBlocks(a, b);
        return;
    }
    if (FirstPairSmall2(v)) TransformLanes2<5, false>(v);
    else TransformLanes2<5, true>(v);
    Transpose2(v);
    if (LanesSmall2(v)) {
        // The column pass's sums stay within 32 * 65536 + 175 * 1024: their
        // 256th parts fit in 16 bits.
        TransformLanes2<8, false>(v);
        sink.Rows(a, b, v);
        return;
    }
    Store2(a, b, v);
    for (int col = 0; col < 8; ++col) {
        Transform<WrappingProducts, 8>(a + col, 8);
        Transform<WrappingProducts, 8>(b + col, 8);
    }
    sink.FromBlocks(a, b);
}

template <class Sink>
__attribute__((target("avx2"))) void PairFirstFourAvx2(std::int16_t* a, std::int16_t* b, const Sink& sink) {
    __m256i v[8];
    for (int i = 0; i < 4; ++i)
        v[i] = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 8 * i))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 8 * i)), 1);
    for (int i = 4; i < 8; ++i) v[i] = _mm256_setzero_si256();
    Transpose2(v);  // columns 4 to 7 are zero, and rows 4 to 7 in every lane
    if (!LanesSmall2(v) || !FirstPairSmall2(v)) {
        PairAvx2(a, b, sink);
        return;
    }
    TransformFirstFour2<5, true>(v);
    Transpose2(v);  // rows 4 to 7 of the row pass's result are zero
    if (LanesSmall2(v)) {
        TransformFirstFour2<8, false>(v);
        sink.Rows(a, b, v);
        return;
    }
    Store2(a, b, v);
    for (int col = 0; col < 8; ++col) {
        Transform<WrappingProducts, 8>(a + col, 8);
        Transform<WrappingProducts, 8>(b + col, 8);
    }
    sink.FromBlocks(a, b);
}

}  // namespace

__attribute__((target("avx2"))) void InverseDct8x8PairAvx2(std::int16_t* a, std::int16_t* b) { PairAvx2(a, b, BlockSink{}); }

__attribute__((target("avx2"))) void InverseDct8x8PairFirstFourAvx2(std::int16_t* a, std::int16_t* b) {
    PairFirstFourAvx2(a, b, BlockSink{});
}

__attribute__((target("avx2"))) void InverseDct8x8PairToGrayAvx2(std::int16_t* a, std::int16_t* b, std::uint8_t* dstA,
                                                                 std::uint8_t* dstB, std::int32_t stride) {
    PairAvx2(a, b, GraySink{dstA, dstB, stride});
}

__attribute__((target("avx2"))) void InverseDct8x8PairFirstFourToGrayAvx2(std::int16_t* a, std::int16_t* b,
                                                                          std::uint8_t* dstA, std::uint8_t* dstB,
                                                                          std::int32_t stride) {
    PairFirstFourAvx2(a, b, GraySink{dstA, dstB, stride});
}

// Coefficients a = block[0], b = block[1], c = block[8] alone: the row pass
// leaves row 0 as (32 a + w b) >> 5 with w = 44, 38, 25, 9, -9, -25, -38, -44
// for columns 0 to 7, row 1 as c everywhere and the other rows 0; the column
// pass then gives (32 r + w c) >> 8 down each column, with w by row. With
// |a| < 8192 and |b|, |c| < 1024 no product wraps and every value fits in
// 16 bits, as in the exact passes above.
namespace {

// Rows r (low lane) and r + 1 (high lane) of one block as grey pixels at
// dst and dst - stride.
__attribute__((target("avx2"), always_inline)) inline void StoreGrayRowPair(std::uint8_t* dst, std::int32_t stride,
                                                                          __m256i rows) {
    const __m256i head = _mm256_broadcastsi128_si256(_mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5));
    const __m256i tail = _mm256_broadcastsi128_si256(_mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0));
    const __m256i bytes = _mm256_packus_epi16(rows, rows);
    const __m256i h = _mm256_shuffle_epi8(bytes, head), t = _mm256_shuffle_epi8(bytes, tail);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(h));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm256_castsi256_si128(t));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst - stride), _mm256_extracti128_si256(h, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst - stride + 16), _mm256_extracti128_si256(t, 1));
}

// Writes the block's samples to dst as grey pixels when dst is given.
template <bool Gray>
__attribute__((target("avx2"))) void FirstThreeAvx2(std::int16_t* block, std::uint8_t* dst, std::int32_t stride) {
    const int a = block[0], b = block[1], c = block[8];
    if (a < -8192 || a > 8191 || b < -1024 || b > 1023 || c < -1024 || c > 1023) {
        InverseDct8x8(block);
        if (Gray)
            for (int row = 0; row < 8; row += 2)
                StoreGrayRowPair(dst - row * stride, stride,
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 8 * row)));
        return;
    }
    const __m256i weights = _mm256_setr_epi32(44, 38, 25, 9, -9, -25, -38, -44);
    // Pairs (a, b) against (32, w): row 0, one column a lane.
    const __m256i ab = _mm256_set1_epi32(static_cast<std::int32_t>((static_cast<std::uint32_t>(b) << 16) | (a & 0xFFFF)));
    const __m256i w32 = _mm256_or_si256(_mm256_set1_epi32(32), _mm256_slli_epi32(weights, 16));
    const __m256i row0 = _mm256_srai_epi32(_mm256_madd_epi16(ab, w32), 5);
    // Pairs (row 0, c) for the column pass.
    const __m256i rc = _mm256_or_si256(_mm256_and_si256(row0, _mm256_set1_epi32(0xFFFF)),
                                       _mm256_set1_epi32(static_cast<std::int32_t>(static_cast<std::uint32_t>(c) << 16)));
    const int w[8] = {44, 38, 25, 9, -9, -25, -38, -44};
    for (int row = 0; row < 8; row += 2) {
        const __m256i upper = _mm256_srai_epi32(_mm256_madd_epi16(rc, Pair2(32, w[row])), 8);
        const __m256i lower = _mm256_srai_epi32(_mm256_madd_epi16(rc, Pair2(32, w[row + 1])), 8);
        // packs works within 128-bit lanes: reorder to row, then row + 1.
        const __m256i rows = _mm256_permute4x64_epi64(_mm256_packs_epi32(upper, lower), 0xD8);
        if (Gray) StoreGrayRowPair(dst - row * stride, stride, rows);
        else _mm256_storeu_si256(reinterpret_cast<__m256i*>(block + 8 * row), rows);
    }
}

}  // namespace

__attribute__((target("avx2"))) void InverseDct8x8FirstThreeAvx2(std::int16_t* block) {
    FirstThreeAvx2<false>(block, nullptr, 0);
}

__attribute__((target("avx2"))) void InverseDct8x8FirstThreeToGrayAvx2(std::int16_t* block, std::uint8_t* dst,
                                                                       std::int32_t stride) {
    FirstThreeAvx2<true>(block, dst, stride);
}

#endif

void InverseDct8x8DcOnlyToGray(const std::int16_t* block, std::uint8_t* dst, std::int32_t stride) {
    const int v = (std::int32_t{block[0]} * 32) >> 8;  // as InverseDct8x8DcOnly, within 16 bits
    std::uint8_t row[24];
    std::memset(row, v < 0 ? 0 : v > 255 ? 255 : v, sizeof row);
    for (int y = 0; y < 8; ++y, dst -= stride) std::memcpy(dst, row, sizeof row);
}

void InverseDct8x8DcOnly(std::int16_t* block) {
    // Row 0 becomes 32 x0 >> 5 = x0 everywhere, the other rows 0; each column
    // then gives 32 x0 >> 8.
    const auto v = static_cast<std::int16_t>((std::int32_t{block[0]} * 32) >> 8);
    for (int i = 0; i < 64; ++i) block[i] = v;
}

void InverseDct8x8Reference(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Transform<WrappingProducts, 5>(block + 8 * row, 1);
    for (int col = 0; col < 8; ++col) Transform<WrappingProducts, 8>(block + col, 8);
}

}  // namespace vexa::jpeg
