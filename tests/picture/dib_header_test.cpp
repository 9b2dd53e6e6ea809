#include "picture/dib_header.h"

#include "picture_builders.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace vexa {
namespace {

std::vector<std::uint8_t> Header(std::uint32_t size, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                 std::uint32_t clrUsed) {
    return test::DibHeader({width, height, bitCount, 0, clrUsed, size});
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

TEST(DibHeader, CompressionIsRead) {
    const auto bytes = test::DibHeader({4, 4, 8, kBiRle8});
    EXPECT_EQ(ReadDibHeaderFields(bytes.data(), bytes.size()).Compression, kBiRle8);
}

TEST(DibHeader, WrittenHeaderIsTheOneABuilderWritesByHand) {
    struct Case {
        const char* name;
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t clrUsed;
        std::uint32_t wantSizeImage;  // stride x rows
    };
    const Case cases[] = {
        {"24 bits, rows padded to 4 bytes", 5, 3, 24, 0, 16 * 3},
        {"24 bits, rows already whole", 4, 2, 24, 0, 12 * 2},
        {"8 bits with a table", 3, 2, 8, 7, 4 * 2},
        {"1 bit", 33, 1, 1, 2, 8},
        {"top-down rows count by magnitude", 2, -5, 24, 0, 8 * 5},
        {"decoder-sized picture", 4096, 4096, 24, 0, 4096u * 3 * 4096},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> want = test::DibHeader({c.width, c.height, c.bits, kBiRgb, c.clrUsed});
        test::PutLe(want, 20, c.wantSizeImage, 4);
        std::vector<std::uint8_t> have(kDibHeaderBytes, 0xAA);  // every byte must be written
        WriteDibHeader(have.data(), c.width, c.height, c.bits, c.clrUsed);
        EXPECT_EQ(have, want) << c.name;

        const TDibHeaderFields read = ReadDibHeaderFields(have.data(), have.size());
        EXPECT_EQ(read.Size, 40u) << c.name;
        EXPECT_EQ(read.Width, c.width) << c.name;
        EXPECT_EQ(read.Height, c.height) << c.name;
        EXPECT_EQ(read.BitCount, c.bits) << c.name;
        EXPECT_EQ(read.ClrUsed, c.clrUsed) << c.name;
    }
}

TEST(DibHeader, StrideRoundsRowsUpToFourBytesWithoutOverflow) {
    struct Case {
        std::uint64_t width;
        unsigned bits;
        std::uint64_t want;
    };
    const Case cases[] = {
        {0, 24, 0},
        {1, 1, 4},
        {32, 1, 4},
        {33, 1, 8},
        {1, 4, 4},
        {9, 4, 8},
        {5, 8, 8},
        {3, 16, 8},
        {1, 24, 4},
        {4, 24, 12},
        {5, 24, 16},
        {3, 32, 12},
        {INT32_MAX, 32, std::uint64_t{INT32_MAX} * 4},
    };
    for (const Case& c : cases) EXPECT_EQ(DibStride(c.width, c.bits), c.want) << c.width << " x " << c.bits;
}

TEST(PictureLimit, OneLimitOf4096By4096WhateverTheShape) {
    struct Case {
        std::int64_t width, height;
        bool want;
    };
    const Case cases[] = {
        {4096, 4096, true},
        {4096, 4097, false},
        {1, 4096 * 4096, true},
        {1, 4096 * 4096 + 1, false},
        {0, INT32_MAX, true},
        {-1, 1, false},
        {INT32_MAX + std::int64_t{1}, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureSizeAllowed(c.width, c.height), c.want) << c.width << " x " << c.height;
}

}  // namespace
}  // namespace vexa
