// Hand-built streams whose pixels are known to the bit.
#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"
#include "jpeg/decoder_state.h"
#include "jpeg/dib_writer.h"
#include "jpeg/inverse_dct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vexa::testing {
namespace {

// The s-bit code of a value (T.81 F.1.2.1: negative values are one less).
std::uint32_t ValueBits(int v, int s) { return v >= 0 ? static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v + (1 << s) - 1); }

int SizeOf(int v) {
    int s = 0;
    for (int a = v < 0 ? -v : v; a != 0; a >>= 1) ++s;
    return s;
}

// Scan bits of one block for GrayStream's identity tables: DC difference,
// then AC symbols (run, value); an AC entry with run -1 is end of block.
struct Ac {
    int run, value;
    int size = -1;  // -1: the value's own size
};
// AC symbol -> (code, length); none: GrayStream's 8-bit identity codes.
using AcCodes = std::map<int, std::pair<std::uint32_t, int>>;

// The codes ITU-T T.81 annex C assigns to symbols given by code length.
AcCodes CanonicalCodes(const std::vector<std::vector<int>>& symbolsByLength) {
    AcCodes codes;
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < symbolsByLength.size(); ++i, code <<= 1)
        for (const int symbol : symbolsByLength[i]) codes[symbol] = {code++, static_cast<int>(i) + 1};
    return codes;
}

void PutBlock(StreamBuilder& b, int dcDiff, const std::vector<Ac>& ac, const AcCodes* codes = nullptr) {
    const auto put = [&](int symbol) {
        if (codes == nullptr) b.Bits(symbol, 8);
        else b.Bits(codes->at(symbol).first, codes->at(symbol).second);
    };
    const int s = SizeOf(dcDiff);
    b.Bits(s, 8).Bits(ValueBits(dcDiff, s), s);
    for (const Ac& a : ac) {
        if (a.run < 0) {
            put(0x00);
            continue;
        }
        const int size = a.size >= 0 ? a.size : SizeOf(a.value);
        put(a.run << 4 | size);
        b.Bits(ValueBits(a.value, size), size);
    }
}

std::vector<int> Flat(int q) { return std::vector<int>(64, q); }

// The grey bytes a coefficient block (natural order) must come out as.
std::array<std::uint8_t, 64> GrayOf(std::array<std::int16_t, 64> block) {
    jpeg::InverseDct8x8Reference(block.data());
    std::array<std::uint8_t, 64> out{};
    for (int i = 0; i < 64; ++i) out[i] = static_cast<std::uint8_t>(std::clamp<int>(block[i], 0, 255));
    return out;
}

void ExpectBlock(const Bytes& dib, int bx, const std::array<std::uint8_t, 64>& want) {
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = DibPixel(dib, 8 * bx + x, y);
            ASSERT_EQ(p[0], want[8 * y + x]) << "block " << bx << " pixel " << x << "," << y;
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
        }
}

// A block of DC difference d and at once end of block is 64 samples of
// (1024 / q + d) * q / 8: the predictor starts at 1024 / q.
TEST(ExactnessTest, DcOnlyBlocksFollowThePredictorStartValue) {
    struct Case {
        int q, dcDiff, want;
    };
    for (const Case c : {Case{16, 0, 128}, Case{16, 2, 132}, Case{3, 0, 127}, Case{5, 0, 127}, Case{1, 0, 128},
                         Case{16, -70, 0}, Case{16, 200, 255}, Case{0, 0, 0}}) {
        StreamBuilder b = GrayStream(8, 8, Flat(c.q));
        PutBlock(b, c.dcDiff, {{-1, 0}});
        const Decoded have = Decode(b.Flush().Eoi().Data());
        ASSERT_EQ(have.Result, DecodeOk);
        const std::uint8_t* p = DibPixel(have.Bitmap, 3, 5);
        EXPECT_EQ(p[0], c.want) << "q " << c.q << " diff " << c.dcDiff;
    }
}

