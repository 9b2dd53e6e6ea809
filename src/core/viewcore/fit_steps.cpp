#include "viewcore/fit_steps.h"

#include <algorithm>
#include <cstdint>

namespace vexa {

namespace {
int FrameExtent(int picture, int extra) {
    // Sizes from files and learned extras: never below 0, never past int.
    return static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t{picture} - extra, 0, INT32_MAX));
}
}  // namespace

int FitFrameToPicture(TFitTarget& target, int pictureWidth, int pictureHeight, TFitExtras& extras) {
    if (target.ViewOuterWidth() == pictureWidth && target.ViewOuterHeight() == pictureHeight)
        return 0;
    if (target.FrameSizeFixed()) return 0;
    const TFitSize asked{FrameExtent(pictureWidth, extras.Width), FrameExtent(pictureHeight, extras.Height)};
    const TFitSize took = target.ResizeFrame(asked.Width, asked.Height);
    if (target.ViewOuterWidth() == pictureWidth && target.ViewOuterHeight() == pictureHeight)
        return 1;
    // The miss, measured against the size the frame really took: where the
    // frame took the size asked for, this adds the view's miss to the extras;
    // where its limits (bars, screen) overruled the request, the view still
    // tells the decorations' size truly.
    extras.Width = target.ViewOuterWidth() - took.Width;
    extras.Height = target.ViewOuterHeight() - took.Height;
    target.ResizeFrame(FrameExtent(pictureWidth, extras.Width),
                       FrameExtent(pictureHeight, extras.Height));
    return 2;
}

}  // namespace vexa
