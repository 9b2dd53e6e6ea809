// The loader fuzz target's corpus, replayed: every file (seeds and any crash
// reproducers kept there) loads or fails with one of the loader's messages.
#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

TEST(PuzzleFuzzCorpus, EveryFileLoadsOrFailsCleanly) {
    const std::filesystem::path dir = VEXA_SOURCE_DIR "/fuzz/corpus/puzzle";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        const char* message = vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size());
        EXPECT_TRUE(message == nullptr || message == vexa::kMsgBadData || message == vexa::kMsgDiskError ||
                    message == vexa::kMsgNoMemory)
            << entry.path();
        EXPECT_EQ(record.Loaded, message ? 0 : 1) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
