#include "viewcore/fit_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vexa {
namespace {

// A frame whose decorations take `chromeW` x `chromeH` around the view, and
// which may refuse to become smaller than a minimum (as window managers do).
class FakeFrame : public TFitTarget {
public:
    FakeFrame(int viewW, int viewH, int chromeW, int chromeH)
        : ViewW(viewW), ViewH(viewH), ChromeW(chromeW), ChromeH(chromeH) {}
    int ViewOuterWidth() const override { return ViewW; }
    int ViewOuterHeight() const override { return ViewH; }
    bool FrameSizeFixed() const override { return Fixed; }
    TFitSize ResizeFrame(int width, int height) override {
        Resizes.emplace_back(width, height);
        const int w = std::clamp(width, MinW, MaxW), h = std::clamp(height, MinH, MaxH);
        ViewW = w - ChromeW;
        ViewH = h - ChromeH;
        return {w, h};
    }

    int ViewW, ViewH, ChromeW, ChromeH;
    int MinW = 0, MinH = 0;
    int MaxW = 1 << 20, MaxH = 1 << 20;  // the screen's available area
    bool Fixed = false;
    std::vector<std::pair<int, int>> Resizes;
};

TEST(FitToPicture, LearnsTheFrameExtrasOnceAndThenFitsInOneResize) {
    FakeFrame frame(500, 350, 16, 90);
    TFitExtras extras;

    EXPECT_EQ(FitFrameToPicture(frame, 640, 480, extras), 2);
    EXPECT_EQ(frame.Resizes, (std::vector<std::pair<int, int>>{{640, 480}, {656, 570}}));
    EXPECT_EQ(frame.ViewW, 640);
    EXPECT_EQ(frame.ViewH, 480);
    EXPECT_EQ(extras.Width, -16);
    EXPECT_EQ(extras.Height, -90);

    frame.Resizes.clear();
    EXPECT_EQ(FitFrameToPicture(frame, 320, 200, extras), 1);
    EXPECT_EQ(frame.Resizes, (std::vector<std::pair<int, int>>{{336, 290}}));
    EXPECT_EQ(frame.ViewW, 320);
    EXPECT_EQ(frame.ViewH, 200);
}

TEST(FitToPicture, LeavesTheFrameAloneWhenItNeedNotOrMayNotChange) {
    struct Case {
        const char* name;
        int viewW, viewH;
        bool fixed;
    };
    for (const Case& c : {Case{"view already matches", 300, 200, false},
                          Case{"maximised or minimised frame", 500, 350, true},
                          Case{"matching and fixed", 300, 200, true}}) {
        FakeFrame frame(c.viewW, c.viewH, 16, 90);
        frame.Fixed = c.fixed;
        TFitExtras extras{-3, -4};
        EXPECT_EQ(FitFrameToPicture(frame, 300, 200, extras), 0) << c.name;
        EXPECT_TRUE(frame.Resizes.empty()) << c.name;
        EXPECT_EQ(extras.Width, -3) << c.name;
        EXPECT_EQ(extras.Height, -4) << c.name;
    }
}

TEST(FitToPicture, StopsAfterTheSecondResizeEvenWhenTheFrameRefuses) {
    FakeFrame frame(500, 350, 16, 90);
    frame.MinW = 400;  // the frame cannot get narrower than this
    TFitExtras extras;
    EXPECT_EQ(FitFrameToPicture(frame, 100, 100, extras), 2);
    EXPECT_EQ(frame.Resizes.size(), 2u);
    EXPECT_EQ(frame.ViewW, 384);
    EXPECT_EQ(frame.ViewH, 100);
    EXPECT_EQ(extras.Width, -16) << "learned from the width the frame took";
    EXPECT_EQ(extras.Height, -90);
}

// Bars that need room and a screen that ends: the frame keeps its limits, and
// what was learned stays right for the next picture that fits.
TEST(FitToPicture, LimitsOfTheFrameDoNotSpoilTheLearnedExtras) {
    struct Case {
        const char* name;
        int minW, maxW, maxH;
        int picW, picH;
        int wantViewW, wantViewH;
    };
    const Case cases[] = {
        {"narrow picture, wide menu bar", 450, 1 << 20, 1 << 20, 200, 150, 434, 150},
        {"picture larger than the screen", 0, 800, 570, 1000, 750, 784, 480},
    };
    for (const Case& c : cases) {
        FakeFrame frame(500, 350, 16, 90);
        TFitExtras extras;  // nothing learned yet
        frame.MinW = c.minW;
        frame.MaxW = c.maxW;
        frame.MaxH = c.maxH;
        FitFrameToPicture(frame, c.picW, c.picH, extras);
        EXPECT_EQ(frame.ViewW, c.wantViewW) << c.name;
        EXPECT_EQ(frame.ViewH, c.wantViewH) << c.name;
        EXPECT_EQ(extras.Width, -16) << c.name;
        EXPECT_EQ(extras.Height, -90) << c.name;

        frame.MinW = 0;
        frame.MaxW = frame.MaxH = 1 << 20;
        frame.Resizes.clear();
        EXPECT_EQ(FitFrameToPicture(frame, 320, 200, extras), 1) << c.name;
        EXPECT_EQ(frame.ViewW, 320) << c.name;
        EXPECT_EQ(frame.ViewH, 200) << c.name;
    }
}

TEST(FitToPicture, NeverAsksForANegativeFrameSize) {
    FakeFrame frame(500, 350, 16, 90);
    TFitExtras extras{40, 50};  // as if a frame had once been smaller than its view
    FitFrameToPicture(frame, 10, -20, extras);
    ASSERT_FALSE(frame.Resizes.empty());
    for (const auto& [w, h] : frame.Resizes) {
        EXPECT_GE(w, 0);
        EXPECT_GE(h, 0);
    }
}

}  // namespace
}  // namespace vexa
