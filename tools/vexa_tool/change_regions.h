// Where two pictures of the same size differ: the changed pixels, the regions
// they form, and the rectangles `vexa-tool diff` proposes for them.
#pragma once

#include "picture/dib_pixels.h"

#include <string>
#include <vector>

namespace vexatool {

struct Box {
    int left, top, right, bottom;  // right and bottom outside
};

std::string BoxJson(const Box& b);  // "[l,t,r,b]"
bool Inside(const Box& outer, const Box& inner);
bool Overlap(const Box& a, const Box& b);
bool Contains(const Box& b, int x, int y);
Box Grown(const Box& b, int by, int width, int height);  // clamped to the picture

// Default for the largest per-channel difference taken for no change: JPEG
// noise stays below it, a change an eye notices does not.
inline constexpr int kDefaultTolerance = 48;

// 1 where the largest channel difference of the two pictures (same size)
// exceeds `tolerance`, row by row.
std::vector<char> ChangedPixels(const vexa::DibPixels& a, const vexa::DibPixels& b, int tolerance);

// Changed pixels that touch (also corner to corner) form a region.
struct Region {
    Box box{0, 0, 0, 0};
    std::vector<int> pixels;  // y * width + x
};
std::vector<Region> ChangedRegions(const std::vector<char>& changed, int width, int height);

struct DiffOptions {
    int minArea = 8;   // regions with fewer changed pixels are taken for noise
    int margin = 4;    // pixels added on every side of a region's box
    int tolerance = kDefaultTolerance;
};

// The boxes of the regions with at least minArea pixels, each grown by the
// margin and clamped to the picture; boxes that overlap or touch are merged
// until none do. In reading order (top, then left).
std::vector<Box> DiffRectangles(const vexa::DibPixels& scene, const vexa::DibPixels& photo,
                                const DiffOptions& options);

}  // namespace vexatool
