// The steps of the inverse DCT shared by its plain, SSE2 and AVX2 versions:
// the 1-D transform in plain C++, and the vector steps written once over
// the lane operations `V` of simd_lanes.h (Lanes<SimdPath::Sse2>: one block;
// Lanes<SimdPath::Avx2>: two blocks, one in each 128-bit half).
//
// Each file that includes this gets its own copy (internal linkage), compiled
// for that file's instruction set: inverse_dct_avx2.cpp includes it where
// AVX2 is enabled for everything it defines.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace vexa::jpeg {
namespace {

// v * 2^k formed by doubling in 16 bits, then widened with its sign.
inline std::int32_t Twice(std::int32_t v, int k) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v << k)); }

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

// The 1-D transform of the eight values p[0], p[step], ... in place.
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

// The column pass with wrapping products, for rows the vector row pass left.
inline void ColumnsWrapping(std::int16_t* block) {
    for (int col = 0; col < 8; ++col) Transform<WrappingProducts, 8>(block + col, 8);
}

// Eight rows of 8 lanes transposed: rows become columns.
template <class V>
[[gnu::always_inline]] inline void Transpose(typename V::R v[8]) {
    using R = typename V::R;
    const R a0 = V::Lo16(v[0], v[1]), a1 = V::Hi16(v[0], v[1]);
    const R a2 = V::Lo16(v[2], v[3]), a3 = V::Hi16(v[2], v[3]);
    const R a4 = V::Lo16(v[4], v[5]), a5 = V::Hi16(v[4], v[5]);
    const R a6 = V::Lo16(v[6], v[7]), a7 = V::Hi16(v[6], v[7]);
    const R b0 = V::Lo32(a0, a2), b1 = V::Hi32(a0, a2), b2 = V::Lo32(a1, a3), b3 = V::Hi32(a1, a3);
    const R b4 = V::Lo32(a4, a6), b5 = V::Hi32(a4, a6), b6 = V::Lo32(a5, a7), b7 = V::Hi32(a5, a7);
    v[0] = V::Lo64(b0, b4);
    v[1] = V::Hi64(b0, b4);
    v[2] = V::Lo64(b1, b5);
    v[3] = V::Hi64(b1, b5);
    v[4] = V::Lo64(b2, b6);
    v[5] = V::Hi64(b2, b6);
    v[6] = V::Lo64(b3, b7);
    v[7] = V::Hi64(b3, b7);
}

// 16-bit pairs (a, b) in every 32-bit lane, for multiply-adds.
template <class V>
[[gnu::always_inline]] inline typename V::R Pair(int a, int b) {
    return V::Set32(static_cast<std::int32_t>((static_cast<std::uint32_t>(b) << 16) | (a & 0xFFFF)));
}

// (e + o) >> Shift as a signed 16-bit value: its low 16 bits when Wrap,
// or the value itself where it is known to fit.
template <class V, int Shift, bool Wrap>
[[gnu::always_inline]] inline typename V::R Low16Shifted(typename V::R v) {
    if constexpr (Wrap) return V::template Sar32<16>(V::template Shl32<16 - Shift>(v));
    return V::template Sar32<Shift>(v);
}

