// Offscreen pictures: the view never draws straight from a puzzle's picture
// blocks. A mode switch converts the pair's blocks once into screen-format
// images; painting and animation only copy rectangles between them.
#pragma once

#include "puzzle/view_mode.h"
#include "puzzle/puzzle_data.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace vexa {

// One offscreen picture. Exists() is true between a successful Create and the
// next Release. New pictures start black.
struct TOffscreenPicture {
    QImage Image;  // Format_RGB32; null for a 0-pixel picture
    bool Created = false;

    bool Exists() const { return Created; }
    int Width() const { return Image.width(); }
    int Height() const { return Image.height(); }
};

// Releases the picture; false when it was already empty.
bool ReleasePicture(TOffscreenPicture& picture);

// Makes the picture width x height pixels, black. False (picture left empty)
// for a negative size or one above kMaxPicturePixels, or when the memory
// cannot be had.
bool CreateOffscreen(TOffscreenPicture& picture, std::int64_t width, std::int64_t height);

// Draws the packed DIB 1:1 into the picture at (x, y), clipped to it. False
// when the block is absent or holds less than its header claims; nothing is
// drawn then. A form that cannot be drawn (an unknown compression or bit
// count) or a zero size draws nothing and is not a failure: the picture stays
// blank.
bool DrawPictureBlock(TOffscreenPicture& picture, int x, int y, const Block& block);

// Builds `base` and `spare` for `mode` (its PairOf) from the puzzle record.
// Returns an empty string on success, or the message to show: "データが無効です",
// "基本BMP用の仮想画面を作れません", "基本BMPを描画できません", and the two
// "予備BMP…" messages for the spare picture. After a failure both pictures are empty. Once the base picture is
// drawn, the pair's PairSizes are stored in `pictureWidth`/`pictureHeight`,
// even when the spare picture fails afterwards.
QString BuildModePictures(const TPuzzleData& puzzle, ViewMode mode, int& pictureWidth,
                          int& pictureHeight, TOffscreenPicture& base, TOffscreenPicture& spare);

}  // namespace vexa
