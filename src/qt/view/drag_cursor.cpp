#include "view/answer_marker.h"

#include <QPainter>
#include <QPixmap>

namespace vexa {

QCursor MakeDragCursor() {
    // 32 x 32 like a classic cursor; the square occupies 0..20, centre (10, 10).
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(0, 0, 20, 20);
    // Ticks every 5 pixels along each edge, pointing inwards.
    for (int k = 5; k < 20; k += 5) {
        p.drawLine(k, 1, k, 2);
        p.drawLine(k, 18, k, 19);
        p.drawLine(1, k, 2, k);
        p.drawLine(18, k, 19, k);
    }
    // The cross: white border first, black lines on top.
    p.fillRect(QRect(9, 5, 3, 11), Qt::white);
    p.fillRect(QRect(5, 9, 11, 3), Qt::white);
    p.drawLine(10, 6, 10, 14);
    p.drawLine(6, 10, 14, 10);
    p.end();
    return QCursor(QPixmap::fromImage(image), 10, 10);
}

}  // namespace vexa
