#include "picture/argb_to_dib.h"

#include "picture_builders.h"
#include "picture/dib_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vexa {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ArgbToDib, FewColoursMakeAnEightBitPictureWithATableInOrderOfAppearance) {
    // 3 x 2, top row first; alpha is ignored.
    const std::vector<std::uint32_t> argb = {0xFF00FF00, 0x00FF0000, 0xFF00FF00,  //
                                             0x800000FF, 0xFF00FF00, 0xFFFF0000};
    Bytes want = test::DibHeader({3, 2, 8, 0, 3}, {0x00FF00, 0xFF0000, 0x0000FF});
    test::PutLe(want, 20, 8, 4);  // biSizeImage: two rows of 4 bytes
    for (const Bytes& row : {Bytes{2, 0, 1, 0}, Bytes{0, 1, 0, 0}}) want.insert(want.end(), row.begin(), row.end());
    EXPECT_EQ(ArgbToDib(3, 2, argb.data()), want);
}

TEST(ArgbToDib, MoreThan256ColoursMakeATwentyFourBitPicture) {
    const int w = 17, h = 16;  // 272 colours
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < argb.size(); ++i) argb[i] = 0x10203 * static_cast<std::uint32_t>(i);
    Bytes want = test::Dib24(w, h, argb);
    test::PutLe(want, 20, 52 * h, 4);  // 17 x 3 = 51 bytes, padded to 52
    const Bytes have = ArgbToDib(w, h, argb.data());
    EXPECT_EQ(have, want);

    DibPixels back;
    ASSERT_TRUE(DecodeDibPixels(have.data(), have.size(), back));
    for (std::size_t i = 0; i < argb.size(); ++i) ASSERT_EQ(back.Argb[i], argb[i] | 0xFF000000u) << i;
}

TEST(ArgbToDib, ExactlyTwoHundredFiftySixColoursStillFitATable) {
    std::vector<std::uint32_t> argb(256);
    for (std::uint32_t i = 0; i < 256; ++i) argb[i] = 0xFF000000u | i << 8;
    const Bytes have = ArgbToDib(16, 16, argb.data());
    EXPECT_EQ(have[14], 8);
    EXPECT_EQ(have.size(), 40u + 4 * 256 + 16 * 16);

    DibPixels back;
    ASSERT_TRUE(DecodeDibPixels(have.data(), have.size(), back));
    EXPECT_EQ(back.Argb, argb);
}

}  // namespace
}  // namespace vexa
