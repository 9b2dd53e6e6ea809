// The transform with its shortcuts agrees with the term-by-term one.
#include "jpeg/inverse_dct.h"

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

Block Fast(Block b) {
    jpeg::InverseDct8x8(b.data());
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
// coefficients, values below 1024 (no wrapping) and up to the full 16 bits.
TEST(InverseDctTest, FastAgreesWithReference) {
    std::mt19937 rng(1234);
    const int limits[] = {8, 200, 1023, 1024, 1100, 4096, 32767};
    for (int limit : limits)
        for (int density : {1, 4, 16, 64})
            for (int round = 0; round < 400; ++round) {
                std::uniform_int_distribution<int> value(-limit - 1, limit);
                std::uniform_int_distribution<int> place(0, 63);
                Block b{};
                for (int i = 0; i < density; ++i) b[place(rng)] = static_cast<std::int16_t>(value(rng));
                ASSERT_EQ(Fast(b), Reference(b)) << "limit " << limit << " density " << density;
            }
}

}  // namespace
}  // namespace vexa::testing
