#include "viewcore/marker_rules.h"

#include <algorithm>
#include <cstdint>

namespace vexa {

int MarkerIndexAt(const TPoint* corners, std::size_t size, int count, TPoint point) {
    const int n = std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(size));
    for (int i = 0; i < n; ++i) {
        const std::int64_t x = corners[i].X, y = corners[i].Y;
        if (point.X >= x && point.X < x + kMarkerSide && point.Y >= y && point.Y < y + kMarkerSide)
            return i;
    }
    return -1;
}

TPoint ClampMarkerDrop(TPoint point, int pictureWidth, int pictureHeight) {
    // The minimum is applied last, as the drop always did: with a picture
    // narrower than 0 the corner ends at pictureWidth - 10 even below -10.
    const auto axis = [](int p, int size) {
        std::int64_t v = std::int64_t{p} - kMarkerHalf;
        v = std::max<std::int64_t>(v, -kMarkerHalf);
        v = std::min<std::int64_t>(v, std::int64_t{size} - kMarkerHalf);
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TPoint{axis(point.X, pictureWidth), axis(point.Y, pictureHeight)};
}

TPoint MarkerCentre(TPoint corner) { return TPoint{corner.X + kMarkerHalf, corner.Y + kMarkerHalf}; }

}  // namespace vexa
