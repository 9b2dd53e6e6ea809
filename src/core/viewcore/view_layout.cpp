#include "viewcore/view_layout.h"

#include "viewcore/pair_layout.h"

namespace vexa {

TViewLayout LayOutView(const TViewLayoutInput& in) {
    TViewLayout out;
    if (!in.Loaded) {
        out.Width = in.MainWidth;
        out.Height = in.MainHeight;
        return out;
    }
    if (!in.Pair) {
        out.Scale = in.Zoom.Fit ? FitScale(in.MainWidth, in.MainHeight, in.ViewWidth, in.ViewHeight)
                                : in.Zoom.Percent / 100.0;
        out.Width = ScaledLength(in.MainWidth, out.Scale);
        out.Height = ScaledLength(in.MainHeight, out.Scale);
        return out;
    }
    // A fit chooses beside or above for the window; a chosen zoom for the screen.
    int roomW = in.ScreenWidth, roomH = in.ScreenHeight;
    if (in.Zoom.Fit) {
        out.Scale = FitPairScale(in.MainWidth, in.MainHeight, in.PhotoWidth, in.PhotoHeight, in.ViewWidth,
                                 in.ViewHeight);
        roomW = in.ViewWidth;
        roomH = in.ViewHeight;
    } else {
        out.Scale = in.Zoom.Percent / 100.0;
    }
    const TPairLayout pair =
        LayOutPair(in.MainWidth, in.MainHeight, in.PhotoWidth, in.PhotoHeight, roomW, roomH, out.Scale);
    out.Beside = pair.SideBySide;
    out.MainX = pair.SceneX;
    out.MainY = pair.SceneY;
    out.PhotoX = pair.PhotoX;
    out.PhotoY = pair.PhotoY;
    out.Width = pair.Width;
    out.Height = pair.Height;
    return out;
}

}  // namespace vexa
