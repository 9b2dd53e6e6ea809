#include "view/answer_marker.h"

#include "viewcore/marker_outline.h"
#include "viewcore/zoom.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vexa {

TMarkerFrame::TMarkerFrame(int side, QColor colour, QWidget* parent)
    : QWidget(parent), Colour_(colour), Side_(side) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFixedSize(side, side);
    move(0, 0);
}

void TMarkerFrame::MoveToTop(QPoint corner) {
    move(corner);
    raise();
}

void TMarkerFrame::SetScale(double scale) {
    if (scale == Scale_) return;
    Scale_ = scale;
    const int side = ScaledLength(Side_, scale);
    setFixedSize(side, side);
    update();
}

void TMarkerFrame::SetLook(TMarkerLook look) {
    if (look == Look_) return;
    Look_ = look;
    update();
}

namespace {

QImage ConspicuousOutline(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const TOutlineShade shade = ConspicuousOutlineAt(x, y, side);
            if (shade != TOutlineShade::None)
                image.setPixel(x, y, shade == TOutlineShade::Black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return image;
}

}  // namespace

void TMarkerFrame::paintEvent(QPaintEvent*) {
    if (Look_ == TMarkerLook::Blank) return;
    QPainter painter(this);
    if (Look_ == TMarkerLook::Conspicuous) {
        // 21 x 21: cheap to draw afresh, and scaled pixel for pixel.
        painter.drawImage(rect(), ConspicuousOutline(Side_));
        return;
    }
    if (Scale_ == 1.0) {
        painter.setPen(QPen(Colour_, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
        return;
    }
    const int line = std::max(1, static_cast<int>(std::lround(Scale_)));
    painter.fillRect(0, 0, width(), line, Colour_);
    painter.fillRect(0, height() - line, width(), line, Colour_);
    painter.fillRect(0, 0, line, height(), Colour_);
    painter.fillRect(width() - line, 0, line, height(), Colour_);
}

}  // namespace vexa
