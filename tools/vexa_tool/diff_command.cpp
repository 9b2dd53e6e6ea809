// vexa-tool diff SCENE PHOTO | FILE.VX [--min-area N] [--margin N] [--join N] [--tolerance N]
// [--preview OUT.png]: the difference rectangles of two pictures, as manifest JSON.
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "measure_options.h"
#include "preview.h"
#include "usage.h"

#include "authoring/change_measure.h"
#include "puzzle/puzzle_file.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vexatool {

namespace {

using vexa::authoring::Box;
using vexa::authoring::ChangeMap;

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

std::string BoxList(const std::vector<Box>& boxes) {
    std::string json = "[";
    for (std::size_t i = 0; i < boxes.size(); ++i) json += (i ? ", " : "") + BoxJson(boxes[i]);
    return json + "]";
}

}  // namespace

int RunDiff(int argc, char** argv) {
    std::vector<std::string> paths;
    vexa::authoring::MeasureSettings settings;
    int margin = 4;
    std::string preview;
    for (int i = 1; i < argc; ++i) {
        std::string problem;
        const char* value = nullptr;
        const OptionUse use = TakeMeasureOption(argc, argv, i, settings, &margin, problem);
        if (use == OptionUse::Bad) return BadUsage("diff", problem);
        if (use == OptionUse::Taken) continue;
        if (OptionValue(argc, argv, i, "--preview", value)) {
            if (value == nullptr || *value == '\0') return BadUsage("diff", "--preview needs a file name");
            preview = value;
        } else if (IsOption(argv[i])) {
            return BadUsage("diff", std::string("unknown option ") + argv[i]);
        } else {
            paths.push_back(argv[i]);
        }
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
    const ChangeMap map = vexa::authoring::MeasureChanges(scene, photo, settings);
    const std::vector<Box> boxes = vexa::authoring::ProposedRects(map, margin);
    std::vector<Box> weak;
    for (const auto& c : map.weak) weak.push_back(c.box);

    std::string json = "{\"diffs\": " + BoxList(boxes);
    if (!weak.empty()) json += ", \"weak\": " + BoxList(weak);
    if (map.shift) json += ", \"shift\": [" + std::to_string(map.shift->dx) + "," + std::to_string(map.shift->dy) + "]";
    std::printf("%s}\n", json.c_str());
    std::fflush(stdout);
    if (!preview.empty() && !WritePreview(preview, photo, boxes, {}, weak)) return 1;
    if (map.shift) {
        std::fprintf(stderr,
                     "the photo is shifted by %d, %d pixels against the scene: align the two pictures first\n",
                     map.shift->dx, map.shift->dy);
        return 1;
    }
    if (boxes.empty()) {
        std::fputs(weak.empty() ? "no differences found\n" : "no clear differences found, only weak ones\n", stderr);
        return 1;
    }
    if (boxes.size() > static_cast<std::size_t>(vexa::kMaxDiffs)) {
        std::fprintf(stderr, "%zu differences found; a puzzle holds at most %d\n", boxes.size(), vexa::kMaxDiffs);
        return 1;
    }
    return 0;
}

}  // namespace vexatool
