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

int ScrollToShow(int scroll, int visible, int start, int length) {
    // 64 bits: a far-off start plus its length must not overflow.
    const long long end = static_cast<long long>(start) + length;
    if (start < scroll || length > visible) return start;
    if (end > static_cast<long long>(scroll) + visible) return static_cast<int>(end - visible);
    return scroll;
}

std::optional<TDiffRect> DiffRectWithin(const TDiffRect& rect, int x0, int y0, int x1, int y1) {
    TDiffRect within;
    within.Left = std::clamp(std::min(rect.Left, rect.Right), x0, x1);
    within.Right = std::clamp(std::max(rect.Left, rect.Right), x0, x1);
    within.Top = std::clamp(std::min(rect.Top, rect.Bottom), y0, y1);
    within.Bottom = std::clamp(std::max(rect.Top, rect.Bottom), y0, y1);
    if (within.Right - within.Left < 1 || within.Bottom - within.Top < 1) return std::nullopt;
    return within;
}

}  // namespace vexa
