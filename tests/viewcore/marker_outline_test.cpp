#include "viewcore/marker_outline.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa {
namespace {

constexpr int kSide = 21;

char ShadeChar(int x, int y, int side = kSide) {
    switch (ConspicuousOutlineAt(x, y, side)) {
    case TOutlineShade::Black: return 'B';
    case TOutlineShade::White: return 'W';
    case TOutlineShade::None: break;
    }
    return '.';
}

TEST(ConspicuousOutline, IsATwoPixelBandOfShortBlackAndWhitePieces) {
    // Rows of the marker's square, top to bottom.
    struct Case {
        int y;
        std::string want;
    };
    const Case cases[] = {
        {0, "BBBWWWBBBWWWBBBWWWBBB"},
        {1, "BBBWWWBBBWWWBBBWWWBBB"},
        {2, "BB.................BB"},
        {3, "WW.................WW"},
        {10, "WW.................WW"},
        {12, "BB.................BB"},
        {18, "BB.................BB"},
        {19, "BBBWWWBBBWWWBBBWWWBBB"},
        {20, "BBBWWWBBBWWWBBBWWWBBB"},
    };
    for (const Case& c : cases) {
        std::string have;
        for (int x = 0; x < kSide; ++x) have += ShadeChar(x, c.y);
        EXPECT_EQ(have, c.want) << "row " << c.y;
    }
}

TEST(ConspicuousOutline, NothingOutsideTheSquare) {
    const int points[][2] = {{-1, 0}, {0, -1}, {kSide, 0}, {0, kSide}, {kSide, kSide}};
    for (const auto& p : points) EXPECT_EQ(ShadeChar(p[0], p[1]), '.') << p[0] << "," << p[1];
    EXPECT_EQ(ShadeChar(0, 0, 0), '.') << "an empty square";
}

}  // namespace
}  // namespace vexa