// The predictor carries from block to block; restart markers set it back.
TEST(ExactnessTest, PredictorCarriesAndRestartsAtRstMarkers) {
    StreamBuilder b = GrayStream(24, 8, Flat(16));
    PutBlock(b, 8, {{-1, 0}});  // 64 + 8 = 72 -> 144
    b.Flush().Marker(0xD0);
    PutBlock(b, 4, {{-1, 0}});  // restarted: 64 + 4 = 68 -> 136
    PutBlock(b, 4, {{-1, 0}});  // 72 -> 144
    const Decoded have = Decode(b.Flush().Eoi().Data());
    ASSERT_EQ(have.Result, DecodeOk);
    EXPECT_EQ(DibPixel(have.Bitmap, 0, 0)[0], 144);
    EXPECT_EQ(DibPixel(have.Bitmap, 8, 0)[0], 136);
    EXPECT_EQ(DibPixel(have.Bitmap, 16, 0)[0], 144);
}

// One DQT segment with an 8-bit table 0 (DC 16) and a 16-bit table 1 (DC 4),
// the frame using table 1. Every DQT table restarts the predictor from table
// 0: 1024 / 16 = 64, so block 1 is 64 * 4 / 8 = 32. A restart marker takes
// the component's own table: 1024 / 4 = 256, so block 2 is 256 * 4 / 8 = 128.
TEST(ExactnessTest, PredictorStartsFromTable0AfterDqtAndOwnTableAfterRst) {
    std::vector<std::vector<int>> identity(8);
    for (int c = 0; c < 255; ++c) identity[7].push_back(c);
    Bytes dqt{0x00, 16};
    dqt.insert(dqt.end(), 63, 1);
    dqt.insert(dqt.end(), {0x11, 0, 4});
    for (int k = 1; k < 64; ++k) dqt.insert(dqt.end(), {0, 1});
    ASSERT_EQ(dqt.size(), 194u);
    StreamBuilder b;
    b.Soi().Segment(0xDB, dqt).Dht(0, 0, identity).Dht(1, 0, identity);
    b.Sof0(16, 8, {{1, 0x11, 1}}).Sos({{1, 0x00}});
    PutBlock(b, 0, {{-1, 0}});
    b.Flush().Marker(0xD3);
    PutBlock(b, 0, {{-1, 0}});
    const Decoded have = Decode(b.Flush().Eoi().Data());
    ASSERT_EQ(have.Result, DecodeOk);
    EXPECT_EQ(DibPixel(have.Bitmap, 4, 4)[0], 32);
    EXPECT_EQ(DibPixel(have.Bitmap, 12, 4)[0], 128);
}

