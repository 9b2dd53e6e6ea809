// What the marker walk accepts and refuses, and truncated streams.
#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"

#include <gtest/gtest.h>

#include <functional>

namespace vexa::testing {
namespace {

std::vector<int> Flat(int q) { return std::vector<int>(64, q); }

std::vector<std::vector<int>> IdentityCodes() {
    std::vector<std::vector<int>> codes(8);
    for (int s = 0; s < 255; ++s) codes[7].push_back(s);
    return codes;
}

// One grey block, DC difference 0 then end of block, for GrayStream.
void PutFlatBlock(StreamBuilder& b) { b.Bits(0x00, 8).Bits(0x00, 8); }

Bytes Finish(StreamBuilder b) {
    PutFlatBlock(b);
    return b.Flush().Eoi().Data();
}

// A valid grey stream with `edit` applied to the builder between the tables
// and the frame header.
Bytes GrayWith(const std::function<void(StreamBuilder&)>& edit) {
    StreamBuilder b;
    b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes());
    edit(b);
    b.Sof0(8, 8, {{1, 0x11, 0}}).Sos({{1, 0x00}});
    return Finish(b);
}

Bytes ColorStream(const std::vector<std::array<int, 3>>& frame, const std::vector<std::array<int, 2>>& scan) {
    StreamBuilder b;
    b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes());
    b.Sof0(16, 16, frame).Sos(scan);
    for (int i = 0; i < 12; ++i) PutFlatBlock(b);
    return b.Flush().Eoi().Data();
}

struct StreamCase {
    const char* name;
    std::function<Bytes()> make;
    int want;
    bool bitmap;  // a bitmap comes back
};

class StreamCheckTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(StreamCheckTest, ResultAndBitmap) {
    const StreamCase& c = GetParam();
    const Decoded have = Decode(c.make());
    EXPECT_EQ(have.Result, c.want);
    EXPECT_EQ(!have.Bitmap.empty(), c.bitmap);
}

const Picture& Small() {
    static const Picture p = MakePicture(24, 16, 3, 1);
    return p;
}

