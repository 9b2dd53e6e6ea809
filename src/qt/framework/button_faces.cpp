#include "framework/button_faces.h"

#include "framework/command_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace vexa {

namespace {

const QColor kInk(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kLightGrey(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 128);
const QColor kBrightBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 128, 0);
const QColor kTeal(0, 128, 128);

QPen Pen(const QColor& c, qreal w = 1.0) {
    QPen p(c, w);
    p.setJoinStyle(Qt::MiterJoin);
    p.setCapStyle(Qt::FlatCap);
    return p;
}

// A filled arrow head with its tip at `tip`, pointing along angle `deg`
// (0 = right, 90 = down).
void ArrowHead(QPainter& p, QPointF tip, qreal deg, qreal len, const QColor& c) {
    const qreal a = deg * M_PI / 180.0;
    const QPointF back(tip.x() - len * std::cos(a), tip.y() - len * std::sin(a));
    const QPointF side(-std::sin(a) * len * 0.6, std::cos(a) * len * 0.6);
    QPolygonF head{tip, back + side, back - side};
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(head);
}

// A raised 3D panel, as a pressed-looking button face would have.
void Bevel(QPainter& p, const QRectF& r, const QColor& face) {
    p.fillRect(r, face);
    p.setPen(Pen(kWhite));
    p.drawLine(QPointF(r.left() + 0.5, r.bottom() - 0.5), QPointF(r.left() + 0.5, r.top() + 0.5));
    p.drawLine(QPointF(r.left() + 0.5, r.top() + 0.5), QPointF(r.right() - 0.5, r.top() + 0.5));
    p.setPen(Pen(kInk));
    p.drawLine(QPointF(r.right() - 0.5, r.top() + 0.5), QPointF(r.right() - 0.5, r.bottom() - 0.5));
    p.drawLine(QPointF(r.right() - 0.5, r.bottom() - 0.5), QPointF(r.left() + 0.5, r.bottom() - 0.5));
    p.setPen(Pen(kGrey));
    p.drawLine(QPointF(r.right() - 1.5, r.top() + 1.5), QPointF(r.right() - 1.5, r.bottom() - 1.5));
    p.drawLine(QPointF(r.right() - 1.5, r.bottom() - 1.5), QPointF(r.left() + 1.5, r.bottom() - 1.5));
}

// A curved arrow rising from a disk drive to a document.
void PaintOpen(QPainter& p) {
    // Disk drive: a grey box with a slot and a green lamp.
    p.fillRect(QRectF(1, 13, 11, 6), kLightGrey);
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 13.5, 10, 5));
    p.fillRect(QRectF(3, 15, 5, 1), kInk);
    p.fillRect(QRectF(9, 16, 2, 1), kGreen);
    // Document with a folded corner and lines of text.
    QPolygonF sheet{{11.5, 1.5}, {16.5, 1.5}, {18.5, 3.5}, {18.5, 11.5}, {11.5, 11.5}};
    p.setBrush(kWhite);
    p.drawPolygon(sheet);
    p.drawLine(QPointF(16.5, 1.5), QPointF(16.5, 3.5));
    p.drawLine(QPointF(16.5, 3.5), QPointF(18.5, 3.5));
    for (int y = 5; y <= 9; y += 2) p.fillRect(QRectF(13, y, 4, 1), kGrey);
    // Curved arrow from the drive up to the sheet.
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath arc;
    arc.moveTo(5, 12.5);
    arc.cubicTo(4, 6, 6, 3.5, 8.5, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(kBrightBlue, 1.6));
    p.drawPath(arc);
    ArrowHead(p, QPointF(11, 4.5), 10, 3.5, kBrightBlue);
}

// A window with a dotted outline and arrows pointing out to its edges.
void PaintFit(QPainter& p) {
    p.fillRect(QRectF(5, 5, 10, 10), kWhite);
    p.fillRect(QRectF(5, 5, 10, 2), kBlue);
    QPen dotted = Pen(kInk);
    dotted.setDashPattern({1, 1});
    p.setPen(dotted);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, 11, 11));
    const QPointF c(10, 11);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Pen(kRed, 1.2));
    p.drawLine(c, QPointF(10, 3));
    p.drawLine(c, QPointF(10, 17));
    p.drawLine(c, QPointF(3, 11));
    p.drawLine(c, QPointF(17, 11));
    ArrowHead(p, QPointF(10, 0.5), -90, 3, kRed);
    ArrowHead(p, QPointF(10, 19.5), 90, 3, kRed);
    ArrowHead(p, QPointF(0.5, 11), 180, 3, kRed);
    ArrowHead(p, QPointF(19.5, 11), 0, 3, kRed);
}

// An eye.
void PaintEye(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath lids;
    lids.moveTo(1.5, 10);
    lids.quadTo(10, 1.5, 18.5, 10);
    lids.quadTo(10, 18.5, 1.5, 10);
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(kWhite);
    p.drawPath(lids);
    p.setClipPath(lids);
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawEllipse(QPointF(10, 10), 4.2, 4.2);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(10, 10), 2, 2);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(8.8, 8.8), 0.9, 0.9);
    p.setClipping(false);
}

