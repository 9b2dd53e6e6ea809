#include "puzzle/puzzle_writer.h"
#include "tool_runner.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tooltest::Outcome;
using tooltest::RunTool;

class JudgeCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vexa-judge-tool-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // A puzzle with the given difference rectangles and nothing else.
    std::string WritePuzzle(const std::string& name, const std::vector<vexa::TDiffRect>& rects) {
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        record.DiffCount = static_cast<std::int16_t>(rects.size());
        for (std::size_t i = 0; i < rects.size(); ++i) record.DiffRects[i] = rects[i];
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(vexa::WritePuzzleFile(path, record, side));
        return path;
    }

    std::filesystem::path dir_;
};

TEST_F(JudgeCommand, JudgesPointsAsThePlayerDoes) {
    // Rectangles 0 and 1 overlap, rectangle 2 stands apart.
    const std::string file =
        WritePuzzle("three.VX", {{0, 0, 20, 20}, {10, 0, 30, 20}, {100, 100, 110, 120}});
    struct Case {
        std::string name;
        std::string have;
        Outcome want;
    };
    const std::vector<Case> cases = {
        {"all found, marker 0 yields the shared rectangle", "--at 15,5 --at 5,5 --at 100,119",
         {0, "{\"found\": 3, \"diff_count\": 3, \"result\": 206, \"result_name\": \"all_found\"}\n"}},
        {"right and bottom edges are outside", "--at 30,5 --at=105,120",
         {0, "{\"found\": 0, \"diff_count\": 3, \"result\": 204, \"result_name\": \"few_found\"}\n"}},
        {"one of three is half", "--at=-4,+7 --at 105,110",
         {0, "{\"found\": 1, \"diff_count\": 3, \"result\": 205, \"result_name\": \"half_found\"}\n"}},
        {"no points", "", {0, "{\"found\": 0, \"diff_count\": 3, \"result\": 204, \"result_name\": \"few_found\"}\n"}},
        {"more points than markers", "--at 1,1 --at 2,2 --at 3,3 --at 4,4", {2, ""}},
        {"not a point", "--at '1;1'", {2, ""}},
        {"trailing junk", "--at 1,1x", {2, ""}},
        {"missing value", "--at", {2, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome got = RunTool("judge '" + file + "' " + c.have);
        EXPECT_EQ(got.Exit, c.want.Exit);
        EXPECT_EQ(got.Out, c.want.Out);
    }
}

TEST_F(JudgeCommand, NoDifferencesIsAllFound) {
    const std::string file = WritePuzzle("none.VX", {});
    const Outcome got = RunTool("judge '" + file + "'");
    EXPECT_EQ(got.Exit, 0);
    EXPECT_EQ(got.Out, "{\"found\": 0, \"diff_count\": 0, \"result\": 206, \"result_name\": \"all_found\"}\n");
}

TEST_F(JudgeCommand, ReportsFilesThatDoNotLoad) {
    const std::string bad = (dir_ / "bad.VX").string();
    std::FILE* f = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a puzzle", f);
    std::fclose(f);
    EXPECT_EQ(RunTool("judge '" + bad + "' --at 1,1").Exit, 1);
    EXPECT_EQ(RunTool("judge '" + (dir_ / "missing.VX").string() + "'").Exit, 1);
    EXPECT_EQ(RunTool("judge").Exit, 2);
}

}  // namespace
