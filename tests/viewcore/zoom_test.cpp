#include "viewcore/pair_layout.h"
#include "viewcore/zoom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexa {
namespace {

TEST(Zoom, StepsInAndOutFromAStepOrFromBetweenThem) {
    struct {
        double Scale;
        int In, Out;
    } const cases[] = {
        {1.0, 125, 75},   {0.5, 67, 50},      {4.0, 400, 300},   {0.67, 75, 50},
        {0.3, 50, 50},    {9.0, 400, 400},    {1.1, 125, 100},   {0.999, 125, 75},  // a fit a hair below 100 %
        {1.26, 150, 125}, {3.5, 400, 300},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZoomInStep(c.Scale), c.In) << c.Scale;
        EXPECT_EQ(ZoomOutStep(c.Scale), c.Out) << c.Scale;
    }
}

TEST(Zoom, FitScaleFitsTheWholePictureWithinLimits) {
    EXPECT_DOUBLE_EQ(FitScale(120, 90, 1200, 900), 4.0);  // a stamp grows, but not past 400 %
    EXPECT_DOUBLE_EQ(FitScale(2000, 1000, 1000, 1000), 0.5);
    EXPECT_DOUBLE_EQ(FitScale(1000, 2000, 1000, 1000), 0.5);
    EXPECT_DOUBLE_EQ(FitScale(100000, 10, 100, 100), kMinFitScale);
    EXPECT_DOUBLE_EQ(FitScale(0, 90, 1200, 900), 1.0);
    EXPECT_DOUBLE_EQ(FitScale(100, 100, 0, -5), kMinFitScale);
}

TEST(Zoom, PairFitLeavesRoomForTheGapInTheBetterArrangement) {
    // Two 400 x 300 pictures in 1000 x 1000: beside gives (1000-8)/800, above
    // min(1000/400, (1000-8)/600); above wins.
    EXPECT_DOUBLE_EQ(FitPairScale(400, 300, 400, 300, 1000, 1000), 992.0 / 600);
    EXPECT_DOUBLE_EQ(FitPairScale(300, 400, 300, 400, 1000, 1000), std::min(992.0 / 600, 1000.0 / 400));
    // At the fitted scale the layout's content fits the room.
    const double s = FitPairScale(640, 480, 640, 480, 1280, 700);
    const TPairLayout layout = LayOutPair(640, 480, 640, 480, 1280, 700, s);
    EXPECT_LE(layout.Width, 1280);
    EXPECT_LE(layout.Height, 700);
}

TEST(Zoom, ContentAndPicturePixelsMapBothWays) {
    for (const double scale : {0.5, 0.67, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0}) {
        for (int p = -30; p < 200; ++p) {
            // Zoomed in, every picture pixel's first content pixel maps back
            // to it; zoomed out, to it or to the pixel it hides.
            const int back = ToPicture(ToContent(p, scale), scale);
            if (scale >= 1) {
                EXPECT_EQ(back, p) << scale << " " << p;
                EXPECT_EQ(ToPicture(ToContent(p, scale) - 1, scale), p - 1) << scale << " " << p;
            } else {
                EXPECT_TRUE(back >= p && back <= p + 1) << scale << " " << p;
            }
        }
    }
    EXPECT_EQ(ToPicture(-1, 2.0), -1);  // rounded down, not towards zero
    EXPECT_EQ(ScaledLength(21, 2.0), 42);
    EXPECT_EQ(ScaledLength(1, 0.05), 1);
    EXPECT_EQ(ScaledLength(0, 3.0), 0);
    EXPECT_EQ(ScaledLength(1 << 30, 4.0), 1 << 20);
}

TEST(Zoom, AWheelNotchScrollsATenthOfTheViewAndAtLeastFortyPixels) {
    EXPECT_EQ(WheelScroll(1000, 1), 100);
    EXPECT_EQ(WheelScroll(1000, -1), -100);
    EXPECT_EQ(WheelScroll(120, 1), kMinWheelStep);
    EXPECT_EQ(WheelScroll(0, 3), 3 * kMinWheelStep);
    EXPECT_EQ(WheelScroll(800, 0.5), 40);
}

TEST(Zoom, ThePointUnderTheAnchorStaysPut) {
    // At 100 % scrolled to 100, the pointer at 50 is over picture x 150; at
    // 200 % that point is at content 300, so the scroll becomes 250.
    EXPECT_DOUBLE_EQ(PictureUnder(100, 50, 1.0, 0), 150.0);
    EXPECT_EQ(ScrollPlacing(150.0, 50, 2.0, 0), 250);
    // With the picture starting at 408 in the content (side by side), and
    // starting at 816 once zoomed.
    EXPECT_DOUBLE_EQ(PictureUnder(400, 100, 1.0, 408), 92.0);
    EXPECT_EQ(ScrollPlacing(92.0, 100, 2.0, 816), 92 * 2 + 816 - 100);
    // Half a picture pixel under the pointer at 200 % stays half a pixel.
    EXPECT_DOUBLE_EQ(PictureUnder(0, 3, 2.0, 0), 1.5);
    EXPECT_EQ(ScrollPlacing(1.5, 3, 4.0, 0), 3);
    EXPECT_EQ(ScrollPlacing(PictureUnder(0, 0, 1.0, 0), 0, 0.5, 0), 0);  // the top-left stays
}

TEST(Zoom, StoredFormRoundTripsAndRejectsOtherValues) {
    for (const int step : kZoomSteps) EXPECT_EQ(ParseZoom(FormatZoom(TZoom{false, step})), (TZoom{false, step}));
    EXPECT_EQ(ParseZoom("fit"), (TZoom{true, 100}));
    EXPECT_EQ(ParseZoom(" 200 "), (TZoom{false, 200}));
    for (const char* bad : {"", "0", "99", "1000", "FIT", "200%", "-100", "2e2"}) EXPECT_FALSE(ParseZoom(bad)) << bad;
}

}  // namespace
}  // namespace vexa
