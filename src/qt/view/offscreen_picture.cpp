#include "view/offscreen_picture.h"

#include "picture/dib_pixels.h"
#include "viewcore/picture_header.h"

#include <QPainter>

#include <algorithm>

namespace vexa {

bool ReleasePicture(TOffscreenPicture& picture) {
    if (!picture.Created) return false;
    picture = TOffscreenPicture{};
    return true;
}

bool CreateOffscreen(TOffscreenPicture& picture, std::int64_t width, std::int64_t height) {
    picture = TOffscreenPicture{};
    if (!PictureSizeAllowed(width, height)) return false;
    if (width > 0 && height > 0) {
        QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
        if (image.isNull()) return false;  // the memory could not be had
        image.fill(Qt::black);
        picture.Image = std::move(image);
    }
    picture.Created = true;
    return true;
}

bool DrawPictureBlock(TOffscreenPicture& picture, int x, int y, const Block& block) {
    if (block.empty()) return false;
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

namespace {

struct TPictureMessages {
    const char* Screen;
    const char* Draw;
};

// Makes and draws one picture of the pair; empty text on success.
QString BuildOne(const Block& block, TOffscreenPicture& picture, const TPictureMessages& text) {
    const TDibHeaderFields header = ReadDibHeaderFields(block.data(), block.size());
    if (!CreateOffscreen(picture, header.Width, OffscreenHeightOf(header)))
        return QString::fromUtf8(text.Screen);
    if (!DrawPictureBlock(picture, 0, 0, block)) return QString::fromUtf8(text.Draw);
    return {};
}

}  // namespace

QString BuildModePictures(const TPuzzleData& puzzle, ViewMode mode, int& pictureWidth,
                          int& pictureHeight, TOffscreenPicture& base, TOffscreenPicture& spare) {
    const int pair = PairOf(mode);
    ReleasePicture(base);
    ReleasePicture(spare);
    if (pair < 0 || puzzle.BasePictures[pair].empty()) return QStringLiteral("データが無効です");

    QString message = BuildOne(puzzle.BasePictures[pair], base,
                               {"基本BMP用の仮想画面を作れません", "基本BMPを描画できません"});
    if (message.isEmpty()) {
        pictureWidth = puzzle.PairSizes[pair].Width;
        pictureHeight = puzzle.PairSizes[pair].Height;
        if (!puzzle.SparePictures[pair].empty())
            message = BuildOne(puzzle.SparePictures[pair], spare,
                               {"予備BMP用の仮想画面を作れません", "予備BMPを描画できません"});
    }
    if (!message.isEmpty()) {
        ReleasePicture(base);
        ReleasePicture(spare);
    }
    return message;
}

}  // namespace vexa