// AC runs against the reference transform: ZRL, runs past coefficient 63,
// a run-size symbol with size 0 (r + 1 zeros), and coefficients that wrap
// in the transform. The block after each must decode from the right bit.
// Each case runs with 8-bit AC codes and with codes of 2 to 7 bits, where
// two symbols and their values often share one lookup: also when the first
// of them ends the block and the bits after it are the next block's DC.
TEST(ExactnessTest, AcRunsPlaceCoefficientsInZigZagOrder) {
    const std::vector<std::vector<int>> shortCodes = {
        {}, {0x00}, {0x01, 0xF0, 0x03}, {0x33, 0x40, 0x04}, {0xF2, 0xE1, 0xF1}, {0xF3, 0x06, 0xD1}, {0x0A, 0x2A}};
    const AcCodes shortAc = CanonicalCodes(shortCodes);
    struct Case {
        const char* name;
        std::vector<Ac> ac;
        std::vector<std::pair<int, int>> want;  // natural index, dequantised value (q = 2)
    };
    const std::vector<Case> cases = {
        {"zrl", {{15, 0, 0}, {0, 5}, {-1, 0}}, {{jpeg::kZigZag[17], 10}}},
        {"zrl_twice_then_run", {{15, 0, 0}, {15, 0, 0}, {3, -7}, {-1, 0}}, {{jpeg::kZigZag[36], -14}}},
        {"size_zero_run", {{4, 0, 0}, {0, 9}, {-1, 0}}, {{jpeg::kZigZag[6], 18}}},
        {"run_past_63", {{15, 0, 0}, {15, 0, 0}, {15, 0, 0}, {15, 3}}, {{63, 6}}},
        {"run_to_63_exactly", {{14, 1}, {15, 0, 0}, {15, 0, 0}, {15, -1}}, {{jpeg::kZigZag[15], 2}, {63, -2}}},
        {"run_well_past_63", {{0, 1}, {15, 0, 0}, {15, 0, 0}, {15, 0, 0}, {15, 4}}, {{1, 2}, {63, 8}}},
        {"large_wrapping", {{0, 600}, {0, -700}, {2, 1000}, {-1, 0}}, {{1, 1200}, {8, -1400}, {2, 2000}}},
        {"ends_at_63_before_dc", {{0, 1}, {15, 0, 0}, {15, 0, 0}, {15, 0, 0}, {13, 1}}, {{1, 2}, {63, 2}}},
    };
    for (const bool useShort : {false, true}) {
        for (const Case& c : cases) {
            StreamBuilder b = GrayStream(16, 8, Flat(2));
            if (useShort) {
                std::vector<std::vector<int>> identity(8);
                for (int symbol = 0; symbol < 255; ++symbol) identity[7].push_back(symbol);
                b = StreamBuilder();
                b.Soi().Dqt(0, Flat(2)).Dht(0, 0, identity).Dht(1, 0, shortCodes);
                b.Sof0(16, 8, {{1, 0x11, 0}}).Sos({{1, 0x00}});
            }
            const AcCodes* codes = useShort ? &shortAc : nullptr;
            PutBlock(b, 0, c.ac, codes);
            PutBlock(b, 3, {{0, -50}, {-1, 0}}, codes);
            const Decoded have = Decode(b.Flush().Eoi().Data());
            ASSERT_EQ(have.Result, DecodeOk) << c.name;
            std::array<std::int16_t, 64> first{};
            first[0] = 1024;  // predictor 512, q 2
            for (auto [index, value] : c.want) first[index] = static_cast<std::int16_t>(value);
            SCOPED_TRACE(std::string(c.name) + (useShort ? " (short codes)" : ""));
            ExpectBlock(have.Bitmap, 0, GrayOf(first));
            std::array<std::int16_t, 64> second{};
            second[0] = 1030;
            second[1] = -100;
            ExpectBlock(have.Bitmap, 1, GrayOf(second));
        }
    }
}

// limit(): sixteenths to a byte, 0 below 0 and 255 from 4096.
TEST(ExactnessTest, LimitSampleClampsAtZeroAnd4096) {
    const std::pair<int, int> cases[] = {{-1, 0}, {-4096, 0}, {0, 0}, {15, 0}, {16, 1}, {2048, 128},
                                         {4079, 254}, {4080, 255}, {4095, 255}, {4096, 255}, {100000, 255}};
    for (auto [have, want] : cases) EXPECT_EQ(jpeg::LimitSample(have), want) << have;
}

// The 20x20 picture in layout 4: one whole MCU and three clipped ones.
TEST(ExactnessTest, Layout4Picture20x20HasStride60AndRoomFor35Rows) {
    const Bytes jpeg = Cjpeg(MakePicture(20, 20, 3, 5), "-sample 2x2");
    const Decoded have = Decode(jpeg);
    ASSERT_EQ(have.Result, DecodeOk);
    ASSERT_EQ(have.Bitmap.size(), 35u * 60 + 40);
    const std::uint8_t want[40] = {40, 0, 0, 0, 20, 0, 0, 0, 20, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                                   0xB0, 0x04, 0, 0};  // biSizeImage 1200, the rest 0
    EXPECT_TRUE(std::equal(want, want + 40, have.Bitmap.begin()));
    for (int row = 0; row < 35; ++row) {
        const std::size_t at = 40 + static_cast<std::size_t>(row) * 60;
        const bool picture = row < 20;
        for (std::size_t i = picture ? 60 : 0; i < 60; ++i) ASSERT_EQ(have.Bitmap[at + i], 0) << row;
    }
}

