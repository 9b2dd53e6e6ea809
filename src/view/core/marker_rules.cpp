#include "view/core/marker_rules.h"

#include <algorithm>
#include <cstdint>

namespace vexa {

int MarkerIndexAt(const TMarkerPoint* corners, std::size_t size, int count, TMarkerPoint point) {
    const int n = std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(size));
    for (int i = 0; i < n; ++i) {
        const std::int64_t x = corners[i].X, y = corners[i].Y;
        if (point.X >= x && point.X < x + kMarkerSide && point.Y >= y && point.Y < y + kMarkerSide)
            return i;
    }
    return -1;
}

TMarkerPoint ClampMarkerDrop(TMarkerPoint point, int pictureWidth, int pictureHeight) {
    // The minimum is applied last, as the drop always did: with a picture
    // narrower than 0 the corner ends at pictureWidth - 10 even below -10.
    const auto axis = [](int p, int size) {
        std::int64_t v = std::int64_t{p} - kMarkerHalf;
        v = std::max<std::int64_t>(v, -kMarkerHalf);
        v = std::min<std::int64_t>(v, std::int64_t{size} - kMarkerHalf);
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TMarkerPoint{axis(point.X, pictureWidth), axis(point.Y, pictureHeight)};
}

}  // namespace vexa
