// What differs between two pictures of the same size as a person sees it.
//
// Both pictures are smoothed a little (JPEG noise and single-pixel jitter
// fade) and compared in CIELAB: the colour distance (delta E) follows what
// the eye sees, so a hue change counts as much as a brightness change of the
// same visibility. A uniform shift of brightness or colour between the two is
// taken out first, and a difference counts for less where both pictures are
// busy (JPEG noise lives there, and the eye sees less there too). Pixels at
// or above `strong` seed a change; touching pixels at or above `low` (and at
// a small share of the change's strongest difference) join it, so a faint
// change is found whole. Changes closer than `join` pixels to one another
// are one change, and so are the two halves of a mirrored or turned patch.
#pragma once

#include "boxes.h"

#include "picture/dib_pixels.h"

#include <optional>
#include <vector>

namespace vexa::authoring {

inline constexpr int kDefaultJoin = 8;
inline constexpr int kDefaultMinArea = 8;

struct MeasureSettings {
    // 0 or more: the plain test instead, a pixel changed when one of its
    // channels differs by more than this (no smoothing, no joining of faint
    // pixels, no shift taken out).
    int tolerance = -1;
    double strong = 9.0;   // delta E that seeds a change
    double visible = 5.0;  // delta E of a weak change: visible, but no seed
    double low = 2.0;      // delta E with which a pixel joins a change it touches
    int minArea = kDefaultMinArea;  // fewest seed pixels a change needs (weak: pixels at `visible`)
    int join = kDefaultJoin;        // changes less than this many pixels apart are one
};

struct Change {
    Box box{0, 0, 0, 0};      // around its pixels
    std::vector<int> pixels;  // y * width + x of the pixels that differ
    double peak = 0;          // its largest smoothed delta E (channel difference with a tolerance)
};

struct Shift {
    int dx = 0, dy = 0;  // the photo's content sits this far right and down of the scene's
};

struct ChangeMap {
    int width = 0, height = 0;
    std::vector<Change> changes;  // clear changes, in reading order
    std::vector<Change> weak;     // visible but faint, away from any clear change
    std::optional<Shift> shift;   // set when the whole photo is shifted: then no changes are listed
};

// The pictures must have the same size.
ChangeMap MeasureChanges(const vexa::DibPixels& scene, const vexa::DibPixels& photo,
                         const MeasureSettings& settings);

// The difference rectangles for the clear changes: LayOutRects with `margin`.
std::vector<Box> ProposedRects(const ChangeMap& map, int margin);

}  // namespace vexa::authoring
