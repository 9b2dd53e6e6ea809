// The inverse DCT in plain C++: the transform, its shortcuts for blocks with
// only a DC coefficient, and the term-by-term reference.
#include "jpeg/inverse_dct.h"

#include "jpeg/inverse_dct_steps.h"

#include <cstring>

namespace vexa::jpeg {

namespace {

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

void InverseDct8x8Scalar(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Pass<5>(block + 8 * row, 1);
    for (int col = 0; col < 8; ++col) Pass<8>(block + col, 8);
}

void InverseDct8x8DcOnly(std::int16_t* block) {
    // Row 0 becomes 32 x0 >> 5 = x0 everywhere, the other rows 0; each column
    // then gives 32 x0 >> 8.
    const auto v = static_cast<std::int16_t>((std::int32_t{block[0]} * 32) >> 8);
    for (int i = 0; i < 64; ++i) block[i] = v;
}

void InverseDct8x8DcOnlyToGray(const std::int16_t* block, std::uint8_t* dst, std::int32_t stride) {
    const int v = (std::int32_t{block[0]} * 32) >> 8;  // as InverseDct8x8DcOnly, within 16 bits
    std::uint8_t row[24];
    std::memset(row, v < 0 ? 0 : v > 255 ? 255 : v, sizeof row);
    for (int y = 0; y < 8; ++y, dst -= stride) std::memcpy(dst, row, sizeof row);
}

void InverseDct8x8Reference(std::int16_t* block) {
    for (int row = 0; row < 8; ++row) Transform<WrappingProducts, 5>(block + 8 * row, 1);
    ColumnsWrapping(block);
}

}  // namespace vexa::jpeg
