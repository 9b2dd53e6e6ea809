// vexa-tool extract FILE.VX DIR: every present picture as pair<k>-base.png / pair<k>-spare.png.
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "usage.h"

#include "puzzle/puzzle_file.h"
#include "picture/dib_pixels.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace vexatool {

int RunExtract(int argc, char** argv) {
    if (argc != 3) return BadUsage("extract", "give a puzzle file and a folder");
    static vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    if (const vexa::TLoadError error = LoadPuzzleInput(record, side, argv[1]); error != vexa::TLoadError::None) {
        std::fprintf(stderr, "%s: %s\n", argv[1], LoadErrorLine(error).c_str());
        return 1;
    }
    const std::filesystem::path dir = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir)) {
        std::fprintf(stderr, "%s: cannot make the folder\n", argv[2]);
        return 1;
    }
    int status = 0;
    for (int i = 0; i < vexa::kPictureCount; ++i) {
        const vexa::Block& block = vexa::PictureOf(record, i);
        if (block.empty()) continue;
        const std::string name = "pair" + std::to_string(i / 2) + (i % 2 ? "-spare.png" : "-base.png");
        vexa::DibPixels pixels;
        if (!vexa::DecodeDibPixels(block.data(), block.size(), pixels)) {
            std::fprintf(stderr, "%s: the stored bitmap cannot be drawn\n", name.c_str());
            status = 1;
            continue;
        }
        if (!SaveArgbImage((dir / name).string(), pixels.Width, pixels.Height, pixels.Argb)) status = 1;
    }
    return status;
}

}  // namespace vexatool
