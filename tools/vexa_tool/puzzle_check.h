// Authoring checks of a loaded puzzle: do the difference rectangles match
// what really differs between the scene and the photo, and are the sizes and
// animation tables sane?
#pragma once

#include "puzzle/puzzle_data.h"

#include <string>
#include <vector>

namespace vexatool {

struct Finding {
    std::string kind;   // e.g. "uncovered_change"; see CheckPuzzle
    std::string json;   // the finding's details as the members of a JSON object
};

struct CheckOptions {
    int tolerance = 48;   // largest channel difference still taken for JPEG noise
    int minPixels = 8;    // smaller clusters of changed pixels are taken for noise
};

// Kinds: missing_base_picture, pair_size_mismatch, scene_photo_size_differs,
// rect_outside_photo, rects_overlap, rect_without_change, uncovered_change,
// table_without_wait, table_draws_outside.
std::vector<Finding> CheckPuzzle(const vexa::TPuzzleData& puzzle, const CheckOptions& options);

}  // namespace vexatool
