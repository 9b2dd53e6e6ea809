#include "picture/dib_pixels.h"

#include "../../fuzz/check_dib_pixels.h"
#include "fuzz_replay.h"
#include "picture_builders.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t K = 0xFF000000;  // black
constexpr std::uint32_t W = 0xFFFFFFFF;
constexpr std::uint32_t R = 0xFFFF0000;
constexpr std::uint32_t G = 0xFF00FF00;
constexpr std::uint32_t B = 0xFF0000FF;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) { vexa::test::PutLe(b, at, v, 4); }

// Header (padded to its biSize), colour table entries 0xRRGGBB, then `rest` as it stands.
Bytes Dib(const vexa::test::DibShape& h, const std::vector<std::uint32_t>& table, const Bytes& rest) {
    Bytes b = vexa::test::DibHeader(h, table);
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

Bytes Le32s(std::initializer_list<std::uint32_t> values) {
    Bytes b;
    for (std::uint32_t v : values)
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::uint32_t> kRgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// Decodes from an exactly sized heap copy, so that a read past the block is
// caught by the address sanitizer.
vexa::TDibDecode DecodeResult(const Bytes& dib, vexa::DibPixels& out) {
    auto copy = std::make_unique<std::uint8_t[]>(dib.size());
    std::copy(dib.begin(), dib.end(), copy.get());
    return vexa::DecodeDib(copy.get(), dib.size(), out);
}

bool Decode(const Bytes& dib, vexa::DibPixels& out) { return DecodeResult(dib, out) == vexa::TDibDecode::Drawn; }

struct DrawCase {
    const char* name;
    Bytes dib;
    int width, height;
    Pixels want;  // top row first
};

std::vector<DrawCase> DrawCases() {
    std::vector<DrawCase> cases;
    cases.push_back({"1-bit, default two colours, rows padded, bottom-up",
                     Dib({3, 2, 1}, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}), 3, 2,
                     {K, W, K, W, K, W}});
    cases.push_back({"4-bit, three colours used: index 3 and above is black",
                     Dib({4, 1, 4, 0, 3}, {0xFF0000, 0x00FF00, 0x0000FF}, {0x01, 0x23, 0, 0}), 4, 1, {R, G, B, K}});
    cases.push_back({"8-bit, 256-entry default table",
                     [] {
                         std::vector<std::uint32_t> table(256, 0x010203);
                         table[255] = 0xFFFFFF;
                         table[7] = 0x00FF00;
                         return Dib({2, 1, 8}, table, {7, 255, 0, 0});
                     }(),
                     2, 1, {G, W}});
    cases.push_back({"8-bit with a larger header: table after it",
                     Dib({2, 1, 8, 0, 2, 60}, {0xFF0000, 0x0000FF}, {1, 0, 0, 0}), 2, 1, {B, R}});
    cases.push_back({"16-bit 5-5-5", Dib({3, 1, 16}, {}, {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x42, 0, 0}), 3, 1,
                     {W, R, 0xFF848484}});
    cases.push_back({"16-bit 5-6-5 masks after a 40-byte header",
                     Dib({3, 1, 16, 3}, {}, Cat(Le32s({0xF800, 0x07E0, 0x001F}), {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0})),
                     3, 1, {R, G, B}});
    cases.push_back({"32-bit masks inside a 108-byte header",
                     [] {
                         Bytes d = Dib({2, 1, 32, 3, 0, 108}, {}, Le32s({0x0000FF, 0x00FFFF00}));
                         Put32(d, 40, 0x000000FF), Put32(d, 44, 0x0000FF00), Put32(d, 48, 0x00FF0000);
                         return d;
                     }(),
                     2, 1, {R, 0xFF00FFFF}});
    cases.push_back({"24-bit top-down",
                     Dib({1, 2, 24}, {}, {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0}), 1, 2, {R, B}});
    cases[cases.size() - 1].dib[8] = 0xFE, cases.back().dib[9] = cases.back().dib[10] = cases.back().dib[11] = 0xFF;
    cases.push_back({"32-bit plain", Dib({2, 1, 32}, {}, Le32s({0x00FF00, 0xFF000000 | 0x0000FF})), 2, 1, {G, B}});
    cases.push_back({"RLE8: run, end of line, delta, padded absolute run, clipped run, end",
                     Dib({4, 3, 8, 1, 4}, kRgbw,
                         {2, 1,                  // row 0: G G
                          0, 0,                  // next row
                          0, 2, 1, 0,            // delta right 1
                          0, 3, 3, 0, 9, 0,      // absolute W R (index 9: black), padded
                          0, 0, 9, 2,            // row 2: run of 9 clipped to 4
                          0, 1, 5, 1}),          // end of picture; the rest is never read
                     4, 3, {B, B, B, B, K, W, R, K, G, G, K, K}});
    cases.push_back({"RLE4: alternating run, absolute nibbles, delta out of the picture",
                     Dib({5, 2, 4, 2, 4}, kRgbw,
                         {5, 0x01,               // R G R G R
                          0, 0,
                          0, 3, 0x32, 0x10,      // W B G
                          0, 2, 0, 9}),          // delta past the last row ends drawing
                     5, 2, {K, K, K, K, K, R, G, R, G, R}});
    cases[cases.size() - 1].want = {W, B, G, K, K, R, G, R, G, R};
    cases.push_back({"RLE8 data that just stops", Dib({3, 1, 8, 1, 4}, kRgbw, {2, 3, 0}), 3, 1, {W, W, K}});
    return cases;
}

TEST(DecodeDibPixels, DrawsEveryStoredForm) {
    for (const DrawCase& c : DrawCases()) {
        vexa::DibPixels have;
        ASSERT_TRUE(Decode(c.dib, have)) << c.name;
        EXPECT_EQ(have.Width, c.width) << c.name;
        EXPECT_EQ(have.Height, c.height) << c.name;
        EXPECT_EQ(have.Argb, c.want) << c.name;
    }
}

// A block that holds less than its header claims is refused; a form that no
// drawing knows, or no pixels at all, has nothing to draw.
TEST(DecodeDibPixels, TellsTooShortBlocksFromBlocksWithNothingToDraw) {
    const Bytes ok24 = Dib({2, 2, 24}, {}, Bytes(16, 0));
    using R = vexa::TDibDecode;
    struct Case {
        const char* name;
        Bytes dib;
        R want;
    };
    auto with = [&](std::size_t at, std::uint32_t v) {
        Bytes d = ok24;
        Put32(d, at, v);
        return d;
    };
    const Case cases[] = {
        {"shorter than a header", Bytes(ok24.begin(), ok24.begin() + 39), R::TooShort},
        {"header size under 40", with(0, 12), R::Nothing},
        {"header size past the block", with(0, 100), R::TooShort},
        {"zero width", with(4, 0), R::Nothing},
        {"negative width", with(4, static_cast<std::uint32_t>(-2)), R::Nothing},
        {"zero height", with(8, 0), R::Nothing},
        {"most negative height", with(8, 0x80000000u), R::Nothing},
        {"two bits per pixel", Dib({2, 1, 2}, {0, 0, 0, 0}, Bytes(4, 0)), R::Nothing},
        {"embedded JPEG", Dib({2, 1, 24, 4}, {}, Bytes(8, 0)), R::Nothing},
        {"unknown compression", Dib({2, 1, 24, 99}, {}, Bytes(8, 0)), R::Nothing},
        {"RLE8 on four bits", Dib({2, 1, 4, 1}, std::vector<std::uint32_t>(16), {0, 1}), R::Nothing},
        {"bit fields on 24 bits", Dib({1, 1, 24, 3}, {}, Bytes(16, 0)), R::Nothing},
        {"bit fields without their masks", Dib({1, 1, 16, 3}, {}, Bytes(8, 0)), R::TooShort},
        {"one byte of the rows missing", Bytes(ok24.begin(), ok24.end() - 1), R::TooShort},
        {"colour table past the end", Dib({1, 1, 8, 0, 300}, std::vector<std::uint32_t>(256), Bytes(4, 0)),
         R::TooShort},
        {"more pixels than allowed", Dib({1 << 14, (1 << 12) + 1, 8, 1}, std::vector<std::uint32_t>(256), {0, 1}),
         R::Nothing},
        {"row bytes overflowing 32 bits", Dib({INT_MAX, 1, 32}, {}, Bytes(8, 0)), R::Nothing},
    };
    for (const Case& c : cases) {
        vexa::DibPixels have;
        have.Width = 9;
        EXPECT_EQ(DecodeResult(c.dib, have), c.want) << c.name;
        EXPECT_EQ(have.Width, 0) << c.name;
        EXPECT_TRUE(have.Argb.empty()) << c.name;
    }
}

// Any prefix of a valid block is drawn or refused, never read past its end.
TEST(DecodeDibPixels, EveryPrefixStaysInsideTheBlock) {
    for (const DrawCase& c : DrawCases()) {
        for (std::size_t n = 0; n < c.dib.size(); ++n) {
            vexa::DibPixels have;
            if (Decode(Bytes(c.dib.begin(), c.dib.begin() + static_cast<std::ptrdiff_t>(n)), have)) {
                EXPECT_EQ(have.Argb.size(), static_cast<std::size_t>(have.Width) * have.Height) << c.name;
            }
        }
    }
}

// The DIB fuzz target's files (seeds and kept findings) through its own checks.
class DibFuzzReplay : public ::testing::TestWithParam<vexatest::ReplayFile> {};

TEST_P(DibFuzzReplay, PassesTheTargetsChecks) {
    const Bytes bytes = vexatest::ReadReplayFile(GetParam().Path);
    const char* fault = vexa::fuzz::CheckDibPixels(bytes.data(), bytes.size());
    EXPECT_EQ(fault, nullptr) << fault << ": " << GetParam().Path;
}

INSTANTIATE_TEST_SUITE_P(Files, DibFuzzReplay,
                         ::testing::ValuesIn(vexatest::FuzzReplayFiles("dib", "fuzz_dib_pixels")),
                         vexatest::ReplayFileName());

}  // namespace
