#include "view/core/picture_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vexa {
namespace {

std::vector<std::uint8_t> Header(std::uint32_t size, std::int32_t width, std::int32_t height,
                                 std::uint16_t bitCount, std::uint32_t clrUsed) {
    std::vector<std::uint8_t> h(40, 0);
    auto put = [&h](std::size_t at, std::uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) h[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
    };
    put(0, size, 4);
    put(4, static_cast<std::uint32_t>(width), 4);
    put(8, static_cast<std::uint32_t>(height), 4);
    put(12, 1, 2);
    put(14, bitCount, 2);
    put(32, clrUsed, 4);
    return h;
}

TEST(DibHeader, ColourCountFromClrUsedOrBitCount) {
    struct Case {
        const char* name;
        std::uint16_t bitCount;
        std::uint32_t clrUsed;
        std::uint16_t want;
    };
    const Case cases[] = {
        {"1 bit", 1, 0, 2},
        {"4 bits", 4, 0, 16},
        {"8 bits", 8, 0, 256},
        {"8 bits with 16 used", 8, 16, 16},
        {"16 bits", 16, 0, 0},
        {"24 bits (decoded pictures)", 24, 0, 0},
        {"32 bits", 32, 0, 0},
        {"24 bits with a table", 24, 3, 3},
        {"only the low 16 bits of biClrUsed count", 8, 0x00010000, 256},
        {"a count above 256 is not capped", 8, 0x00010005, 5},
        {"largest count", 1, 0xFFFF, 0xFFFF},
    };
    for (const Case& c : cases) {
        const auto bytes = Header(40, 4, 4, c.bitCount, c.clrUsed);
        EXPECT_EQ(ColorCount(ReadDibHeaderFields(bytes.data(), bytes.size())), c.want) << c.name;
    }
}

TEST(DibHeader, FieldsPastAShortBlockReadAsZero) {
    const auto full = Header(40, 0x01020304, -7, 8, 16);
    const TDibHeaderFields whole = ReadDibHeaderFields(full.data(), full.size());
    EXPECT_EQ(whole.Width, 0x01020304);
    EXPECT_EQ(whole.Height, -7);
    EXPECT_EQ(whole.BitCount, 8);
    EXPECT_EQ(whole.ClrUsed, 16u);

    // Six bytes: biSize and the low half of biWidth only.
    const TDibHeaderFields cut = ReadDibHeaderFields(full.data(), 6);
    EXPECT_EQ(cut.Size, 40u);
    EXPECT_EQ(cut.Width, 0x0304);
    EXPECT_EQ(cut.Height, 0);
    EXPECT_EQ(cut.ClrUsed, 0u);
    EXPECT_EQ(ReadDibHeaderFields(nullptr, 40).Width, 0);
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
        EXPECT_EQ(OffscreenSizeAllowed(c.width, c.height), c.want) << c.name;
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
