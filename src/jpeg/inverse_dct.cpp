#include "jpeg/inverse_dct.h"

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

}  // namespace

void InverseDct8x8(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Pass<5>(block + 8 * row, 1);
    for (int col = 0; col < 8; ++col) Pass<8>(block + col, 8);
}

void InverseDct8x8Reference(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Transform<WrappingProducts, 5>(block + 8 * row, 1);
    for (int col = 0; col < 8; ++col) Transform<WrappingProducts, 8>(block + col, 8);
}

}  // namespace vexa::jpeg
