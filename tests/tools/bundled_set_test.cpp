// The bundled set: the generator still makes exactly the committed files,
// and each is a sound puzzle of its own (its own section, 3 to 10
// differences, three result screens, clean under `vexa-tool check`).
#include "files_and_commands.h"
#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

using vexatest::RunCommand;
using vexatest::Slurp;

TEST(BundledSet, GeneratorMakesTheCommittedFilesAndEachIsASoundPuzzle) {
    const fs::path source = fs::path(VEXA_SOURCE_DIR) / "resources/puzzles";
    const fs::path bin = VEXA_BINARY_DIR;
    const fs::path dir = fs::temp_directory_path() / ("vexa-set-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ASSERT_EQ(RunCommand((bin / "vexa-set-gen").string() + " '" + dir.string() + "' >/dev/null 2>&1"), 0);

    std::set<std::string> names, sections;
    int lastCount = 0;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    ASSERT_GE(names.size(), 8u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path made = dir / (name + ".VX");
        ASSERT_EQ(RunCommand((bin / "vexa-tool").string() + " pack '" + (dir / name / "manifest.json").string() +
                             "' '" + made.string() + "'"),
                  0);
        EXPECT_TRUE(Slurp(made) == Slurp(source / (name + ".VX")))
            << "the generator no longer makes resources/puzzles/" << name << ".VX";

        static vexa::TPuzzleData puzzle;
        vexa::TPuzzleSideValues side;
        puzzle.Reset();
        ASSERT_EQ(vexa::LoadPuzzleFile(puzzle, side, (source / (name + ".VX")).string()), vexa::TLoadError::None);
        EXPECT_GE(puzzle.DiffCount, 3);
        EXPECT_LE(puzzle.DiffCount, 10);
        EXPECT_GT(puzzle.DiffCount, lastCount) << "easier puzzles come first";
        lastCount = puzzle.DiffCount;
        EXPECT_TRUE(sections.insert(side.CurrentSection).second) << "a section of its own";
        for (int pair = 0; pair <= 4; ++pair) EXPECT_FALSE(puzzle.BasePictures[pair].empty()) << pair;
        EXPECT_EQ(RunCommand((bin / "vexa-tool").string() + " check '" + (source / (name + ".VX")).string() +
                             "' >/dev/null"),
                  0);
    }
    // Nothing committed that the generator does not make.
    for (const auto& entry : fs::directory_iterator(source))
        EXPECT_EQ(names.count(entry.path().stem().string()), 1u) << entry.path();
    fs::remove_all(dir);
}

}  // namespace
