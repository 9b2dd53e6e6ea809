#include "viewcore/pair_layout.h"
#include "viewcore/view_layout.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TViewLayoutInput Input(bool pair, TZoom zoom) {
    TViewLayoutInput in;
    in.Loaded = true;
    in.Pair = pair;
    in.Zoom = zoom;
    in.MainWidth = 320;
    in.MainHeight = 240;
    in.PhotoWidth = 320;
    in.PhotoHeight = 240;
    in.ViewWidth = 700;
    in.ViewHeight = 600;
    in.ScreenWidth = 1280;
    in.ScreenHeight = 1000;
    return in;
}

TEST(ViewLayout, OnePictureAtAStepOrFittedIntoTheView) {
    TViewLayout l = LayOutView(Input(false, TZoom{false, 200}));
    EXPECT_DOUBLE_EQ(l.Scale, 2.0);
    EXPECT_EQ(l.Width, 640);
    EXPECT_EQ(l.Height, 480);
    EXPECT_EQ(l.MainX, 0);

    l = LayOutView(Input(false, TZoom{true, 100}));
    EXPECT_DOUBLE_EQ(l.Scale, 700.0 / 320);  // the narrower way decides
    EXPECT_LE(l.Width, 700);
    EXPECT_LE(l.Height, 600);
}

TEST(ViewLayout, TheWelcomePageIsNeverScaled) {
    TViewLayoutInput in = Input(true, TZoom{false, 400});
    in.Loaded = false;
    in.MainWidth = 500;
    in.MainHeight = 350;
    const TViewLayout l = LayOutView(in);
    EXPECT_DOUBLE_EQ(l.Scale, 1.0);
    EXPECT_EQ(l.Width, 500);
    EXPECT_EQ(l.Height, 350);
}

TEST(ViewLayout, ThePairGoesWhereTheScreenOrTheFittedWindowShowsItLarger) {
    // At a chosen zoom the screen (wide) decides: beside.
    TViewLayoutInput wide = Input(true, TZoom{false, 100});
    wide.ScreenWidth = 1600;
    wide.ScreenHeight = 900;
    TViewLayout l = LayOutView(wide);
    EXPECT_TRUE(l.Beside);
    EXPECT_EQ(l.PhotoX, 320 + kPairGap);
    EXPECT_EQ(l.Width, 640 + kPairGap);
    EXPECT_EQ(l.Height, 240);

    // Fitted into a tall window: above, and it fits.
    TViewLayoutInput in = Input(true, TZoom{true, 100});
    in.ViewWidth = 500;
    in.ViewHeight = 900;
    l = LayOutView(in);
    EXPECT_FALSE(l.Beside);
    EXPECT_EQ(l.PhotoX, 0);
    EXPECT_GT(l.PhotoY, 0);
    EXPECT_LE(l.Width, 500);
    EXPECT_LE(l.Height, 900);
    EXPECT_GT(l.Scale, 1.5);
}

}  // namespace
}  // namespace vexa
