#include "viewcore/marker_outline.h"

namespace vexa {

TOutlineShade ConspicuousOutlineAt(int x, int y, int side) {
    if (side <= 0 || x < 0 || y < 0 || x >= side || y >= side) return TOutlineShade::None;
    const bool topOrBottom = y < kOutlineBand || y >= side - kOutlineBand;
    const bool leftOrRight = x < kOutlineBand || x >= side - kOutlineBand;
    if (!topOrBottom && !leftOrRight) return TOutlineShade::None;
    const int along = topOrBottom ? x : y;
    return (along / kOutlineSegment) % 2 == 0 ? TOutlineShade::Black : TOutlineShade::White;
}

}  // namespace vexa
