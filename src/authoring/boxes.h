// Rectangles in picture pixels, and how difference rectangles are laid out
// around the changes they cover.
#pragma once

#include <string>
#include <vector>

namespace vexa::authoring {

struct Box {
    int left, top, right, bottom;  // right and bottom outside
};

std::string BoxJson(const Box& b);  // "[l,t,r,b]"
bool Inside(const Box& outer, const Box& inner);
bool Overlap(const Box& a, const Box& b);
bool Contains(const Box& b, int x, int y);
Box Union(const Box& a, const Box& b);
Box Grown(const Box& b, int by, int width, int height);  // clamped to the picture

// The rectangles for changes whose bounding boxes are `changes`: boxes that
// overlap one another become one (no rectangle could cover one without part
// of the other); each is then grown by `margin` and clamped to the picture,
// and where two grown boxes would overlap both are cut back to the middle of
// the gap between the changes, so every change stays inside its own
// rectangle. In reading order (top, then left).
std::vector<Box> LayOutRects(std::vector<Box> changes, int margin, int width, int height);

// Boxes that overlap merged until none do (the indices of the merged ones
// land in `groups`, one list per box left, when given).
std::vector<Box> MergeOverlapping(std::vector<Box> boxes, std::vector<std::vector<int>>* groups = nullptr);

}  // namespace vexa::authoring
