// The README's walk-through from two pictures to a puzzle, run as written:
// its shell blocks in order, its manifest block as the file it names, on
// pictures drawn here with the changes its judge step points at.
#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CodeBlock {
    std::string info;  // what follows the opening fence, e.g. "sh" or "json my.json"
    std::string text;
};

// The fenced blocks of the README section that starts with `heading`.
std::vector<CodeBlock> BlocksOfSection(const std::string& readme, const std::string& heading) {
    const std::size_t begin = readme.find("\n" + heading + "\n");
    if (begin == std::string::npos) return {};
    const std::size_t end = readme.find("\n## ", begin + 1);
    std::istringstream section(readme.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    std::vector<CodeBlock> blocks;
    std::string line;
    std::size_t indent = 0;
    bool inside = false;
    while (std::getline(section, line)) {
        const std::size_t first = line.find_first_not_of(' ');
        const bool fence = first != std::string::npos && line.compare(first, 3, "```") == 0;
        if (fence && !inside) {
            inside = true;
            indent = first;
            blocks.push_back({line.substr(first + 3), {}});
        } else if (fence) {
            inside = false;
        } else if (inside) {
            blocks.back().text += (line.size() > indent ? line.substr(indent) : std::string()) + "\n";
        }
    }
    return blocks;
}

// A 400 x 300 scene with texture for JPEG to smear, and a photo with three
// changes: one added, one taken away, one recoloured, centred on (60, 45),
// (220, 170) and (330, 80).
void DrawPictures(const fs::path& dir) {
    QImage scene(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < scene.height(); ++y)
        for (int x = 0; x < scene.width(); ++x)
            scene.setPixel(x, y, qRgb(90 + x / 4, 140 + y / 5, 170 + ((x / 3 + y / 3) % 2) * 12));
    {
        QPainter p(&scene);
        p.fillRect(200, 150, 40, 40, QColor(30, 40, 160));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 210, 40));
        p.drawEllipse(310, 60, 40, 40);
    }
    QImage photo = scene.copy();
    {
        QPainter p(&photo);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawEllipse(40, 30, 40, 30);
        for (int y = 150; y < 190; ++y)
            for (int x = 200; x < 240; ++x) photo.setPixel(x, y, scene.pixel(x - 40, y));
        p.setBrush(QColor(40, 170, 60));
        p.drawEllipse(310, 60, 40, 40);
    }
    ASSERT_TRUE(scene.save(QString::fromStdString((dir / "scene.png").string())));
    ASSERT_TRUE(photo.save(QString::fromStdString((dir / "photo.png").string())));
    const char* names[] = {"few.png", "half.png", "all.png"};
    for (int i = 0; i < 3; ++i) {
        QImage result(400, 300, QImage::Format_RGB32);
        result.fill(QColor(60 * i, 100, 200 - 60 * i));
        ASSERT_TRUE(result.save(QString::fromStdString((dir / names[i]).string())));
    }
}

TEST(ReadmeWalkthrough, RunsAsWritten) {
    const std::string readme = Slurp(fs::path(VEXA_SOURCE_DIR) / "README.md");
    const std::vector<CodeBlock> blocks = BlocksOfSection(readme, "## Making a puzzle");
    ASSERT_FALSE(blocks.empty()) << "no code blocks under \"## Making a puzzle\"";

    const fs::path dir = fs::temp_directory_path() / ("vexa-walkthrough-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::create_directory_symlink(VEXA_BINARY_DIR, dir / "build");
    DrawPictures(dir);

    // The shell blocks become one script; the player is left out (it needs a
    // screen and a person), but the file it would play is loaded below.
    std::string script = "set -e\n";
    std::string played;
    for (const CodeBlock& b : blocks) {
        if (b.info.rfind("json ", 0) == 0) {
            std::ofstream(dir / b.info.substr(5)) << b.text;
        } else if (b.info == "sh") {
            std::istringstream lines(b.text);
            std::string line;
            while (std::getline(lines, line)) {
                if (line.rfind("./run.sh ", 0) == 0) played = line.substr(9);
                else script += line + "\n";
            }
        }
    }
    std::ofstream(dir / "walk.sh") << script;
    const std::string command = "cd '" + dir.string() + "' && bash walk.sh > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    const std::string out = Slurp(dir / "out.txt");
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "a step failed\nscript:\n" << script << "stdout:\n" << out << "stderr:\n" << Slurp(dir / "err.txt");

    // What the README says the steps print.
    for (const char* start : {"{\"diffs\": ", "{\"found\": "}) {
        const std::size_t at = readme.find(start);
        ASSERT_NE(at, std::string::npos) << start;
        const std::string said = readme.substr(at, readme.find('`', at) - at);
        EXPECT_NE(out.find(said + "\n"), std::string::npos) << "the README says " << said << "\nprinted:\n" << out;
    }

    // "auto" took the rectangles from the pictures as stored, so the check
    // that follows is clean and pack had nothing to warn of.
    EXPECT_NE(out.find("{\"clean\": true, \"findings\": []}\n"), std::string::npos) << out;
    EXPECT_EQ(Slurp(dir / "err.txt"), "");

    ASSERT_FALSE(played.empty()) << "the walk-through no longer ends by playing the puzzle";
    static vexa::TPuzzleData puzzle;
    vexa::TPuzzleSideValues side;
    puzzle.Reset();
    ASSERT_EQ(vexa::LoadPuzzleFile(puzzle, side, (dir / played).string()), vexa::TLoadError::None);
    EXPECT_EQ(puzzle.DiffCount, 3);
    for (int k = 0; k < vexa::kPairCount; ++k) EXPECT_FALSE(puzzle.BasePictures[k].empty()) << "pair " << k;
    if (!std::getenv("VEXA_KEEP_WALKTHROUGH")) fs::remove_all(dir);
}

}  // namespace
