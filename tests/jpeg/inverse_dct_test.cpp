// The transform with its shortcuts agrees with the term-by-term one.
#include "jpeg/inverse_dct.h"
#include "jpeg/simd_path.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace vexa::testing {
namespace {

using Block = std::array<std::int16_t, 64>;

Block Reference(Block b) {
    jpeg::InverseDct8x8Reference(b.data());
    return b;
}

// The fastest one-block version the build has.
Block Fast(Block b) {
#if defined(__SSE2__)
    jpeg::InverseDct8x8Sse2(b.data());
#else
    jpeg::InverseDct8x8Scalar(b.data());
#endif
    return b;
}

// Hand-worked values: a DC of 8v gives 64 samples of v (floor of 32 x0 >> 8
// after the row pass), and 1024 in position 1 wraps its 32v term to -32768,
// so 44 x 1024 becomes -20480: row 0 gives -640 at column 0, and the column
// pass -640 * 32 >> 8 = -80 down the whole column; 1023 does not wrap:
// 44 * 1023 >> 5 = 1406, then 1406 * 32 >> 8 = 175.
TEST(InverseDctTest, KnownBlocks) {
    struct Case {
        int index, value;
        int at, want;  // sample index and its value
    };
    const Case cases[] = {{0, 1024, 0, 128}, {0, 1024, 63, 128}, {0, -8, 27, -1}, {0, -1, 5, -1}, {0, 7, 9, 0},
                          {1, 1024, 0, -80}, {1, 1024, 56, -80}, {1, 1023, 0, 175}};
    for (const Case& c : cases) {
        Block b{};
        b[c.index] = static_cast<std::int16_t>(c.value);
        EXPECT_EQ(Reference(b)[c.at], c.want) << c.index << "=" << c.value;
        EXPECT_EQ(Fast(b)[c.at], c.want) << c.index << "=" << c.value;
    }
}

// Random blocks over the ranges where the shortcuts switch: few or many
// coefficients, values below 1024 (no wrapping) and up to the full 16 bits,
// and coefficients 0 and 4 of each row alone up to and past 8192. Every
// path (plain, SSE2, AVX2 on pairs of blocks) agrees with the reference.
TEST(InverseDctTest, FastAgreesWithReference) {
    std::mt19937 rng(1234);
    [[maybe_unused]] const bool avx2 = jpeg::SimdPathAvailable(jpeg::SimdPath::Avx2);
    const int limits[] = {8, 200, 1023, 1024, 1100, 4096, 32767};
    for (int limit : limits)
        for (int firstLimit : {0, 8191, 8192, 32767})
            for (int density : {1, 4, 16, 64})
                for (int round = 0; round < 100; ++round) {
                    std::uniform_int_distribution<int> value(-limit - 1, limit);
                    std::uniform_int_distribution<int> first(-firstLimit - 1, firstLimit);
                    std::uniform_int_distribution<int> place(0, 63);
                    std::array<Block, 2> b{};
                    for (Block& one : b) {
                        for (int i = 0; i < density; ++i) one[place(rng)] = static_cast<std::int16_t>(value(rng));
                        if (firstLimit > 0)
                            for (int row = 0; row < 8; ++row)
                                for (int col : {0, 4})
                                    if (rng() % 2 == 0) one[8 * row + col] = static_cast<std::int16_t>(first(rng));
                    }
                    SCOPED_TRACE(::testing::Message() << "limit " << limit << " first " << firstLimit << " density "
                                                      << density);
                    const Block want0 = Reference(b[0]), want1 = Reference(b[1]);
                    ASSERT_EQ(Fast(b[0]), want0);
                    Block scalar = b[0];
                    jpeg::InverseDct8x8Scalar(scalar.data());
                    ASSERT_EQ(scalar, want0);
#if defined(__x86_64__)
                    if (avx2) {
                        Block one = b[0], two = b[1];
                        jpeg::InverseDct8x8PairAvx2(one.data(), two.data());
                        ASSERT_EQ(one, want0);
                        ASSERT_EQ(two, want1);
                        // The same blocks cut down to rows and columns 0-3.
                        std::array<Block, 2> few{};
                        for (int i = 0; i < 64; ++i)
                            if (i % 8 < 4 && i < 32) few[0][i] = b[0][i], few[1][i] = b[1][i];
                        one = few[0];
                        two = few[1];
                        jpeg::InverseDct8x8PairFirstFourAvx2(one.data(), two.data());
                        ASSERT_EQ(one, Reference(few[0]));
                        ASSERT_EQ(two, Reference(few[1]));
                        // And to coefficients 0, 1 and 8.
                        Block three{};
                        for (int i : {0, 1, 8}) three[i] = b[0][i];
                        one = three;
                        jpeg::InverseDct8x8FirstThreeAvx2(one.data());
                        ASSERT_EQ(one, Reference(three));
                    }
#endif
                }
}

}  // namespace
}  // namespace vexa::testing
