#include "view/offscreen_picture.h"

#include "picture/dib_pixels.h"
#include "view/core/picture_header.h"

#include <QPainter>

#include <algorithm>
#include <new>

namespace vexa {

bool ReleasePicture(TOffscreenPicture& picture) {
    if (!picture.Created) return false;
    picture = TOffscreenPicture{};
    return true;
}

bool CreateOffscreen(TOffscreenPicture& picture, std::int64_t width, std::int64_t height) {
    picture = TOffscreenPicture{};
    if (!OffscreenSizeAllowed(width, height)) return false;
    if (width > 0 && height > 0) {
        QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
        if (image.isNull()) return false;  // the memory could not be had
        image.fill(Qt::black);
        picture.Image = std::move(image);
    }
    picture.Created = true;
    return true;
}

int BuildPalette(const Block& block, QList<QRgb>& palette) {
    const TDibHeaderFields header = ReadDibHeaderFields(block.data(), block.size());
    const unsigned n = ColorCount(header);
    try {
        palette.clear();
        palette.reserve(n);
        for (unsigned i = 0; i < n; ++i) {
            const std::size_t at = ColorTableEntryOffset(i);
            if (at + 3 > block.size()) {
                palette.append(qRgb(0, 0, 0));  // entries past the block: black
                continue;
            }
            palette.append(qRgb(block[at + 2], block[at + 1], block[at]));
        }
    } catch (const std::bad_alloc&) {
        palette.clear();
        return 6;
    }
    return 0;
}

void UsePalette(TOffscreenPicture& picture, const QList<QRgb>& palette) {
    picture.Palette = palette;
    picture.HasPalette = true;
}

bool DrawPictureBlock(TOffscreenPicture& picture, int x, int y, const QList<QRgb>& palette,
                      const Block& block) {
    if (block.empty()) return false;
    UsePalette(picture, palette);
    DibPixels pixels;
    switch (DecodeDib(block.data(), block.size(), pixels)) {
        case TDibDecode::Drawn: break;
        // A form the drawing does not know, or no pixels: the picture stays blank.
        case TDibDecode::Nothing: return true;
        // Rows the block does not hold are never read.
        case TDibDecode::TooShort: return false;
    }
    if (picture.Image.isNull() || pixels.Width <= 0 || pixels.Height <= 0) return true;
    if (pixels.Argb.size() < static_cast<std::size_t>(pixels.Width) * pixels.Height) return false;
    // The drawn size is the smaller of the block's and the picture's.
    const QRect target = QRect(x, y, pixels.Width, pixels.Height) & picture.Image.rect();
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const std::uint32_t* src =
            pixels.Argb.data() + static_cast<std::size_t>(row - y) * pixels.Width + (target.left() - x);
        auto* dst = reinterpret_cast<QRgb*>(picture.Image.scanLine(row)) + target.left();
        std::copy_n(src, target.width(), dst);
    }
    return true;
}

int ModePairIndex(int mode) {
    if (mode == 202) return 0;
    if (mode == 208) return 4;
    if (mode >= 203 && mode <= 207) return mode - 203;
    return -1;
}

namespace {

struct TPictureMessages {
    const char* Screen;
    const char* Palette;
    const char* Draw;
};

// Makes, paints and draws one picture of the pair; empty text on success.
QString BuildOne(const Block& block, TOffscreenPicture& picture, const TPictureMessages& text) {
    const TDibHeaderFields header = ReadDibHeaderFields(block.data(), block.size());
    if (!CreateOffscreen(picture, header.Width, OffscreenHeightOf(header)))
        return QString::fromUtf8(text.Screen);
    QList<QRgb> palette;
    if (BuildPalette(block, palette) != 0) return QString::fromUtf8(text.Palette);
    if (!DrawPictureBlock(picture, 0, 0, palette, block)) return QString::fromUtf8(text.Draw);
    return {};
}

}  // namespace

QString BuildModePictures(const TPuzzleData& puzzle, int mode, int& pictureWidth,
                          int& pictureHeight, TOffscreenPicture& base, TOffscreenPicture& spare) {
    const int pair = ModePairIndex(mode);
    ReleasePicture(base);
    ReleasePicture(spare);
    if (pair < 0 || puzzle.BasePictures[pair].empty()) return QStringLiteral("データが無効です");

    QString message = BuildOne(puzzle.BasePictures[pair], base,
                               {"基本BMP用の仮想画面を作れません", "基本BMP用のパレットを作れません",
                                "基本BMPを描画できません"});
    if (message.isEmpty()) {
        pictureWidth = puzzle.PairSizes[pair].Width;
        pictureHeight = puzzle.PairSizes[pair].Height;
        if (!puzzle.SparePictures[pair].empty())
            message = BuildOne(puzzle.SparePictures[pair], spare,
                               {"予備BMP用の仮想画面を作れません", "予備BMP用のパレットを作れません",
                                "予備BMPを描画できません"});
    }
    if (!message.isEmpty()) {
        ReleasePicture(base);
        ReleasePicture(spare);
    }
    return message;
}

}  // namespace vexa