Bytes InsertAfterSoi(Bytes jpeg, const Bytes& segment) {
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

INSTANTIATE_TEST_SUITE_P(
    Walk, StreamCheckTest,
    ::testing::Values(
        StreamCase{"valid_gray", [] { return GrayWith([](StreamBuilder&) {}); }, DecodeOk, true},
        StreamCase{"valid_2x2", [] { return ColorStream({{1, 0x22, 0}, {2, 0x11, 0}, {3, 0x11, 0}}, {{1, 0}, {2, 0}, {3, 0}}); }, DecodeOk, true},
        // Coding processes other than baseline Huffman.
        StreamCase{"progressive", [] { return Cjpeg(Small(), "-progressive"); }, DecodeUnsupported, false},
        StreamCase{"arithmetic", [] { return Cjpeg(Small(), "-arithmetic"); }, DecodeUnsupported, false},
        StreamCase{"sof1", [] { return Cjpeg(Small(), "-quality 4"); }, DecodeUnsupported, false},
        StreamCase{"dac_before_frame", [] { return InsertAfterSoi(Cjpeg(Small(), ""), {0xFF, 0xCC, 0x00, 0x04, 0x00, 0x10}); }, DecodeUnsupported, false},
        // Accepted oddities.
        StreamCase{"garbage_before_soi", [] { Bytes j = GrayWith([](StreamBuilder&) {}); j.insert(j.begin(), {0x00, 0x12, 0xD8, 0x7F}); return j; }, DecodeOk, true},
        StreamCase{"tables_then_eoi", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(4)).Dht(0, 0, IdentityCodes()).Eoi(); return b.Data(); }, DecodeOk, false},
        StreamCase{"app_com_dri_skipped", [] { return GrayWith([](StreamBuilder& b) { b.Segment(0xE0, {'J', 'F', 'I', 'F', 0}).Segment(0xFE, {'h', 'i'}).Segment(0xDD, {0, 1}); }); }, DecodeOk, true},
        StreamCase{"two_fill_bytes_before_sof", [] { return GrayWith([](StreamBuilder& b) { b.Raw({0xFF, 0xFF}); }); }, DecodeOk, true},
        StreamCase{"gray_factors_2x2", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes()).Sof0(8, 8, {{1, 0x22, 0}}).Sos({{1, 0}}); return Finish(b); }, DecodeOk, true},
        StreamCase{"selector_01_takes_ac_table_1", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 1, IdentityCodes()).Sof0(8, 8, {{1, 0x11, 0}}).Sos({{1, 0x01}}); return Finish(b); }, DecodeOk, true},
        StreamCase{"width_0", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes()).Sof0(0, 8, {{1, 0x11, 0}}).Sos({{1, 0}}); return b.Eoi().Data(); }, DecodeOk, true},
        // Refused by the walk as the format has it.
        StreamCase{"lone_ff", [] { return Bytes{0xFF}; }, DecodeBadStream, false},
        StreamCase{"eoi_before_soi", [] { Bytes j = GrayWith([](StreamBuilder&) {}); j.insert(j.begin(), {0xFF, 0xD9}); return j; }, DecodeBadStream, false},
        StreamCase{"no_marker_after_soi", [] { Bytes j = GrayWith([](StreamBuilder&) {}); j.insert(j.begin() + 2, 0x00); return j; }, DecodeBadStream, false},
        StreamCase{"repeated_soi_then_eoi", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(4)).Soi().Eoi(); return b.Data(); }, DecodeBadStream, false},
        StreamCase{"segment_past_end", [] { StreamBuilder b; b.Soi().Raw({0xFF, 0xE1, 0x10, 0x00, 1, 2, 3}).Eoi(); return b.Data(); }, DecodeBadStream, false},
        StreamCase{"one_fill_byte_hides_sof", [] { return GrayWith([](StreamBuilder& b) { b.Raw({0xFF}); }); }, DecodeBadStream, false},
        StreamCase{"layout_2x2_1x1_2x2", [] { return ColorStream({{1, 0x22, 0}, {2, 0x11, 0}, {3, 0x22, 0}}, {{1, 0}, {2, 0}, {3, 0}}); }, DecodeBadStream, false},
        StreamCase{"two_components", [] { return ColorStream({{1, 0x11, 0}, {2, 0x11, 0}}, {{1, 0}, {2, 0}}); }, DecodeBadStream, false},
        // Refused because nothing sound can be decoded from them.
        StreamCase{"sos_before_sof", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes()).Sos({{1, 0}}); return Finish(b); }, DecodeBadStream, false},
        StreamCase{"huffman_table_undefined", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Sof0(8, 8, {{1, 0x11, 0}}).Sos({{1, 0}}); return Finish(b); }, DecodeBadStream, false},
        StreamCase{"quant_table_undefined", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes()).Sof0(8, 8, {{1, 0x11, 1}}).Sos({{1, 0}}); return Finish(b); }, DecodeBadStream, false},
        StreamCase{"fewer_scan_components", [] { return ColorStream({{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}}, {{1, 0}}); }, DecodeBadStream, false},
        StreamCase{"five_frame_components", [] { return ColorStream({{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}, {4, 0x11, 0}, {5, 0x11, 0}}, {{1, 0}, {2, 0}, {3, 0}}); }, DecodeBadStream, false},
        StreamCase{"five_scan_components", [] { return ColorStream({{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}); }, DecodeBadStream, false},
        StreamCase{"dht_destination_4", [] { return GrayWith([](StreamBuilder& b) { b.Dht(0, 4, IdentityCodes()); }); }, DecodeBadStream, false},
        StreamCase{"dht_class_2", [] { return GrayWith([](StreamBuilder& b) { b.Dht(2, 0, IdentityCodes()); }); }, DecodeBadStream, false},
        StreamCase{"dqt_destination_4", [] { return GrayWith([](StreamBuilder& b) { b.Dqt(4, Flat(1)); }); }, DecodeBadStream, false},
        StreamCase{"code_space_overflow", [] { return GrayWith([](StreamBuilder& b) { b.Dht(0, 1, {{1, 2, 3}}); }); }, DecodeBadStream, false},
        StreamCase{"dht_longer_than_tables", [] { return GrayWith([](StreamBuilder& b) { b.Segment(0xC4, {0x01, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 9}); }); }, DecodeBadStream, false},
        StreamCase{"dht_shorter_than_tables", [] { return GrayWith([](StreamBuilder& b) { b.Segment(0xC4, {0x01, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}); }); }, DecodeBadStream, false},
        StreamCase{"dqt_shorter_than_table", [] { return GrayWith([](StreamBuilder& b) { b.Segment(0xDB, Bytes(40, 1)); }); }, DecodeBadStream, false},
        StreamCase{"dc_size_17", [] { StreamBuilder b = GrayStream(16, 8, Flat(16)); b.Bits(0, 8).Bits(0, 8).Bits(17, 8).Bits(0, 17).Bits(0, 8); return b.Flush().Eoi().Data(); }, DecodeBadStream, false},
        StreamCase{"frame_too_large", [] { StreamBuilder b; b.Soi().Dqt(0, Flat(16)).Dht(0, 0, IdentityCodes()).Dht(1, 0, IdentityCodes()).Sof0(65535, 65535, {{1, 0x11, 0}}).Sos({{1, 0}}); return Finish(b); }, DecodeNoMemory, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StreamCheckTest, NullStreamIsNoInput) {
    Bytes bitmap{1, 2, 3};
    EXPECT_EQ(DecodeJpegToDib(bitmap, nullptr, 100), DecodeNoInput);
    EXPECT_TRUE(bitmap.empty());
}

// Every prefix of a valid stream: no crash, 0 or 2; with 0, pixel rows agree
// with the complete picture down to where the data ran out, and the MCU rows
// below stay black. (The MCU that reads the first missing bits may still end
// inside the stream; the one after it then runs out, so one more MCU row may
// hold pixels.)
TEST(StreamCheckTest, EveryTruncationStopsCleanly) {
    for (const char* options : {"-sample 2x2 -quality 80", "-sample 1x1 -restart 1B -quality 60", "-grayscale"}) {
        const Bytes full = Cjpeg(MakePicture(40, 40, 3, 11), options);
        const Decoded whole = Decode(full);
        ASSERT_EQ(whole.Result, DecodeOk);
        const int stride = DibStrideOf(whole.Bitmap);
        const int mcuRows = std::string(options).find("2x2") != std::string::npos ? 16 : 8;
        for (std::size_t n = 1; n < full.size(); ++n) {
            const Decoded part = Decode(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)));
            ASSERT_TRUE(part.Result == DecodeOk || part.Result == DecodeBadStream) << options << " " << n;
            if (part.Bitmap.empty()) continue;
            ASSERT_EQ(part.Bitmap.size(), whole.Bitmap.size());
            int y = 0;
            for (; y < 40; ++y)
                if (!std::equal(DibPixel(part.Bitmap, 0, y), DibPixel(part.Bitmap, 0, y) + stride, DibPixel(whole.Bitmap, 0, y)))
                    break;
            for (int below = (y / mcuRows + 2) * mcuRows; below < 40; ++below)
                for (int i = 0; i < stride; ++i) ASSERT_EQ(DibPixel(part.Bitmap, 0, below)[i], 0) << options << " " << n;
        }
    }
}

}  // namespace
}  // namespace vexa::testing
