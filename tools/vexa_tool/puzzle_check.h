// Authoring checks of a loaded puzzle: do the difference rectangles match
// what really differs between the scene and the photo as the player shows
// them, and are the pictures, sizes and animation tables sane?
#pragma once

#include "change_regions.h"

#include "puzzle/puzzle_data.h"
#include "puzzle/puzzle_source.h"

#include <string>
#include <vector>

namespace vexatool {

struct Finding {
    std::string kind;   // e.g. "uncovered_change"; see CheckPuzzle
    std::string json;   // the finding's details as the members of a JSON object
};

struct CheckOptions {
    int tolerance = kDefaultTolerance;  // largest channel difference still taken for no change
    int minPixels = 8;                  // smaller clusters of changed pixels are taken for noise
    // Where the scene or the photo is stored as JPEG: changed pixels up to this
    // far outside a rectangle are its smear (one 8x8 block of the stream).
    int smear = 8;
};

// Kinds: missing_base_picture, pair_size_mismatch, scene_photo_size_differs,
// rect_outside_photo, rects_overlap, rect_without_change, uncovered_change,
// table_without_wait, table_draws_outside. (`vexa-tool check --against` adds
// section_case_clash, section_shared and other_does_not_load.)
std::vector<Finding> CheckPuzzle(const vexa::TPuzzleData& puzzle, const vexa::TPictureSources& sources,
                                 const CheckOptions& options);

// Section names as the settings file matches them: blanks around the name
// ignored, ASCII letters in either case, Shift-JIS double-byte characters
// exactly.
bool SectionNamesMatch(const std::string& a, const std::string& b);

}  // namespace vexatool
