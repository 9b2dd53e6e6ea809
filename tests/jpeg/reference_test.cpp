// Pictures encoded by cjpeg decode close to libjpeg's own decoding.
#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vexa::testing {
namespace {

struct ReferenceCase {
    const char* name;
    int width, height, channels;
    const char* options;  // cjpeg options
    double floorDb;       // lowest PSNR against libjpeg that we accept
    bool sof1 = false;    // cjpeg marks 16-bit tables with SOF1; patched to SOF0
};

class ReferenceTest : public ::testing::TestWithParam<ReferenceCase> {};

// Grey is compared with libjpeg's grey output; colour with libjpeg's Y, Cb, Cr
// (no fancy upsampling) put through our own colour conversion, which differs
// from JFIF's on purpose.
TEST_P(ReferenceTest, DecodesCloseToLibjpeg) {
    const ReferenceCase& c = GetParam();
    Bytes jpeg = Cjpeg(MakePicture(c.width, c.height, c.channels, 7), c.options);
    if (c.sof1) PatchSof1ToSof0(jpeg);
    const Decoded have = Decode(jpeg);
    ASSERT_EQ(have.Result, DecodeOk);
    ASSERT_EQ(DibWidth(have.Bitmap), c.width);
    ASSERT_EQ(DibHeight(have.Bitmap), c.height);
    const RefPlanes want = LibjpegDecode(jpeg, true);
    ASSERT_EQ(want.Width, c.width);
    const double psnr = Psnr(have.Bitmap, want, true, LevelOffset(jpeg));
    EXPECT_GE(psnr, c.floorDb);
    RecordProperty("psnr", std::to_string(psnr));
    if (c.channels == 1) {
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::uint8_t* p = DibPixel(have.Bitmap, x, y);
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "grey pixel " << x << "," << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cjpeg, ReferenceTest,
    ::testing::Values(ReferenceCase{"gray", 64, 48, 1, "-quality 75", 47},
                      ReferenceCase{"gray_2x2_factors", 40, 24, 1, "-quality 75 -sample 2x2", 47},
                      ReferenceCase{"gray_odd_17x13", 17, 13, 1, "-quality 90", 47},
                      ReferenceCase{"s1x1", 64, 48, 3, "-quality 90 -sample 1x1", 42},
                      ReferenceCase{"s2x1", 64, 48, 3, "-quality 90 -sample 2x1", 42},
                      ReferenceCase{"s1x2", 64, 48, 3, "-quality 90 -sample 1x2", 42},
                      ReferenceCase{"s2x2", 64, 48, 3, "-quality 90 -sample 2x2", 42},
                      ReferenceCase{"restart_1B", 64, 48, 3, "-sample 2x2 -restart 1B", 42},
                      ReferenceCase{"restart_3B", 64, 48, 3, "-sample 2x1 -restart 3B", 42},
                      ReferenceCase{"optimized_tables", 96, 64, 3, "-quality 95 -optimize -sample 2x2", 42},
                      ReferenceCase{"size_1x1", 1, 1, 3, "-sample 2x2", 42},
                      ReferenceCase{"size_17x13", 17, 13, 3, "-sample 2x2", 42},
                      ReferenceCase{"size_20x20", 20, 20, 3, "-sample 1x2", 42},
                      ReferenceCase{"size_333x201", 333, 201, 3, "-sample 2x2", 42},
                      ReferenceCase{"quality_10", 64, 48, 3, "-quality 10 -sample 2x2", 42, true},
                      ReferenceCase{"quality_50", 64, 48, 3, "-quality 50 -sample 2x1", 42},
                      ReferenceCase{"quality_100", 64, 48, 3, "-quality 100 -sample 1x1", 42},
                      ReferenceCase{"quant_16bit", 64, 48, 3, "-quality 4 -sample 2x2", 42, true},
                      ReferenceCase{"quant_16bit_gray", 64, 48, 1, "-quality 2", 36, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Restart markers change nothing in the picture: the predictors restart at
// the same values the scan started from.
TEST(RestartTest, RestartMarkersDecodeLikeTheSamePictureWithout) {
    const Picture picture = MakePicture(77, 45, 3, 3);
    for (const char* sampling : {"1x1", "2x1", "1x2", "2x2"}) {
        const std::string base = std::string("-quality 85 -sample ") + sampling;
        const Decoded plain = Decode(Cjpeg(picture, base));
        ASSERT_EQ(plain.Result, DecodeOk);
        for (const char* restart : {"-restart 1B", "-restart 3B", "-restart 1"}) {
            const Bytes jpeg = Cjpeg(picture, base + " " + restart);
            const Bytes rst0{0xFF, 0xD0};
            ASSERT_NE(std::search(jpeg.begin(), jpeg.end(), rst0.begin(), rst0.end()), jpeg.end());
            const Decoded restarted = Decode(jpeg);
            ASSERT_EQ(restarted.Result, DecodeOk);
            EXPECT_EQ(restarted.Bitmap, plain.Bitmap) << sampling << " " << restart;
        }
    }
}

}  // namespace
}  // namespace vexa::testing
