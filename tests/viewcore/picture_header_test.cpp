#include "viewcore/picture_header.h"

#include "picture_builders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vexa {
namespace {

std::vector<std::uint8_t> Header(std::uint32_t size, std::int32_t width, std::int32_t height,
                                 std::uint16_t bitCount, std::uint32_t clrUsed) {
    return test::DibHeader({width, height, bitCount, 0, clrUsed, size});
}

TEST(OffscreenSize, RefusesNegativeAndHugeSizesWithoutOverflow) {
    struct Case {
        const char* name;
        std::int64_t width, height;
        bool want;
    };
    const Case cases[] = {
        {"ordinary picture", 500, 350, true},
        {"empty picture", 0, 0, true},
        {"exactly the cap", 4096, 4096, true},
        {"one row past the cap", 4096, 4097, false},
        {"header claiming 60000 x 60000", 60000, 60000, false},
        {"largest pair size", 32767, 32767, false},
        {"negative width", -1, 10, false},
        {"negative height", 10, -1, false},
        {"a product that wraps 64 bits", INT64_MAX, 2, false},
        {"a very long row", INT32_MAX, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureSizeAllowed(c.width, c.height), c.want) << c.name;
}

TEST(OffscreenSize, TopDownBlocksUseTheMagnitudeOfTheirHeight) {
    for (const std::int32_t height : {-350, 350}) {
        const auto bytes = Header(40, 500, height, 24, 0);
        EXPECT_EQ(OffscreenHeightOf(ReadDibHeaderFields(bytes.data(), bytes.size())), 350);
    }
    const auto extreme = Header(40, 1, INT32_MIN, 24, 0);
    EXPECT_EQ(OffscreenHeightOf(ReadDibHeaderFields(extreme.data(), extreme.size())),
              std::int64_t{1} << 31);
}

}  // namespace
}  // namespace vexa
