// The change measure on small drawn scenes, one kind of change per case, as
// drawn and with both pictures stored as JPEG at quality 75: each change is
// found as one change around what was changed, and JPEG noise, a slight
// brightening or a shifted copy give no change at all.
#include "authoring/change_measure.h"
#include "photo_picture.h"

#include <gtest/gtest.h>

#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using vexa::DibPixels;
using vexa::authoring::Box;
using vexa::authoring::BoxJson;
using vexa::authoring::ChangeMap;
using vexa::authoring::MeasureChanges;
using vexa::authoring::MeasureSettings;

constexpr int kW = 160, kH = 120;

struct Rgb {
    int r, g, b;
};

std::uint32_t Pack(Rgb c) {
    auto clamp = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return 0xFF000000u | clamp(c.r) << 16 | clamp(c.g) << 8 | clamp(c.b);
}
Rgb Unpack(std::uint32_t p) {
    return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
}

// A photo-like scene: a sky-to-ground gradient with fine grain, a striped
// hedge, and a few objects with soft edges.
struct Disc {
    double cx, cy, radius;
    Rgb colour;
};
const Disc kRedBall{40, 40, 9, {180, 70, 55}};
const Disc kGreenBush{118, 38, 11, {60, 140, 50}};
const Disc kBlueStone{80, 92, 7, {120, 115, 110}};

double Coverage(const Disc& d, int x, int y) {
    const double r = std::hypot(x - d.cx, y - d.cy);
    return std::clamp(d.radius + 0.5 - r, 0.0, 1.0);
}

Rgb Ground(int x, int y) {
    const int grain = static_cast<int>((x * 73856093u ^ y * 19349663u) % 9) - 4;
    if (y < 60) return {120 + y + grain, 160 + y / 2 + grain, 220 - y / 3 + grain};
    const int stripe = ((x + y / 2) / 6) % 2 ? 14 : 0;
    return {70 + stripe + grain, 110 + stripe + grain, 50 + grain};
}

Rgb Blend(Rgb a, Rgb b, double t) {
    return {static_cast<int>(std::lround(a.r + (b.r - a.r) * t)), static_cast<int>(std::lround(a.g + (b.g - a.g) * t)),
            static_cast<int>(std::lround(a.b + (b.b - a.b) * t))};
}

DibPixels Draw(const std::function<Rgb(int, int)>& colour) {
    DibPixels p;
    p.Width = kW, p.Height = kH, p.BitCount = 32;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) p.Argb.push_back(Pack(colour(x, y)));
    return p;
}

Rgb SceneAt(int x, int y, const std::vector<Disc>& discs) {
    Rgb c = Ground(x, y);
    for (const Disc& d : discs) c = Blend(c, d.colour, Coverage(d, x, y));
    // An asymmetric sign: a post with a flag to its right.
    if (x >= 10 && x < 13 && y >= 70 && y < 100) c = {90, 60, 30};
    if (x >= 13 && x < 26 && y >= 70 && y < 78) c = {230, 200, 40};
    return c;
}

const DibPixels& Scene() {
    static const DibPixels scene = Draw([](int x, int y) { return SceneAt(x, y, {kRedBall, kGreenBush, kBlueStone}); });
    return scene;
}

DibPixels Edited(const std::function<Rgb(int, int, Rgb)>& edit) {
    const DibPixels& scene = Scene();
    return Draw([&](int x, int y) { return edit(x, y, Unpack(scene.Argb[static_cast<std::size_t>(y) * kW + x])); });
}

