#include "view/marker_focus.h"

#include <QPainter>

namespace vexa {

TMarkerFocusFrame::TMarkerFocusFrame(int markerSide, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFixedSize(markerSide + 2 * kMargin, markerSide + 2 * kMargin);
    hide();
}

void TMarkerFocusFrame::Surround(QPoint markerCorner, int markerSide) {
    setFixedSize(markerSide + 2 * kMargin, markerSide + 2 * kMargin);
    move(markerCorner - QPoint(kMargin, kMargin));
    raise();
}

void TMarkerFocusFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    // Four one-pixel rings from the outside in; the space between the ring and
    // the marker stays clear so the marker's own outline keeps its look.
    const QColor rings[kRing] = {Qt::black, kFocusRingColour, kFocusRingColour, Qt::black};
    for (int i = 0; i < kRing; ++i) {
        const QRect r = all.adjusted(i, i, -i, -i);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), rings[i]);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), rings[i]);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), rings[i]);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), rings[i]);
    }
}

}  // namespace vexa
