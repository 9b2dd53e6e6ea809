#include "viewcore/marker_keys.h"

#include "viewcore/marker_rules.h"

#include <algorithm>
#include <cstdint>

namespace vexa {

int NextMarkerSelection(int current, int count, bool backwards) {
    if (count <= 0) return -1;
    if (current < 0 || current >= count) return backwards ? count - 1 : 0;
    return backwards ? (current + count - 1) % count : (current + 1) % count;
}

TPoint MoveMarkerByKey(TPoint corner, int dx, int dy, int pictureWidth, int pictureHeight) {
    // The centre the key moves the marker to, kept within int before the
    // drop's own clamping takes over.
    const auto centre = [](int c, int d) {
        const std::int64_t v = std::int64_t{c} + kMarkerHalf + d;
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return ClampMarkerDrop(TPoint{centre(corner.X, dx), centre(corner.Y, dy)}, pictureWidth, pictureHeight);
}

}  // namespace vexa
