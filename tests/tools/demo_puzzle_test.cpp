// The bundled demo puzzle: the generator still makes exactly the committed
// file, the file loads, and its rectangles match what differs.
#include "files_and_commands.h"
#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

using vexatest::RunCommand;
using vexatest::Slurp;

TEST(DemoPuzzle, GeneratorMakesTheBundledFileAndItChecksClean) {
    const fs::path source = fs::path(VEXA_SOURCE_DIR) / "resources/demo";
    const fs::path bin = VEXA_BINARY_DIR;
    const fs::path dir = fs::temp_directory_path() / ("vexa-demo-" + std::to_string(::getpid()));
    fs::remove_all(dir);

    ASSERT_EQ(RunCommand((bin / "vexa-demo-gen").string() + " '" + dir.string() + "' 2>/dev/null"), 0);
    EXPECT_EQ(Slurp(dir / "manifest.json"), Slurp(source / "manifest.json"));
    ASSERT_EQ(RunCommand((bin / "vexa-tool").string() + " pack '" + (dir / "manifest.json").string() + "' '" +
                  (dir / "demo.VX").string() + "'"),
              0);
    const std::string made = Slurp(dir / "demo.VX");
    EXPECT_FALSE(made.empty());
    EXPECT_TRUE(made == Slurp(source / "demo.VX")) << "the generator no longer makes resources/demo/demo.VX";

    static vexa::TPuzzleData puzzle;
    vexa::TPuzzleSideValues side;
    puzzle.Reset();
    ASSERT_EQ(vexa::LoadPuzzleFile(puzzle, side, (source / "demo.VX").string()), vexa::TLoadError::None);
    EXPECT_EQ(puzzle.DiffCount, 7);

    // Every changed region lies in a rectangle, every rectangle holds a change.
    EXPECT_EQ(RunCommand((bin / "vexa-tool").string() + " check '" + (source / "demo.VX").string() + "' >/dev/null"), 0);
    fs::remove_all(dir);
}

}  // namespace
