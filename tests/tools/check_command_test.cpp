// vexa-tool check: one small broken puzzle per kind of finding, and a clean one.
#include "picture_builders.h"
#include "puzzle/puzzle_writer.h"
#include "tool_runner.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using tooltest::Outcome;
using tooltest::RunTool;

// A 24-bit bottom-up packed DIB whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
vexa::Block Dib(int w, int h, const std::function<std::uint32_t(int, int)>& colour) {
    return vexa::test::Dib24(w, h, colour);
}

constexpr int kW = 64, kH = 48;

// The scene is grey; the photo has a red square at (10..20, 10..20) that
// rectangle 0 covers exactly.
std::uint32_t Scene(int, int) { return 0x808080; }
std::uint32_t Photo(int x, int y) { return (x >= 10 && x < 20 && y >= 10 && y < 20) ? 0xE02020 : 0x808080; }

void AddTable(vexa::TPuzzleData& p, int table, const std::vector<std::array<int, 7>>& records) {
    p.TableCounts[table] = static_cast<std::int16_t>(records.size());
    p.Tables[table].clear();
    for (const auto& r : records) vexa::test::AppendRecord(p.Tables[table], r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
}

// A clean puzzle: every pair has a base picture of its stated size, one
// rectangle covers the one change, and scene 0 has a well-formed track.
void CleanPuzzle(vexa::TPuzzleData& p) {
    p.Reset();
    for (int k = 0; k < vexa::kPairCount; ++k) {
        p.BasePictures[k] = Dib(kW, kH, k == 4 ? Photo : Scene);
        p.PairSizes[k] = {kW, kH};
    }
    p.SparePictures[0] = Dib(kW, kH, Scene);
    p.DiffCount = 1;
    p.DiffRects[0] = {8, 8, 22, 22};
    AddTable(p, 0, {{{'T', 0, 0, 30, 30, 8, 8}}, {{'W', 0, 0, 0, 0, 3, 0}}, {{'R', 0, 0, 30, 30, 8, 8}}});
}

class CheckCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("vexa-check-tool-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const vexa::TPuzzleData& p) {
        vexa::TPuzzleSideValues side;
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(vexa::WritePuzzleFile(path, p, side));
        return path;
    }

    std::filesystem::path dir_;
};

