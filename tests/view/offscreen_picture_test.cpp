#include "view/offscreen_picture.h"

#include "view_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace vexa {
namespace {

using test::Dib24;
using test::Dib24Of;
using test::DibHeader;
using test::Pattern;
using test::SetPair;

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

// A 2 x 2 24-bit block whose header claims 2 x 3: one row short.
Block ShortOfARow() {
    Block b = Dib24({{kRed, kGreen}, {kBlue, kWhite}});
    test::Put32(b, 8, 3);
    return b;
}

TEST(BuildModePictures, ReportsEachFailureAndLeavesBothPicturesEmpty) {
    const Block good = Dib24Of(4, 3, Pattern);
    struct Case {
        const char* name;
        int mode;
        std::function<void(TPuzzleData&)> setUp;
        const char* want;
        bool sizeStored;  // the pair's size reached the out-parameters
    };
    const Case cases[] = {
        {"pair without a base picture", 207, [](TPuzzleData&) {}, "データが無効です", false},
        {"mode below the mode ids", 201, [&](TPuzzleData& p) { SetPair(p, 0, good, 4, 3); },
         "データが無効です", false},
        {"mode above the mode ids", 209, [&](TPuzzleData& p) { SetPair(p, 4, good, 4, 3); },
         "データが無効です", false},
        {"header claiming 60000 x 60000",
         207, [](TPuzzleData& p) { SetPair(p, 4, DibHeader(60000, 60000, 24), 4, 3); },
         "基本BMP用の仮想画面を作れません", false},
        {"negative width", 203, [](TPuzzleData& p) { SetPair(p, 0, DibHeader(-4, 3, 24), 4, 3); },
         "基本BMP用の仮想画面を作れません", false},
        {"header claiming more rows than the block holds", 204,
         [](TPuzzleData& p) { SetPair(p, 1, ShortOfARow(), 2, 3); }, "基本BMPを描画できません", false},
        {"block shorter than its header", 205,
         [&](TPuzzleData& p) { SetPair(p, 2, Block(good.begin(), good.begin() + 16), 4, 3); },
         "基本BMPを描画できません", false},
        {"huge spare picture", 206,
         [&](TPuzzleData& p) { SetPair(p, 3, good, 4, 3, DibHeader(60000, 60000, 24)); },
         "予備BMP用の仮想画面を作れません", true},
        {"spare picture one row short", 202,
         [&](TPuzzleData& p) { SetPair(p, 0, good, 4, 3, ShortOfARow()); }, "予備BMPを描画できません",
         true},
    };
    for (const Case& c : cases) {
        TPuzzleData puzzle;
        c.setUp(puzzle);
        TOffscreenPicture base, spare;
        ASSERT_TRUE(CreateOffscreen(base, 2, 2));  // left from an earlier mode
        int width = -1, height = -1;
        const QString have = BuildModePictures(puzzle, c.mode, width, height, base, spare);
        EXPECT_EQ(have, QString::fromUtf8(c.want)) << c.name;
        EXPECT_FALSE(base.Exists()) << c.name;
        EXPECT_FALSE(spare.Exists()) << c.name;
        EXPECT_EQ(width, c.sizeStored ? 4 : -1) << c.name;
        EXPECT_EQ(height, c.sizeStored ? 3 : -1) << c.name;
    }
}

// Only data shorter than its header is refused; a picture in a form that
// cannot be drawn is shown blank and the puzzle stays playable.
TEST(BuildModePictures, AnUnknownFormOrZeroSizeBuildsABlankPicture) {
    Block jpegInside = Dib24Of(4, 3, Pattern);
    jpegInside[16] = 4;  // compression: an embedded JPEG stream
    Block noRows = Dib24Of(4, 3, Pattern);
    noRows[8] = 0;  // height 0
    for (const Block& block : {jpegInside, noRows}) {
        TPuzzleData puzzle;
        SetPair(puzzle, 4, block, 4, 3);
        TOffscreenPicture base, spare;
        int width = -1, height = -1;
        EXPECT_EQ(BuildModePictures(puzzle, 207, width, height, base, spare), QString());
        EXPECT_TRUE(base.Exists());
        EXPECT_EQ(width, 4);
        EXPECT_EQ(height, 3);
        for (int y = 0; y < base.Height(); ++y)
            for (int x = 0; x < base.Width(); ++x) ASSERT_EQ(base.Image.pixel(x, y), kBlack);
    }
}

TEST(BuildModePictures, EachModeShowsItsPair) {
    // Pair i is one flat colour, so the built picture tells which pair it came from.
    const QRgb colours[kPairCount] = {kRed, kGreen, kBlue, kWhite, qRgb(10, 20, 30)};
    TPuzzleData puzzle;
    for (int pair = 0; pair < kPairCount; ++pair)
        SetPair(puzzle, pair, Dib24Of(3, 2, [&](int, int) { return colours[pair]; }), 3, 2);
    struct Case {
        int mode;
        int pair;
    };
    for (const Case& c : {Case{202, 0}, Case{203, 0}, Case{204, 1}, Case{205, 2}, Case{206, 3},
                          Case{207, 4}, Case{208, 4}}) {
        TOffscreenPicture base, spare;
        int width = 0, height = 0;
        EXPECT_EQ(BuildModePictures(puzzle, c.mode, width, height, base, spare), QString()) << c.mode;
        ASSERT_TRUE(base.Exists()) << c.mode;
        EXPECT_EQ(base.Image.pixel(2, 1), colours[c.pair]) << c.mode;
        EXPECT_FALSE(spare.Exists()) << "no spare picture in the pair, mode " << c.mode;
    }
}

TEST(BuildModePictures, PicturesTakeTheHeaderSizeAndThePictureSizeComesFromThePair) {
    TPuzzleData puzzle;
    // Display size 5 x 2 while the blocks are 4 x 3 (base) and 2 x 2 top-down (spare).
    SetPair(puzzle, 4, Dib24Of(4, 3, Pattern), 5, 2, Dib24({{kRed, kGreen}, {kBlue, kWhite}}, true));
    TOffscreenPicture base, spare;
    int width = 0, height = 0;
    ASSERT_EQ(BuildModePictures(puzzle, 207, width, height, base, spare), QString());
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(base.Image.size(), QSize(4, 3));
    EXPECT_EQ(spare.Image.size(), QSize(2, 2));
    EXPECT_EQ(spare.Image.pixel(0, 0), kRed);
    EXPECT_EQ(spare.Image.pixel(1, 1), kWhite);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(base.Image.pixel(x, y), Pattern(x, y)) << x << "," << y;
}

TEST(DrawPictureBlock, DrawsClippedToThePictureAndLeavesTheRestBlack) {
    const Block rows = Dib24({{kRed, kGreen, kBlue}, {kWhite, kRed, kGreen}});
    // An 8-bit block with two colours; index 5 lies past the table and draws black.
    Block indexed = DibHeader(3, 1, 8, 2, {kBlue, kGreen});
    for (std::uint8_t v : {1, 5, 0, 0}) indexed.push_back(v);
    struct Case {
        const char* name;
        Block block;
        QSize picture;
        QPoint at;
        std::vector<std::vector<QRgb>> want;  // top row first
    };
    const Case cases[] = {
        {"same size", rows, {3, 2}, {0, 0}, {{kRed, kGreen, kBlue}, {kWhite, kRed, kGreen}}},
        {"picture smaller than the block", rows, {2, 1}, {0, 0}, {{kRed, kGreen}}},
        {"picture larger: the rest stays black", rows, {4, 3}, {0, 0},
         {{kRed, kGreen, kBlue, kBlack}, {kWhite, kRed, kGreen, kBlack}, {kBlack, kBlack, kBlack, kBlack}}},
        {"drawn at an offset, partly outside", rows, {3, 2}, {1, 1},
         {{kBlack, kBlack, kBlack}, {kBlack, kRed, kGreen}}},
        {"drawn left of and above the picture", rows, {2, 2}, {-1, -1}, {{kRed, kGreen}, {kBlack, kBlack}}},
        {"indexes past the colour table draw black", indexed, {3, 1}, {0, 0}, {{kGreen, kBlack, kBlue}}},
    };
    for (const Case& c : cases) {
        TOffscreenPicture picture;
        ASSERT_TRUE(CreateOffscreen(picture, c.picture.width(), c.picture.height()));
        QList<QRgb> palette;
        ASSERT_EQ(BuildPalette(c.block, palette), 0);
        EXPECT_TRUE(DrawPictureBlock(picture, c.at.x(), c.at.y(), palette, c.block)) << c.name;
        for (int y = 0; y < c.picture.height(); ++y)
            for (int x = 0; x < c.picture.width(); ++x)
                EXPECT_EQ(picture.Image.pixel(x, y), c.want[y][x]) << c.name << " at " << x << "," << y;
    }
}

TEST(DrawPictureBlock, RefusesAnAbsentOrTooShortBlockAndDrawsNothingOfAnUnknownForm) {
    Block unknownCompression = Dib24({{kRed, kRed}, {kRed, kRed}});
    unknownCompression[16] = 9;
    Block zeroWidth = Dib24({{kRed, kRed}, {kRed, kRed}});
    zeroWidth[4] = 0;
    struct Case {
        const char* name;
        Block block;
        bool want;
    };
    const Case cases[] = {
        {"absent", Block{}, false},
        {"short of a row", ShortOfARow(), false},
        {"seven bits per pixel", DibHeader(2, 2, 7), true},
        {"unknown compression", unknownCompression, true},
        {"zero width", zeroWidth, true},
    };
    for (const Case& c : cases) {
        TOffscreenPicture picture;
        ASSERT_TRUE(CreateOffscreen(picture, 2, 2));
        EXPECT_EQ(DrawPictureBlock(picture, 0, 0, {}, c.block), c.want) << c.name;
        EXPECT_EQ(picture.Image.pixel(1, 1), kBlack) << c.name << ": nothing drawn";
    }
}

TEST(OffscreenPicture, StartsBlackAndReleasesOnce) {
    TOffscreenPicture picture;
    EXPECT_FALSE(ReleasePicture(picture));
    ASSERT_TRUE(CreateOffscreen(picture, 7, 5));
    EXPECT_TRUE(picture.Exists());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(picture.Image.pixel(x, y), kBlack);
    EXPECT_TRUE(ReleasePicture(picture));
    EXPECT_FALSE(picture.Exists());
    EXPECT_TRUE(picture.Image.isNull());
    EXPECT_FALSE(ReleasePicture(picture));

    EXPECT_FALSE(CreateOffscreen(picture, 32767, 32767));
    EXPECT_FALSE(picture.Exists());
    EXPECT_FALSE(CreateOffscreen(picture, -1, 5));
    EXPECT_TRUE(CreateOffscreen(picture, 0, 0));  // an empty picture is still a picture
    EXPECT_TRUE(picture.Exists());
}

TEST(BuildPalette, TakesTheColourCountEntriesFromOffset40) {
    const std::vector<QRgb> sixteen(16, qRgb(1, 2, 3));
    struct Case {
        const char* name;
        Block block;
        int wantCount;
    };
    const Case cases[] = {
        {"24 bits: no table", DibHeader(1, 1, 24), 0},
        {"8 bits, biClrUsed 16", DibHeader(1, 1, 8, 16, sixteen), 16},
        {"8 bits, biClrUsed 0", DibHeader(1, 1, 8, 0, sixteen), 256},
        {"1 bit", DibHeader(1, 1, 1, 0, {kRed, kBlue}), 2},
    };
    for (const Case& c : cases) {
        QList<QRgb> palette;
        EXPECT_EQ(BuildPalette(c.block, palette), 0) << c.name;
        EXPECT_EQ(palette.size(), c.wantCount) << c.name;
    }
    // Entries are blue, green, red, reserved; those past the block read black.
    QList<QRgb> palette;
    BuildPalette(DibHeader(1, 1, 8, 0, sixteen), palette);
    EXPECT_EQ(palette[15], qRgb(1, 2, 3));
    EXPECT_EQ(palette[16], kBlack);
    EXPECT_EQ(palette[255], kBlack);
}

}  // namespace
}  // namespace vexa