// The 1-D transform over eight lanes at once with exact products: valid
// when x1, x2, x3, x5, x6, x7 lie in -1024..1023, where no multiple wraps.
template <class V, int Shift, bool Wrap>
[[gnu::always_inline]] inline void TransformLanes(typename V::R x[8]) {
    using R = typename V::R;
    R out[8][2];
    for (int half = 0; half < 2; ++half) {
        const R x04 = V::Mix16(half, x[0], x[4]), x26 = V::Mix16(half, x[2], x[6]);
        const R x13 = V::Mix16(half, x[1], x[3]), x57 = V::Mix16(half, x[5], x[7]);
        const R s0 = V::Madd(x04, Pair<V>(32, 32)), s1 = V::Madd(x04, Pair<V>(32, -32));
        const R t0 = V::Madd(x26, Pair<V>(42, 17)), t1 = V::Madd(x26, Pair<V>(17, -42));
        const R e0 = V::Add32(s0, t0), e3 = V::Sub32(s0, t0), e1 = V::Add32(s1, t1), e2 = V::Sub32(s1, t1);
        const R o0 = V::Add32(V::Madd(x13, Pair<V>(44, 38)), V::Madd(x57, Pair<V>(25, 9)));
        const R o1 = V::Add32(V::Madd(x13, Pair<V>(38, -9)), V::Madd(x57, Pair<V>(-44, -25)));
        const R o2 = V::Add32(V::Madd(x13, Pair<V>(25, -44)), V::Madd(x57, Pair<V>(9, 38)));
        const R o3 = V::Add32(V::Madd(x13, Pair<V>(9, -25)), V::Madd(x57, Pair<V>(38, -44)));
        out[0][half] = Low16Shifted<V, Shift, Wrap>(V::Add32(e0, o0));
        out[7][half] = Low16Shifted<V, Shift, Wrap>(V::Sub32(e0, o0));
        out[1][half] = Low16Shifted<V, Shift, Wrap>(V::Add32(e1, o1));
        out[6][half] = Low16Shifted<V, Shift, Wrap>(V::Sub32(e1, o1));
        out[2][half] = Low16Shifted<V, Shift, Wrap>(V::Add32(e2, o2));
        out[5][half] = Low16Shifted<V, Shift, Wrap>(V::Sub32(e2, o2));
        out[3][half] = Low16Shifted<V, Shift, Wrap>(V::Add32(e3, o3));
        out[4][half] = Low16Shifted<V, Shift, Wrap>(V::Sub32(e3, o3));
    }
    for (int i = 0; i < 8; ++i) x[i] = V::Pack32(out[i][0], out[i][1]);
}

// Whether every lane of top lies at or below hi and every lane of bottom
// at or above lo.
template <class V>
[[gnu::always_inline]] inline bool Within(typename V::R top, typename V::R bottom, int lo, int hi) {
    return V::None16(V::Or(V::Greater16(top, V::Set16(hi)), V::Greater16(V::Set16(lo), bottom)));
}

// Whether every lane of x[1], x[2], x[3], x[5], x[6], x[7] (x[4] apart,
// which never wraps) lies in -1024..1023.
template <class V>
[[gnu::always_inline]] inline bool LanesSmall(const typename V::R x[8]) {
    typename V::R top = x[1], bottom = x[1];
    for (int i : {2, 3, 5, 6, 7}) {
        top = V::Max16(top, x[i]);
        bottom = V::Min16(bottom, x[i]);
    }
    return Within<V>(top, bottom, -1024, 1023);
}

// Whether every lane of x[0] and x[4] lies in -8192..8191: then with
// LanesSmall the row pass's sums stay within 32 * 16384 + 59 * 1024 +
// 116 * 1024, whose 32nd parts fit in 16 bits.
template <class V>
[[gnu::always_inline]] inline bool FirstPairSmall(const typename V::R x[8]) {
    return Within<V>(V::Max16(x[0], x[4]), V::Min16(x[0], x[4]), -8192, 8191);
}

// How far the vector passes took the rows in v.
enum class PassesDone {
    None,      // a coefficient too large for exact products: v is unchanged but transposed
    RowsOnly,  // the row pass is done, its results too large for the column pass: v holds its rows
    Both,      // v holds the samples, row by row
};

// The row pass (shift 5) and the column pass (shift 8) on the rows of
// coefficients in v, as far as exact products allow.
template <class V>
[[gnu::always_inline]] inline PassesDone TwoPasses(typename V::R v[8]) {
    // Row pass: columns 1, 2, 3, 5, 6, 7 of every row are its x1..x7.
    Transpose<V>(v);
    if (!LanesSmall<V>(v)) return PassesDone::None;
    if (FirstPairSmall<V>(v)) TransformLanes<V, 5, false>(v);
    else TransformLanes<V, 5, true>(v);
    Transpose<V>(v);
    if (!LanesSmall<V>(v)) return PassesDone::RowsOnly;
    // The column pass's sums stay within 32 * 65536 + 175 * 1024: their
    // 256th parts fit in 16 bits.
    TransformLanes<V, 8, false>(v);
    return PassesDone::Both;
}

}  // namespace
}  // namespace vexa::jpeg
