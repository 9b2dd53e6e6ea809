#include "viewcore/view_rules.h"

#include <algorithm>
#include <cstdint>

namespace vexa {

TScrollRanges ComputeScrollRanges(int pictureWidth, int pictureHeight, int outerWidth,
                                  int outerHeight, int hScrollHeight, int vScrollWidth) {
    // 64-bit sums: picture sizes come from files.
    const std::int64_t pw = pictureWidth, ph = pictureHeight, ow = outerWidth, oh = outerHeight;
    std::int64_t ex = hScrollHeight, ey = vScrollWidth;
    if (pw + hScrollHeight <= ow || ph + vScrollWidth <= oh)
        ex = ey = 0;  // one bar is enough room: the other direction fits
    else if (pw <= ow && ph <= oh)
        ex = ey = 0;
    const auto range = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
    };
    return TScrollRanges{range(pw - ow + ex), range(ph - oh + ey)};
}

int WipeStepCount(int outerWidth) { return outerWidth / kWipeStripe; }

}  // namespace vexa
