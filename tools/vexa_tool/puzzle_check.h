// Authoring checks of a loaded puzzle: do the difference rectangles match
// what really differs between the scene and the photo as the player shows
// them, and are the pictures, sizes and animation tables sane?
#pragma once

#include "authoring/boxes.h"
#include "authoring/change_measure.h"

#include "picture/dib_pixels.h"

#include "puzzle/puzzle_data.h"
#include "puzzle/puzzle_source.h"

#include <string>
#include <vector>

namespace vexatool {

using vexa::authoring::Box;

struct Finding {
    std::string kind;   // e.g. "uncovered_change"; see CheckPuzzle
    std::string json;   // the finding's details as the members of a JSON object
    bool note = false;  // for the author to judge: leaves the puzzle clean
};

struct CheckOptions {
    // What counts as a change (the perceptual measure unless a tolerance is given).
    vexa::authoring::MeasureSettings measure;
    int minPixels = 8;  // fewer changed pixels in or outside a rectangle are taken for noise
    // Where the scene or the photo is stored as JPEG: changed pixels up to this
    // far outside a rectangle are its smear (one 8x8 block of the stream).
    int smear = 8;
};

// What a preview of the check shows: the photo, the puzzle's rectangles, the
// parts of changes they miss and the weak changes.
struct CheckMarks {
    vexa::DibPixels photo;
    std::vector<Box> rects, uncovered, weak;
};

// Kinds: missing_base_picture, pair_size_mismatch, scene_photo_size_differs,
// rect_outside_photo, rects_overlap, rect_without_change, uncovered_change,
// change_split, pictures_shifted, table_without_wait, table_draws_outside;
// notes: weak_change. (`vexa-tool check --against` adds section_case_clash,
// section_shared and other_does_not_load.)
std::vector<Finding> CheckPuzzle(const vexa::TPuzzleData& puzzle, const vexa::TPictureSources& sources,
                                 const CheckOptions& options, CheckMarks* marks = nullptr);

// Section names as the settings file matches them: blanks around the name
// ignored, ASCII letters in either case, Shift-JIS double-byte characters
// exactly.
bool SectionNamesMatch(const std::string& a, const std::string& b);

}  // namespace vexatool
