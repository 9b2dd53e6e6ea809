#include "play/match_markers.h"

#include <algorithm>
#include <vector>

namespace vexa {

bool RectContains(const TDiffRect& rect, TPoint point) {
    return rect.Left <= point.X && point.X < rect.Right && rect.Top <= point.Y &&
           point.Y < rect.Bottom;
}

int MatchMarkers(std::span<const TDiffRect> rects, std::span<const TPoint> points,
                 std::span<bool> found) {
    const std::size_t rectCount = rects.size();
    std::vector<char> taken(rectCount, 0);
    int count = 0;

    // Whether point j lies in a rectangle other than r that nobody took yet.
    auto hasOtherPlace = [&](std::size_t j, std::size_t r) {
        for (std::size_t o = 0; o < rectCount; ++o)
            if (o != r && !taken[o] && RectContains(rects[o], points[j])) return true;
        return false;
    };

    for (std::size_t m = 0; m < points.size(); ++m) {
        for (std::size_t r = 0; r < rectCount; ++r) {
            if (taken[r] || !RectContains(rects[r], points[m])) continue;
            int later = 0, elsewhere = 0;
            for (std::size_t j = m + 1; j < points.size(); ++j) {
                if (!RectContains(rects[r], points[j])) continue;
                ++later;
                if (hasOtherPlace(j, r)) ++elsewhere;
            }
            if (elsewhere >= later) {
                taken[r] = 1;
                ++count;
                break;
            }
        }
    }
    for (std::size_t r = 0; r < std::min(found.size(), rectCount); ++r) found[r] = taken[r] != 0;
    return count;
}

}  // namespace vexa
