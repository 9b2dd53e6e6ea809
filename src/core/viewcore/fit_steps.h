// Resizing the frame so that the view is exactly as large as its picture,
// written against a small interface so it runs without windows.
#pragma once

namespace vexa {

// Learned difference between the view's outer size and the frame's size.
// Negative once learned: the frame is larger than the view by its decorations.
struct TFitExtras {
    int Width = 0;
    int Height = 0;
};

struct TFitSize {
    int Width = 0;
    int Height = 0;
};

class TFitTarget {
public:
    virtual ~TFitTarget() = default;
    virtual int ViewOuterWidth() const = 0;
    virtual int ViewOuterHeight() const = 0;
    // Minimised, maximised or full screen: the frame's size is not ours to set.
    virtual bool FrameSizeFixed() const = 0;
    // Resizes the frame keeping its position; the view's outer size is
    // recorded before this returns. Returns the size the frame took, which
    // differs from the one asked for where the frame may not be that small
    // (its bars need the room) or that large (the screen ends there).
    virtual TFitSize ResizeFrame(int width, int height) = 0;
};

// Returns the number of resizes done (0, 1 or 2). The second resize happens
// only when the first missed, after `extras` learned the difference between
// the view and the size the frame took (the same as adding the miss when the
// frame took the size asked for; still right when its limits overruled it).
int FitFrameToPicture(TFitTarget& target, int pictureWidth, int pictureHeight, TFitExtras& extras);

}  // namespace vexa
