// The decoder fuzz target's files replayed as ordinary tests: every seed and
// every kept finding passes the target's own checks, and the seeds (valid
// pictures made by cjpeg) decode.
#include "jpeg_test_support.h"

#include "../../fuzz/check_decode_jpeg.h"
#include "fuzz_replay.h"
#include "jpeg/decode_jpeg.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vexa::testing {
namespace {

TEST(CorpusReplayTest, SeedsDecode) {
    const std::filesystem::path dir = std::filesystem::path(VEXA_SOURCE_DIR) / "fuzz" / "corpus" / "jpeg";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const Bytes data = vexatest::ReadReplayFile(entry.path());
        const Decoded have = Decode(data);
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_EQ(have.Result, DecodeOk);
        ASSERT_GE(have.Bitmap.size(), 40u);
        const std::size_t want = static_cast<std::size_t>(DibHeight(have.Bitmap) + 15) * DibStrideOf(have.Bitmap) + 40;
        EXPECT_EQ(have.Bitmap.size(), want);
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

class DecoderFuzzReplay : public ::testing::TestWithParam<vexatest::ReplayFile> {};

TEST_P(DecoderFuzzReplay, PassesTheTargetsChecks) {
    const Bytes data = vexatest::ReadReplayFile(GetParam().Path);
    const char* fault = fuzz::CheckDecodeJpeg(data.data(), data.size());
    EXPECT_EQ(fault, nullptr) << fault << ": " << GetParam().Path;
}

INSTANTIATE_TEST_SUITE_P(Files, DecoderFuzzReplay,
                         ::testing::ValuesIn(vexatest::FuzzReplayFiles("jpeg", "fuzz_decode_jpeg")),
                         vexatest::ReplayFileName());

}  // namespace
}  // namespace vexa::testing