// Clipped edge MCUs give the same pixels as whole ones: a 16x16 picture and
// the same stream with its frame shrunk to 13x11 (the same MCU grid in every
// layout) agree on the common pixels.
TEST(ExactnessTest, ClippedMcusMatchWholeOnes) {
    for (const char* sampling : {"1x1", "2x1", "1x2", "2x2"}) {
        Bytes whole = Cjpeg(MakePicture(16, 16, 3, 9), std::string("-sample ") + sampling);
        const Decoded full = Decode(whole);
        ASSERT_EQ(full.Result, DecodeOk);
        Bytes clipped = whole;
        for (std::size_t i = 0; i + 8 < clipped.size(); ++i)
            if (clipped[i] == 0xFF && clipped[i + 1] == 0xC0) {
                clipped[i + 6] = 11;  // height
                clipped[i + 8] = 13;  // width
                break;
            }
        const Decoded part = Decode(clipped);
        ASSERT_EQ(part.Result, DecodeOk);
        ASSERT_EQ(DibWidth(part.Bitmap), 13);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_TRUE(std::equal(DibPixel(part.Bitmap, x, y), DibPixel(part.Bitmap, x, y) + 3,
                                       DibPixel(full.Bitmap, x, y)))
                    << sampling << " " << x << "," << y;
    }
}

// A block that ends inside a 0xFF data byte is followed by its stuffed zero.
// When a restart marker follows, the rest of that byte is fill; when more
// data follows (FF 00 FF 00), those bits belong to the next block.
TEST(ExactnessTest, StuffedByteAtMcuBoundaryIsFillOnlyBeforeAMarker) {
    // DC codes: "0" is size 0, then one code of each length up to 11 bits
    // (ones ended by a zero), and at 12 bits two codes, of which twelve ones
    // is size 0 again.
    std::vector<std::vector<int>> dcCodes(12);
    dcCodes[0] = {0};
    for (int length = 2; length <= 11; ++length) dcCodes[length - 1] = {length - 1};
    dcCodes[11] = {11, 0};
    std::vector<std::vector<int>> identity(8);
    for (int c = 0; c < 255; ++c) identity[7].push_back(c);
    for (const bool restart : {false, true}) {
        StreamBuilder b;
        b.Soi().Dqt(0, Flat(8)).Dht(0, 0, dcCodes).Dht(1, 0, identity);
        b.Sof0(16, 8, {{1, 0x11, 0}}).Sos({{1, 0x00}});
        // Block 1 takes 36 bits and ends with the value bits 111 after F3.
        b.Bits(0, 1).Bits(0xF0, 8).Bits(0xF0, 8).Bits(0xF0, 8).Bits(0xF3, 8).Bits(0x7, 3);
        if (restart) b.Flush().Marker(0xD0);
        // Block 2: DC code of twelve ones (size 0), ZRL, (0, 1) with value 1, end of block.
        b.Bits(0xFFF, 12).Bits(0xF0, 8).Bits(0x01, 8).Bits(1, 1).Bits(0x00, 8);
        const Bytes& data = b.Flush().Eoi().Data();
        if (!restart) {
            const Bytes boundary{0xFF, 0x00, 0xFF, 0x00};
            ASSERT_NE(std::search(data.begin(), data.end(), boundary.begin(), boundary.end()), data.end());
        }
        const Decoded have = Decode(data);
        ASSERT_EQ(have.Result, DecodeOk);
        SCOPED_TRACE(restart ? "restart" : "data");
        std::array<std::int16_t, 64> first{};
        first[0] = 1024;
        first[63] = 56;
        ExpectBlock(have.Bitmap, 0, GrayOf(first));
        std::array<std::int16_t, 64> second{};
        second[0] = 1024;
        second[jpeg::kZigZag[17]] = 8;
        ExpectBlock(have.Bitmap, 1, GrayOf(second));
    }
}

}  // namespace
}  // namespace vexa::testing
