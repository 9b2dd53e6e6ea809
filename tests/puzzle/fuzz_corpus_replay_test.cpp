// The loader fuzz target's files replayed as ordinary tests: every seed and
// every kept finding passes the target's own checks (a clean message or a
// loaded record that writes back to itself).
#include "../../fuzz/check_load_puzzle.h"
#include "fuzz_replay.h"

#include <gtest/gtest.h>

namespace {

class LoaderFuzzReplay : public ::testing::TestWithParam<vexatest::ReplayFile> {};

TEST_P(LoaderFuzzReplay, PassesTheTargetsChecks) {
    const std::vector<std::uint8_t> bytes = vexatest::ReadReplayFile(GetParam().Path);
    const char* fault = vexa::fuzz::CheckLoadPuzzle(bytes.data(), bytes.size());
    EXPECT_EQ(fault, nullptr) << fault << ": " << GetParam().Path;
}

INSTANTIATE_TEST_SUITE_P(Files, LoaderFuzzReplay,
                         ::testing::ValuesIn(vexatest::FuzzReplayFiles("puzzle", "fuzz_load_puzzle")),
                         vexatest::ReplayFileName());

}  // namespace
