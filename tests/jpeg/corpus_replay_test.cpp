// The fuzzer's seed corpus replayed as an ordinary test: every seed decodes
// without a fault, and the result and bitmap agree.
#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vexa::testing {
namespace {

TEST(CorpusReplayTest, SeedsDecode) {
    const std::filesystem::path dir = std::filesystem::path(VEXA_SOURCE_DIR) / "fuzz" / "corpus" / "jpeg";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes data{std::istreambuf_iterator<char>(in), {}};
        const Decoded have = Decode(data);
        SCOPED_TRACE(entry.path().filename().string());
        // The seeds are valid pictures made by cjpeg.
        ASSERT_EQ(have.Result, DecodeOk);
        ASSERT_GE(have.Bitmap.size(), 40u);
        const std::size_t want = static_cast<std::size_t>(DibHeight(have.Bitmap) + 15) * DibStrideOf(have.Bitmap) + 40;
        EXPECT_EQ(have.Bitmap.size(), want);
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

}  // namespace
}  // namespace vexa::testing