// Through a JPEG stream at `quality` (4:2:0, as cameras store) and back,
// libjpeg both ways.
DibPixels Jpeg(const DibPixels& in, int quality) {
    vexa::bench::RgbPicture rgb;
    rgb.Width = in.Width, rgb.Height = in.Height;
    for (const std::uint32_t argb : in.Argb) {
        const Rgb p = Unpack(argb);
        rgb.Pixels.insert(rgb.Pixels.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                             static_cast<unsigned char>(p.b)});
    }
    vexa::bench::EncodeOptions options;
    options.Quality = quality;
    const vexa::bench::Bytes stream = vexa::bench::EncodeJpeg(rgb, options);

    std::vector<unsigned char> row(static_cast<std::size_t>(in.Width) * 3);
    jpeg_error_mgr err{};
    jpeg_decompress_struct d{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, stream.data(), static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    DibPixels out;
    out.Width = in.Width, out.Height = in.Height, out.BitCount = 32;
    while (d.output_scanline < d.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&d, rows, 1);
        for (int x = 0; x < in.Width; ++x) out.Argb.push_back(Pack({row[3 * x], row[3 * x + 1], row[3 * x + 2]}));
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

struct Case {
    std::string name;
    std::function<Rgb(int, int, Rgb)> edit;
    std::vector<Box> changed;  // what was changed, one box a change
};

std::vector<Case> Cases() {
    auto recoloured = [](Disc d, Rgb to) {
        d.colour = to;
        return d;
    };
    return {
        {"faint recolour of a bush (a hue turn, little brightness)",
         [=](int x, int y, Rgb was) {
             return Blend(was, SceneAt(x, y, {kRedBall, recoloured(kGreenBush, {95, 130, 55}), kBlueStone}), 1.0);
         },
         {{107, 27, 130, 50}}},
        {"removal with a soft edge",
         [](int x, int y, Rgb was) {
             const double r = std::hypot(x - kRedBall.cx, y - kRedBall.cy);
             return Blend(was, Ground(x, y), std::clamp((14.0 - r) / 4.0, 0.0, 1.0));
         },
         {{31, 31, 50, 50}}},
        {"mirrored sign (its post stays where it was)",
         [](int x, int y, Rgb was) {
             return x >= 8 && x < 36 && y >= 70 && y < 100 ? SceneAt(8 + 35 - x, y, {kRedBall, kGreenBush, kBlueStone})
                                                           : was;
         },
         {{10, 70, 34, 100}}},
        {"thin detail: a wire one pixel wide",
         [](int x, int y, Rgb was) { return y == 20 && x >= 60 && x < 100 ? Rgb{40, 40, 40} : was; },
         {{60, 20, 100, 21}}},
        {"at the border: the ground recoloured up to the edge",
         [](int x, int y, Rgb was) { return x < 12 && y >= 100 ? Rgb{was.r + 60, was.g - 40, was.b + 40} : was; },
         {{0, 100, 12, 120}}},
        {"two changes 11 pixels apart stay two",
         [](int x, int y, Rgb was) {
             if (y >= 85 && y < 95 && x >= 100 && x < 110) return Rgb{220, 40, 40};
             if (y >= 85 && y < 95 && x >= 121 && x < 131) return Rgb{40, 40, 220};
             return was;
         },
         {{100, 85, 110, 95}, {121, 85, 131, 95}}},
    };
}

// `found` is one change a box of `want`: holding it but for `shave` pixels
// of soft edge, and not more than `slack` pixels beyond it.
void ExpectFound(const ChangeMap& map, const std::vector<Box>& want, int shave, int slack) {
    ASSERT_FALSE(map.shift);
    std::string found;
    for (const auto& c : map.changes) found += BoxJson(c.box);
    ASSERT_EQ(map.changes.size(), want.size()) << found;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto it = std::find_if(map.changes.begin(), map.changes.end(),
                                     [&](const auto& c) { return vexa::authoring::Overlap(c.box, want[i]); });
        ASSERT_NE(it, map.changes.end()) << BoxJson(want[i]) << " not found in " << found;
        const Box& got = it->box;
        const Box inner{want[i].left + shave, want[i].top + shave, want[i].right - shave, want[i].bottom - shave};
        EXPECT_TRUE(vexa::authoring::Inside(got, inner)) << BoxJson(got) << " misses part of " << BoxJson(want[i]);
        EXPECT_TRUE(vexa::authoring::Inside(vexa::authoring::Grown(want[i], slack, kW, kH), got))
            << BoxJson(got) << " reaches far beyond " << BoxJson(want[i]);
    }
}

