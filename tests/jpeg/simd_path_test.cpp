// Every instruction-set path of the decoder gives the same bitmap, byte for
// byte, as the plain C++ one.
#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"
#include "jpeg/simd_path.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vexa::testing {
namespace {

using jpeg::SimdPath;

// Puts the best path back when a test ends.
class SimdPathTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (SimdPath p : {SimdPath::Avx2, SimdPath::Sse2, SimdPath::Scalar})
            if (jpeg::ForceSimdPath(p)) break;
    }

    static std::vector<SimdPath> Paths() {
        std::vector<SimdPath> paths;
        for (SimdPath p : {SimdPath::Scalar, SimdPath::Sse2, SimdPath::Avx2})
            if (jpeg::SimdPathAvailable(p)) paths.push_back(p);
        return paths;
    }

    // Decodes `jpeg` on every path into a bitmap that held `former`, and
    // compares with the plain path's result.
    static void ExpectSameOnEveryPath(const Bytes& jpeg, const Bytes& former, const std::string& name) {
        ASSERT_TRUE(jpeg::ForceSimdPath(SimdPath::Scalar));
        const Decoded want = Decode(jpeg);
        for (SimdPath p : Paths()) {
            ASSERT_TRUE(jpeg::ForceSimdPath(p));
            Bytes have = former;
            const int result = DecodeJpegToDib(have, jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
            EXPECT_EQ(result, want.Result) << name << " path " << static_cast<int>(p);
            EXPECT_TRUE(have == want.Bitmap) << name << " path " << static_cast<int>(p);
        }
    }
};

TEST_F(SimdPathTest, AvailablePathsIncludeThePlainOne) {
    EXPECT_TRUE(jpeg::SimdPathAvailable(SimdPath::Scalar));
#if defined(__x86_64__)
    EXPECT_TRUE(jpeg::SimdPathAvailable(SimdPath::Sse2));
#endif
    const SimdPath active = jpeg::ActiveSimdPath();
    EXPECT_TRUE(jpeg::SimdPathAvailable(active));
}

// Every layout, whole and clipped MCUs, smooth and busy coefficient blocks,
// restart markers; each decoded into an empty bitmap and into the memory of
// a former, larger one.
TEST_F(SimdPathTest, EveryLayoutDecodesAlikeOnEveryPath) {
    struct Case {
        int width, height, channels;
        const char* options;
    };
    const Case cases[] = {
        {173, 91, 1, "-quality 85"},
        {64, 40, 1, "-quality 100"},
        {160, 96, 3, "-quality 92 -sample 1x1"},
        {77, 45, 3, "-quality 90 -sample 2x1"},
        {90, 70, 3, "-quality 75 -sample 1x2"},
        {173, 91, 3, "-quality 85 -sample 2x2"},
        {128, 64, 3, "-quality 30 -sample 2x2"},
        {130, 66, 3, "-quality 100 -sample 2x2"},
        {160, 96, 3, "-quality 85 -sample 2x2 -restart 1"},
        {96, 48, 1, "-quality 85 -restart 2B"},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height) + " " + c.options;
        const Bytes jpeg = Cjpeg(MakePicture(c.width, c.height, c.channels, 11), c.options);
        ExpectSameOnEveryPath(jpeg, {}, name);
        ExpectSameOnEveryPath(jpeg, Bytes(4 * c.width * (c.height + 20), 0xA5), name + " (former bitmap)");
    }
}

// Grey blocks of every kind next to one another: flat, gentle, busy and
// alternating pixels; whole MCUs
// (which the AVX2 path writes from the transform) and clipped ones.
TEST_F(SimdPathTest, GreyBlocksOfEveryKindDecodeAlikeOnEveryPath) {
    Picture picture{100, 43, 1, {}};
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            int v = 90;
            if (x >= 8) v = (x + y) % 2 == 0 ? 255 : 0;
            if (x >= 24) v = 40 + 3 * x + y;
            if (x >= 48) v = static_cast<int>((x * 7919u + y * 104729u) % 251u);
            if (x >= 80) v = (x + y) % 2 == 0 ? 255 : 0;
            if (y >= 32 && x < 56) v = (x / 3 + y) % 2 == 0 ? 250 : 5;
            picture.Pixels.push_back(static_cast<std::uint8_t>(v));
        }
    // Qualities 2 and 4 take 16-bit tables (cjpeg marks them SOF1): coefficients
    // of 1024 and more, which the transform's wrapping takes on its own path.
    const std::pair<const char*, bool> cases[] = {{"-quality 100", false}, {"-quality 60", false},
                                                  {"-quality 100 -restart 1", false}, {"-quality 4", true},
                                                  {"-quality 2", true}};
    for (const auto& [options, sof1] : cases) {
        Bytes jpeg = Cjpeg(picture, options);
        if (sof1) PatchSof1ToSof0(jpeg);
        ExpectSameOnEveryPath(jpeg, {}, std::string("grey ") + options);
    }
}

// Streams cut short or damaged: the pixels after the last decoded MCU stay
// zero on every path, also in a former bitmap's memory.
TEST_F(SimdPathTest, DamagedStreamsDecodeAlikeOnEveryPath) {
    const Bytes whole = Cjpeg(MakePicture(120, 72, 3, 4), "-quality 90 -sample 2x2");
    const Bytes former(3 * 120 * 100, 0x5A);
    for (const std::size_t keep : {whole.size() / 3, whole.size() / 2, whole.size() - 40}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
        ExpectSameOnEveryPath(cut, former, "cut at " + std::to_string(keep));
    }
    for (const std::size_t at : {whole.size() / 2, whole.size() - 100}) {
        Bytes damaged = whole;
        damaged[at] = 0xFF;
        damaged[at + 1] = 0xD9;  // EOI inside the scan data
        ExpectSameOnEveryPath(damaged, former, "EOI at " + std::to_string(at));
        damaged[at + 1] = 0x00;
        damaged[at + 2] = 0xFF;  // a stuffed byte and a lone 0xFF
        ExpectSameOnEveryPath(damaged, former, "0xFF at " + std::to_string(at));
    }
}

}  // namespace
}  // namespace vexa::testing
