// Which edits a made puzzle may use where, so that its differences look like
// the photo: a new colour only on a whole object and only one the photo has.
#include "authoring/photo_colours.h"
#include "authoring/photo_edits.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <random>
#include <string>

namespace {

using namespace vexa::authoring;

// The kinds that suit a region, as letters: R(emove) C(olour) A(dd) M(irror) S(ize) D(etail).
std::string Suited(const Region& region, double pictureArea) {
    std::string out;
    const char letters[] = "RCAMSD";
    for (int k = 0; k < kEditKinds; ++k)
        if (Suits(static_cast<EditKind>(k), region, pictureArea)) out += letters[k];
    return out;
}

TEST(NaturalEdits, EachKindOnlyWhereItLooksLikeThePhoto) {
    struct Case {
        const char* name;
        double contrast, texture, outline, areaShare;
        const char* kinds;
    };
    const Case cases[] = {
        {"a plain object clearly apart", 35, 6, 0.95, 0.006, "RCAMS"},
        {"a small plain object: a detail to take away", 35, 6, 0.95, 0.002, "CAMSD"},
        {"a striped or furry object: no new colour over its grain", 35, 20, 0.95, 0.006, "RAMS"},
        {"a piece of a larger object: nothing to take away or recolour", 35, 6, 0.3, 0.006, "AMS"},
        {"a faint object: taken away, not moved or recoloured", 12, 6, 0.9, 0.006, "R"},
        {"a patch of fur like its ground: nothing", 5, 8, 0.5, 0.006, ""},
        {"a large object: no copy, no hole to fill", 35, 6, 0.95, 0.02, "CMS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Region region;
        region.contrast = c.contrast;
        region.texture = c.texture;
        region.outline = c.outline;
        region.area = static_cast<int>(c.areaShare * 1e6);
        EXPECT_EQ(Suited(region, 1e6), c.kinds);
    }
}

// The levels a puzzle left short falls back on: each allows all a stricter
// one did (the maker tries on a level only what is new there), and a copy
// elsewhere never comes of a patch the strict level refuses it.
TEST(NaturalEdits, RelaxedLevelsAllowMoreButNeverACopyOfAPatch) {
    struct Case {
        const char* name;
        double contrast, texture, groundTexture, outline;
        const char* kinds[kSuitLevels];
    };
    const Case cases[] = {
        {"a faint thing on a plain ground", 7, 4, 3, 0.45, {"", "R", "R"}},
        {"a faint patch of fur: taken away only with its grain put back", 7, 8, 10, 0.45, {"", "", "R"}},
        {"an object with a softer outline: the photo's colour", 20, 12, 15, 0.75, {"RAMS", "RCAMS", "RCAMS"}},
        {"a patch barely apart from its ground: moved about, never copied", 11, 5, 4, 0.2, {"", "", "MS"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Region region;
        region.contrast = c.contrast;
        region.texture = c.texture;
        region.groundTexture = c.groundTexture;
        region.outline = c.outline;
        region.area = 6000;
        for (int level = 0; level < kSuitLevels; ++level) {
            std::string kinds;
            const char letters[] = "RCAMSD";
            for (int k = 0; k < kEditKinds; ++k) {
                const auto kind = static_cast<EditKind>(k);
                if (Suits(kind, region, 1e6, level)) {
                    kinds += letters[k];
                } else if (level > 0) {
                    EXPECT_FALSE(Suits(kind, region, 1e6, level - 1)) << letters[k] << " refused at level " << level;
                }
            }
            EXPECT_EQ(kinds, c.kinds[level]) << "level " << level;
        }
    }
}

// Muted ground and objects, each with some grain, as a photo has.
cv::Mat Muted(cv::Scalar ground, cv::Scalar square, cv::Scalar disc, int grain) {
    cv::Mat image(240, 320, CV_8UC3, ground);
    cv::rectangle(image, cv::Rect(180, 60, 100, 100), square, cv::FILLED);
    cv::circle(image, {80, 120}, 20, disc, cv::FILLED, cv::LINE_AA);
    std::mt19937 noise(5);
    for (int y = 0; y < image.rows; ++y)
        for (int x = 0; x < image.cols; ++x)
            for (int k = 0; k < 3; ++k) {
                uchar& v = image.at<cv::Vec3b>(y, x)[k];
                v = cv::saturate_cast<uchar>(v + static_cast<int>(noise() % (2 * grain + 1)) - grain);
            }
    return image;
}

Region DiscRegion() {
    Region r;
    r.box = {58, 98, 102, 142};
    r.mask = cv::Mat::zeros(44, 44, CV_8U);
    cv::circle(r.mask, {22, 22}, 21, 255, cv::FILLED);
    r.area = cv::countNonZero(r.mask);
    return r;
}

cv::Mat Lab(const cv::Mat& rgb) {
    cv::Mat lab;
    rgb.convertTo(lab, CV_32FC3, 1.0 / 255);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);
    return lab;
}

TEST(NaturalEdits, ARecolourTakesAHueOfThePhotoNoMoreVividThanItsColours) {
    // Beige ground, a large sage square, a small grainy brick-red disc: the
    // disc becomes beige or sage, and no pixel of it more vivid than the photo.
    const cv::Mat scene = Muted({200, 190, 170}, {120, 150, 110}, {170, 90, 80}, 14);
    const PhotoColours colours = ColoursOf(scene);
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        cv::Mat edited = scene.clone();
        SeededDraws draws(seed);
        EditArea area;
        ASSERT_TRUE(ApplyEdit(EditKind::Recolour, DiscRegion(), scene, colours, edited, {}, 12, draws, area));
        const cv::Rect touched(area.touched.left, area.touched.top, area.touched.right - area.touched.left,
                               area.touched.bottom - area.touched.top);
        const cv::Mat before = Lab(scene(touched)), after = Lab(edited(touched));
        double mostVivid = 0;
        for (int y = 0; y < after.rows; ++y)
            for (int x = 0; x < after.cols; ++x) {
                const cv::Vec3f p = after.at<cv::Vec3f>(y, x);
                mostVivid = std::max(mostVivid, std::hypot(double(p[1]), double(p[2])));
            }
        EXPECT_LE(mostVivid, colours.chromaCap + 3.0);  // 8-bit rounding
        const cv::Scalar was = cv::mean(before, area.blend), now = cv::mean(after, area.blend);
        double nearest = 10;
        for (const PaletteColour& p : colours.palette)
            nearest = std::min(nearest, HueDistance(std::atan2(now[2], now[1]), p.Hue()));
        EXPECT_LT(nearest, 0.45);
        EXPECT_GT(HueDistance(std::atan2(now[2], now[1]), std::atan2(was[2], was[1])), 0.7);
    }
}

TEST(NaturalEdits, NoRecolourWhereOnlyAGarishColourWouldDo) {
    struct Case {
        const char* name;
        cv::Mat scene;
    };
    const Case cases[] = {
        // Everything brown: any other hue would be one the photo never shows.
        {"a photo of one hue family", Muted({150, 120, 90}, {110, 80, 50}, {180, 120, 70}, 6)},
        // A grey object given a colour looks painted over.
        {"a grey object", Muted({200, 190, 170}, {120, 150, 110}, {128, 128, 128}, 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat edited = c.scene.clone();
        SeededDraws draws(1);
        EditArea area;
        EXPECT_FALSE(
            ApplyEdit(EditKind::Recolour, DiscRegion(), c.scene, ColoursOf(c.scene), edited, {}, 12, draws, area));
        EXPECT_EQ(cv::norm(edited, c.scene, cv::NORM_INF), 0.0);
    }
}

}  // namespace

namespace {

// The spread of the fine detail (what a blur of two pixels takes away) inside `mask`.
double Grain(const cv::Mat& rgb, const cv::Mat& mask) {
    cv::Mat f, smooth;
    rgb.convertTo(f, CV_32FC3);
    cv::GaussianBlur(f, smooth, cv::Size(0, 0), 2.0);
    cv::Scalar mean, deviation;
    cv::meanStdDev(f - smooth, mean, deviation, mask);
    return (deviation[0] + deviation[1] + deviation[2]) / 3;
}

}  // namespace

TEST(NaturalEdits, AFaintThingTakenFromAGrainyGroundLeavesGrainNotASmudge) {
    // A grainy ground (fur) with a slightly darker disc: inpainting alone
    // fills the hole smoothly, a smudge a player sees at once.
    const cv::Mat scene = Muted({170, 140, 110}, {170, 140, 110}, {150, 122, 95}, 24);
    Region disc = DiscRegion();
    disc.contrast = 7;
    disc.outline = 0.3;
    disc.texture = 12;
    disc.groundTexture = 12;
    cv::Mat edited = scene.clone();
    SeededDraws draws(1);
    EditArea area;
    ASSERT_TRUE(ApplyEdit(EditKind::Remove, disc, scene, ColoursOf(scene), edited, {}, 12, draws, area));
    const cv::Rect touched(area.touched.left, area.touched.top, area.touched.right - area.touched.left,
                           area.touched.bottom - area.touched.top);
    cv::Mat hole = cv::Mat::zeros(scene.size(), CV_8U);
    cv::circle(hole, {80, 120}, 16, 255, cv::FILLED);
    ASSERT_GT(cv::norm(edited(touched), scene(touched), cv::NORM_L1), 0.0);
    EXPECT_GT(Grain(edited, hole), 0.5 * Grain(scene, hole));
}