TEST(ChangeMeasure, FindsEachKindOfChangeWhole) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const DibPixels photo = Edited(c.edit);
        {
            SCOPED_TRACE("as drawn");
            ExpectFound(MeasureChanges(Scene(), photo, {}), c.changed, 1, 3);
        }
        {
            SCOPED_TRACE("both stored as JPEG at quality 75");
            // The stream blurs soft edges, and a change shows in every 16 x 16
            // block of colour (2 x 2 subsampled) that it touches.
            ExpectFound(MeasureChanges(Jpeg(Scene(), 75), Jpeg(photo, 75), {}), c.changed, 2, 12);
        }
    }
}

TEST(ChangeMeasure, NoiseBrighteningAndShiftsAreNoChanges) {
    struct Noise {
        std::string name;
        DibPixels photo;
    };
    const std::vector<Noise> cases = {
        {"stored as JPEG at quality 75", Jpeg(Scene(), 75)},
        {"a camera JPEG (quality 92) against its re-save at 75", Jpeg(Jpeg(Scene(), 92), 75)},
        {"2 % brighter", Edited([](int, int, Rgb was) {
             return Rgb{was.r * 102 / 100, was.g * 102 / 100, was.b * 102 / 100};
         })},
        {"a slight colour cast", Edited([](int, int, Rgb was) { return Rgb{was.r + 4, was.g, was.b - 3}; })},
    };
    for (const Noise& c : cases) {
        SCOPED_TRACE(c.name);
        const bool camera = c.name.rfind("a camera", 0) == 0;
        const ChangeMap map = MeasureChanges(camera ? Jpeg(Scene(), 92) : Scene(), c.photo, {});
        EXPECT_TRUE(map.changes.empty()) << BoxJson(map.changes.front().box);
        EXPECT_TRUE(map.weak.empty()) << BoxJson(map.weak.front().box);
        EXPECT_FALSE(map.shift);
    }
}

TEST(ChangeMeasure, AShiftedPhotoIsReportedAsOneShift) {
    for (const auto& [dx, dy] : {std::pair{3, -2}, std::pair{-1, 0}, std::pair{0, 5}}) {
        SCOPED_TRACE(std::to_string(dx) + ", " + std::to_string(dy));
        const DibPixels& scene = Scene();
        const DibPixels photo = Edited([&](int x, int y, Rgb) {
            const int sx = std::clamp(x - dx, 0, kW - 1), sy = std::clamp(y - dy, 0, kH - 1);
            return Unpack(scene.Argb[static_cast<std::size_t>(sy) * kW + sx]);
        });
        const ChangeMap map = MeasureChanges(scene, photo, {});
        ASSERT_TRUE(map.shift);
        EXPECT_EQ(map.shift->dx, dx);
        EXPECT_EQ(map.shift->dy, dy);
        EXPECT_TRUE(map.changes.empty());
    }
}

// Faint, but over a fair area: a note for the author, not a change.
TEST(ChangeMeasure, AFaintChangeIsWeak) {
    const DibPixels photo = Edited([](int x, int y, Rgb was) {
        return x >= 60 && x < 90 && y >= 5 && y < 25 ? Rgb{was.r + 20, was.g + 20, was.b + 20} : was;
    });
    const ChangeMap map = MeasureChanges(Scene(), photo, {});
    EXPECT_TRUE(map.changes.empty());
    ASSERT_EQ(map.weak.size(), 1u);
    EXPECT_TRUE(vexa::authoring::Inside(vexa::authoring::Grown({60, 5, 90, 25}, 2, kW, kH), map.weak[0].box))
        << BoxJson(map.weak[0].box);
}

TEST(ChangeMeasure, ATolerancePicksThePlainChannelTest) {
    const DibPixels photo = Edited([](int x, int y, Rgb was) {
        return x >= 60 && x < 70 && y >= 90 && y < 100 ? Rgb{was.r + 40, was.g, was.b} : was;
    });
    MeasureSettings plain;
    plain.tolerance = 39;
    ASSERT_EQ(MeasureChanges(Scene(), photo, plain).changes.size(), 1u);
    EXPECT_EQ(BoxJson(MeasureChanges(Scene(), photo, plain).changes[0].box), "[60,90,70,100]");
    plain.tolerance = 40;
    EXPECT_TRUE(MeasureChanges(Scene(), photo, plain).changes.empty());
}

}  // namespace
