// vexa-tool diff SCENE PHOTO | FILE.VX [--min-area N] [--margin N] [--tolerance N]:
// the difference rectangles of two pictures, as manifest JSON.
#include "change_regions.h"
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "usage.h"

#include "puzzle/puzzle_file.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vexatool {

namespace {

bool ReadPicture(const std::string& path, vexa::DibPixels& out) {
    QImage image;
    std::string error;
    if (!ReadImageFile(path, image, error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    out = ImagePixels(image);
    return true;
}

// The base pictures of pairs 0 and 4 as the player shows them.
bool ReadPuzzlePair(const std::string& path, vexa::DibPixels& scene, vexa::DibPixels& photo) {
    static vexa::TPuzzleData record;  // large; kept off the stack
    vexa::TPuzzleSideValues side;
    record.Reset();
    if (const vexa::TLoadError error = LoadPuzzleInput(record, side, path); error != vexa::TLoadError::None) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), LoadErrorLine(error).c_str());
        return false;
    }
    for (const auto& [k, pixels] : {std::pair{0, &scene}, std::pair{4, &photo}}) {
        const vexa::Block& block = record.BasePictures[k];
        if (block.empty() || !vexa::DecodeDibPixels(block.data(), block.size(), *pixels)) {
            std::fprintf(stderr, "%s: pair %d has no base picture that can be drawn\n", path.c_str(), k);
            return false;
        }
    }
    return true;
}

}  // namespace

int RunDiff(int argc, char** argv) {
    std::vector<std::string> paths;
    DiffOptions options;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        int* target = nullptr;
        int high = 0;
        if (OptionValue(argc, argv, i, "--min-area", value)) {
            target = &options.minArea, high = 1 << 26;
        } else if (OptionValue(argc, argv, i, "--margin", value)) {
            target = &options.margin, high = 32767;
        } else if (OptionValue(argc, argv, i, "--tolerance", value)) {
            target = &options.tolerance, high = 255;
        } else if (IsOption(argv[i])) {
            return BadUsage("diff", std::string("unknown option ") + argv[i]);
        } else {
            paths.push_back(argv[i]);
            continue;
        }
        if (value == nullptr || !ParseWhole(value, 0, high, *target))
            return BadUsage("diff", std::string(argv[i]) + " needs a whole number from 0 to " + std::to_string(high));
    }
    if (paths.empty() || paths.size() > 2) return BadUsage("diff", "give two pictures or one puzzle file");

    vexa::DibPixels scene, photo;
    const bool read = paths.size() == 2 ? ReadPicture(paths[0], scene) && ReadPicture(paths[1], photo)
                                        : ReadPuzzlePair(paths[0], scene, photo);
    if (!read) return 1;
    if (scene.Width != photo.Width || scene.Height != photo.Height) {
        std::fprintf(stderr, "the scene is %dx%d pixels, the photo %dx%d: they must be the same size\n", scene.Width,
                     scene.Height, photo.Width, photo.Height);
        return 1;
    }
    const std::vector<Box> boxes = DiffRectangles(scene, photo, options);
    std::string json = "{\"diffs\": [";
    for (std::size_t i = 0; i < boxes.size(); ++i) json += (i ? ", " : "") + BoxJson(boxes[i]);
    std::printf("%s]}\n", json.c_str());
    if (boxes.empty()) {
        std::fputs("no differences found\n", stderr);
        return 1;
    }
    if (boxes.size() > static_cast<std::size_t>(vexa::kMaxDiffs)) {
        std::fprintf(stderr, "%zu differences found; a puzzle holds at most %d\n", boxes.size(), vexa::kMaxDiffs);
        return 1;
    }
    return 0;
}

}  // namespace vexatool
