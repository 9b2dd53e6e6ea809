// Where the scene and the photo go when both show at once: beside each other
// or one above the other, whichever lets the two show larger on the screen.
#pragma once

namespace vexa {

// Room between the two pictures, in screen pixels (not scaled with the pictures).
inline constexpr int kPairGap = 8;

struct TPairLayout {
    bool SideBySide = true;  // false: the scene above the photo
    // Origins of each picture in the view's content, in screen pixels.
    int SceneX = 0;
    int SceneY = 0;
    int PhotoX = 0;
    int PhotoY = 0;
    // The content both pictures and the gap take.
    int Width = 0;
    int Height = 0;
};

// The scene comes first (left or top), the photo second; both start at the
// content's edge on the other axis. Sizes are picture pixels, scaled by
// `scale` (rounded); `availWidth` x `availHeight` is the room the screen
// offers the view. The arrangement whose whole content fits the room at the
// larger factor wins; a tie goes beside each other. Non-positive sizes count
// as 0 and a non-positive scale as 1.
TPairLayout LayOutPair(int sceneWidth, int sceneHeight, int photoWidth, int photoHeight,
                       int availWidth, int availHeight, double scale = 1.0);

// The largest scale at which both pictures and the gap fit wholly into the
// room, beside or above each other, within the fit's limits (viewcore/zoom.h).
double FitPairScale(int sceneWidth, int sceneHeight, int photoWidth, int photoHeight, int availWidth,
                    int availHeight);

}  // namespace vexa
