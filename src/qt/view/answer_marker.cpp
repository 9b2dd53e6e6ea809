#include "view/answer_marker.h"

#include <QPainter>

namespace vexa {

TMarkerFrame::TMarkerFrame(int side, QColor colour, QWidget* parent)
    : QWidget(parent), Colour_(colour) {
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

void TMarkerFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Colour_, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

}  // namespace vexa