TEST_F(CheckCommand, ReportsEachFindingOnItsOwn) {
    struct Case {
        std::string name;
        std::function<void(vexa::TPuzzleData&)> have;
        std::string want;  // the one kind reported; empty for a clean puzzle
    };
    const std::vector<Case> cases = {
        {"clean", [](vexa::TPuzzleData&) {}, ""},
        {"change no rectangle covers", [](vexa::TPuzzleData& p) { p.DiffRects[0] = {8, 8, 15, 22}; },
         "uncovered_change"},
        {"change two rectangles split",
         [](vexa::TPuzzleData& p) {
             p.DiffCount = 2;
             p.DiffRects[0] = {8, 8, 15, 22};
             p.DiffRects[1] = {15, 8, 22, 22};
         },
         "change_split"},
        {"rectangle over no change",
         [](vexa::TPuzzleData& p) {
             p.DiffCount = 2;
             p.DiffRects[1] = {40, 30, 50, 40};
         },
         "rect_without_change"},
        {"rectangle reaching past the photo's edge",
         [](vexa::TPuzzleData& p) {
             // A second change in the bottom-right corner, boxed by a rectangle too large.
             p.BasePictures[4] = Dib(kW, kH, [](int x, int y) { return x >= 60 && y >= 40 ? 0x2020E0u : Photo(x, y); });
             p.DiffCount = 2;
             p.DiffRects[1] = {58, 38, kW + 6, kH + 2};
         },
         "rect_outside_photo"},
        {"overlapping rectangles",
         [](vexa::TPuzzleData& p) {
             p.DiffCount = 2;
             p.DiffRects[0] = {8, 8, 16, 22};
             p.DiffRects[1] = {14, 8, 22, 22};
         },
         "rects_overlap"},
        {"pair size differs from its picture", [](vexa::TPuzzleData& p) { p.PairSizes[2] = {kW + 1, kH}; },
         "pair_size_mismatch"},
        {"missing base picture", [](vexa::TPuzzleData& p) { p.BasePictures[3].clear(); }, "missing_base_picture"},
        {"track without a wait",
         [](vexa::TPuzzleData& p) { AddTable(p, 5, {{{'C', 0, 0, 1, 1, 4, 4}}}); }, "table_without_wait"},
        {"piece drawn outside its picture",
         [](vexa::TPuzzleData& p) {
             AddTable(p, 0, {{{'T', 0, 0, kW - 4, 30, 8, 8}}, {{'W', 0, 0, 0, 0, 3, 0}}});
         },
         "table_draws_outside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        static vexa::TPuzzleData puzzle;
        CleanPuzzle(puzzle);
        c.have(puzzle);
        const Outcome got = RunTool("check '" + Write("case.VX", puzzle) + "'");
        if (c.want.empty()) {
            EXPECT_EQ(got.Exit, 0);
            EXPECT_EQ(got.Out, "{\"clean\": true, \"findings\": []}\n");
        } else {
            EXPECT_EQ(got.Exit, 1);
            EXPECT_NE(got.Out.find("\"kind\": \"" + c.want + "\""), std::string::npos) << got.Out;
            // Exactly one finding: one line per finding.
            EXPECT_EQ(std::count(got.Out.begin(), got.Out.end(), '\n'), 3) << got.Out;
        }
    }
}

// What a finding says about a change: the part outside, and which rectangle
// holds the rest; a faint change outside every rectangle is a note that
// leaves the puzzle clean; a shifted photo is one finding, not many.
TEST_F(CheckCommand, SaysHowAChangeIsMissedAndNotesWeakOnes) {
    static vexa::TPuzzleData puzzle;
    CleanPuzzle(puzzle);
    puzzle.DiffRects[0] = {8, 8, 15, 22};
    Outcome got = RunTool("check '" + Write("partly.VX", puzzle) + "'");
    EXPECT_EQ(got.Exit, 1);
    EXPECT_NE(got.Out.find(R"("kind": "uncovered_change", "box":[15,10,20,20],"pixels":50,"change":[10,10,20,20],"partly_in":[0])"),
              std::string::npos)
        << got.Out;

    CleanPuzzle(puzzle);
    puzzle.BasePictures[4] = Dib(kW, kH, [](int x, int y) {
        return x >= 30 && x < 50 && y >= 20 && y < 40 ? 0x949494u : Photo(x, y);
    });
    got = RunTool("check '" + Write("weak.VX", puzzle) + "'");
    EXPECT_EQ(got.Exit, 0);
    EXPECT_EQ(got.Out.rfind("{\"clean\": true, \"findings\": [], \"notes\": [\n  {\"kind\": \"weak_change\", \"box\":[30,20,50,40]", 0), 0u)
        << got.Out;

    CleanPuzzle(puzzle);
    const auto texture = [](int x, int y) -> std::uint32_t {
        return static_cast<std::uint32_t>((x * 7 + y * 13) % 64 * 3) << 16 | static_cast<std::uint32_t>((x * x + y) % 50 * 4) << 8 |
               static_cast<std::uint32_t>(((x / 4 + y / 4) % 2) * 120);
    };
    puzzle.BasePictures[0] = Dib(kW, kH, texture);
    puzzle.BasePictures[4] = Dib(kW, kH, [&](int x, int y) { return texture(std::max(x - 2, 0), std::max(y - 1, 0)); });
    got = RunTool("check '" + Write("shifted.VX", puzzle) + "'");
    EXPECT_EQ(got.Exit, 1);
    EXPECT_NE(got.Out.find(R"({"kind": "pictures_shifted", "by":[2,1]})"), std::string::npos) << got.Out;
    EXPECT_EQ(got.Out.find("uncovered_change"), std::string::npos) << got.Out;
}

TEST_F(CheckCommand, AFileThatDoesNotLoadIsAnError) {
    const std::string path = (dir_ / "junk.VX").string();
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("junk", f);
    std::fclose(f);
    const Outcome got = RunTool("check '" + path + "'");
    EXPECT_EQ(got.Exit, 1);
    EXPECT_NE(got.Out.find("\"error\""), std::string::npos);
}

// A JPEG stream blurs a change over its blocks: a saturated square on a
// textured ground, stored at quality 90 with 2x2 chroma, differs a pixel or
// two beyond the square. Rectangles drawn exactly round the changes pass; with
// the smear allowance turned off the same file fails.
TEST_F(CheckCommand, JpegSmearBelongsToTheRectangle) {
    const int w = 160, h = 120;
    const auto scene = [](int x, int y) -> std::uint32_t {
        return (40u + x / 4) << 16 | (150u + (y / 5) % 40) << 8 | (60u + ((x / 3 + y / 3) % 2) * 30);
    };
    const auto photo = [&](int x, int y) -> std::uint32_t {
        if (x >= 21 && x < 37 && y >= 21 && y < 35) return 0xFA1414;
        if (x >= 101 && x < 150 && y >= 53 && y < 91) return 0x1414F0;
        return scene(x, y);
    };
    auto ppm = [&](const std::string& name, const std::function<std::uint32_t(int, int)>& colour) {
        std::string bytes = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int shift : {16, 8, 0}) bytes += static_cast<char>(colour(x, y) >> shift);
        FILE* f = std::fopen((dir_ / name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    ppm("scene.ppm", scene);
    ppm("photo.ppm", photo);
    ppm("plain.ppm", [](int, int) { return 0x204080u; });
    auto pack = [&](const std::string& scenePicture, const std::string& photoPicture) {
        FILE* f = std::fopen((dir_ / "m.json").c_str(), "wb");
        std::fprintf(f,
                     "{\"diffs\": [[21,21,37,35], [101,53,150,91]], \"pairs\": [{\"base\": %s}, {\"base\": "
                     "\"plain.ppm\"}, {\"base\": \"plain.ppm\"}, {\"base\": \"plain.ppm\"}, {\"base\": %s}]}",
                     scenePicture.c_str(), photoPicture.c_str());
        std::fclose(f);
        return RunTool("pack '" + (dir_ / "m.json").string() + "' '" + (dir_ / "smear.VX").string() + "'").Exit;
    };
    const std::string file = "'" + (dir_ / "smear.VX").string() + "'";

    ASSERT_EQ(pack(R"({"file": "scene.ppm", "encode": {"quality": 90, "sampling": "2x2"}})",
                   R"({"file": "photo.ppm", "encode": {"quality": 90}})"),
              0);
    EXPECT_EQ(RunTool("check " + file).Out, "{\"clean\": true, \"findings\": []}\n");
    const Outcome strict = RunTool("check --smear 0 " + file);
    EXPECT_EQ(strict.Exit, 1);
    EXPECT_NE(strict.Out.find("uncovered_change"), std::string::npos) << strict.Out;

    // Stored as bitmaps, the pictures are exact: a change one pixel beyond
    // its rectangle is the author's, and no allowance hides it.
    FILE* f = std::fopen((dir_ / "m.json").c_str(), "wb");
    std::fputs("{\"diffs\": [[21,21,37,34], [101,53,150,91]], \"pairs\": [{\"base\": \"scene.ppm\"}, {\"base\": "
               "\"plain.ppm\"}, {\"base\": \"plain.ppm\"}, {\"base\": \"plain.ppm\"}, {\"base\": \"photo.ppm\"}]}",
               f);
    std::fclose(f);
    ASSERT_EQ(RunTool("pack '" + (dir_ / "m.json").string() + "' " + file).Exit, 0);
    const Outcome exact = RunTool("check " + file);
    EXPECT_EQ(exact.Exit, 1);
    EXPECT_NE(exact.Out.find("\"kind\": \"uncovered_change\", \"box\":[21,34,37,35],\"pixels\":16"),
              std::string::npos)
        << exact.Out;
}

// The settings file matches section names up to ASCII case (a Shift-JIS
// character's second byte excepted), so such names share one result line.
TEST_F(CheckCommand, AgainstOtherPuzzlesWarnsOfSectionsThatShareALine) {
    static vexa::TPuzzleData puzzle;
    CleanPuzzle(puzzle);
    auto named = [&](const std::string& file, const std::string& section) {
        std::memset(puzzle.SectionName, 0, sizeof puzzle.SectionName);
        std::memcpy(puzzle.SectionName, section.data(), section.size());
        return Write(file, puzzle);
    };
    const std::string self = named("self.VX", "SetTest");
    struct Case {
        std::string name;
        std::string have;  // the other puzzle's section name
        std::string want;  // the kind reported; empty for none
    };
    const std::vector<Case> cases = {
        {"differs only in case", "SETTEST", "section_case_clash"},
        {"differs only by a blank", "SetTest ", "section_case_clash"},
        {"the very same name", "SetTest", "section_shared"},
        {"another name", "SetTest2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string other = named("other.VX", c.have);
        const Outcome got = RunTool("check '" + self + "' --against '" + self + "' '" + other + "'");
        if (c.want.empty()) {
            EXPECT_EQ(got.Exit, 0) << got.Out;
        } else {
            EXPECT_EQ(got.Exit, 1);
            EXPECT_NE(got.Out.find("{\"kind\": \"" + c.want + "\", \"file\":\"" + other + "\""), std::string::npos)
                << got.Out;
            // The puzzle itself, given among the others, is no clash.
            EXPECT_EQ(std::count(got.Out.begin(), got.Out.end(), '\n'), 3) << got.Out;
        }
    }
    // "ア" is 0x83 0x41 and "ヂ" 0x83 0x61: their second bytes differ only in
    // what would be ASCII case, but they are different characters.
    const std::string katakana = named("kata.VX", "\x83\x41");
    const std::string other = named("other.VX", "\x83\x61");
    EXPECT_EQ(RunTool("check '" + katakana + "' --against '" + other + "'").Exit, 0);
    EXPECT_EQ(RunTool("check '" + katakana + "' --against '" + named("same.VX", "\x83\x41") + "'").Exit, 1);
}

}  // namespace
