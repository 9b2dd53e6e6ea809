// What the picture view's content holds at its zoom: one picture, or the
// scene and the photo together; the scale they are drawn at, where each
// starts and how large the whole content is, in screen pixels.
#pragma once

#include "viewcore/zoom.h"

namespace vexa {

struct TViewLayoutInput {
    bool Loaded = false;  // without a puzzle the welcome page shows, unscaled
    bool Pair = false;    // the scene and the photo together
    TZoom Zoom;
    // The picture of the mode; with Pair, the scene.
    int MainWidth = 0, MainHeight = 0;
    // The photo shown beside the scene (Pair only).
    int PhotoWidth = 0, PhotoHeight = 0;
    // The view's outer size, which a fit fills, and the room the screen
    // offers, which decides between beside and above at a chosen zoom.
    int ViewWidth = 0, ViewHeight = 0;
    int ScreenWidth = 0, ScreenHeight = 0;
};

struct TViewLayout {
    double Scale = 1.0;
    bool Beside = true;  // with Pair: the photo right of the scene, else below it
    int MainX = 0, MainY = 0;
    int PhotoX = 0, PhotoY = 0;  // with Pair
    int Width = 0, Height = 0;
};

TViewLayout LayOutView(const TViewLayoutInput& in);

}  // namespace vexa