// A camera.
void PaintCamera(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Pen(kInk));
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(6.5, 3.5, 6, 3), 1, 1);
    p.setBrush(kLightGrey);
    p.drawRoundedRect(QRectF(1.5, 5.5, 17, 11), 1.5, 1.5);
    p.fillRect(QRectF(14, 7, 3, 2), kWhite);  // flash window
    p.setBrush(kInk);
    p.drawEllipse(QPointF(10, 11), 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(10, 11), 3, 3);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(9, 10), 1, 1);
}

// An arrow pointing to the top-left corner and a red square, on yellow.
void PaintGather(QPainter& p) {
    p.fillRect(QRectF(0, 0, 20, 20), kYellow);
    p.setPen(Pen(kRed, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, 7, 7));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Pen(kInk, 1.6));
    p.drawLine(QPointF(18, 18), QPointF(10.5, 10.5));
    ArrowHead(p, QPointF(8.5, 8.5), -135, 5, kInk);
}

// A grey gavel with a ruler, on green.
void PaintJudge(QPainter& p) {
    p.fillRect(QRectF(0, 0, 20, 20), kGreen);
    // Ruler along the bottom with tick marks.
    p.fillRect(QRectF(1, 15, 18, 4), kLightGrey);
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 15.5, 17, 3));
    for (int x = 3; x <= 17; x += 2) p.fillRect(QRectF(x, 16, 1, x % 4 == 1 ? 2 : 1), kInk);
    // Gavel: a head block and a handle, tilted.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.translate(10, 8);
    p.rotate(-35);
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(kLightGrey);
    p.drawRect(QRectF(-1, -1, 10, 2));  // handle
    p.setBrush(kGrey);
    p.drawRect(QRectF(-4, -4, 4, 8));   // head
    p.restore();
}

// A grey button with a question mark.
void PaintHint(QPainter& p) {
    Bevel(p, QRectF(2, 2, 16, 16), kLightGrey);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(2, 2, 15, 15), Qt::AlignCenter, QStringLiteral("?"));
}

// A coloured bar bent around a corner, with a curved arrow from the top to the side.
void PaintBarPlace(QPainter& p) {
    const QColor colours[] = {kRed, kYellow, kGreen, kBrightBlue};
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(5 + i * 3.5, 1, 3.5, 4), colours[i]);      // along the top
        p.fillRect(QRectF(1, 5 + i * 3.5, 4, 3.5), colours[3 - i]);  // down the side
    }
    p.fillRect(QRectF(1, 1, 4, 4), kTeal);  // the corner
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 18.5, 4.5));
    p.drawRect(QRectF(0.5, 0.5, 4.5, 18.5));
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath arc;
    arc.moveTo(15, 7);
    arc.cubicTo(15, 14, 13, 16, 10, 16);
    p.setPen(Pen(kInk, 1.5));
    p.drawPath(arc);
    ArrowHead(p, QPointF(7, 16), 180, 3.5, kInk);
}

}  // namespace

void PaintButtonFace(QPainter& painter, int id) {
    painter.save();
    switch (id) {
    case CmOpen: PaintOpen(painter); break;
    case CmFit: PaintFit(painter); break;
    case CmModeScene: PaintEye(painter); break;
    case CmModePhoto: PaintCamera(painter); break;
    case CmGather: PaintGather(painter); break;
    case CmJudge: PaintJudge(painter); break;
    case CmHintMode: PaintHint(painter); break;
    case CmBarPlace: PaintBarPlace(painter); break;
    default: break;
    }
    painter.restore();
}

QIcon ButtonFace(int id) {
    QIcon icon;
    for (int ratio : {1, 2}) {
        QPixmap pixmap(kFaceSize * ratio, kFaceSize * ratio);
        pixmap.fill(Qt::transparent);
        pixmap.setDevicePixelRatio(ratio);
        QPainter painter(&pixmap);
        PaintButtonFace(painter, id);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.scale(size / 32.0, size / 32.0);
        p.setRenderHint(QPainter::Antialiasing, true);
        // Two small landscapes side by side, one with a marked spot.
        for (int i = 0; i < 2; ++i) {
            const QRectF frame(1 + i * 16, 6, 14, 20);
            p.fillRect(frame, QColor(120, 190, 255));
            p.fillRect(QRectF(frame.left(), 18, 14, 8), QColor(60, 160, 60));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 220, 0));
            p.drawEllipse(QPointF(frame.left() + 4, 11), 2.5, 2.5);
            if (i == 0) {
                p.setBrush(QColor(160, 80, 30));
                p.drawRect(QRectF(frame.left() + 8, 14, 3, 6));
            }
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame);
        }
        p.setPen(QPen(QColor(255, 0, 0), 2));
        p.drawRect(QRectF(22, 11, 8, 8));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace vexa
