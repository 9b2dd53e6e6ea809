// The demo's landscape: the current scene with its animation, and the photo
// with seven differences.
#include "demo_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace demo {

namespace {

// Which of the seven differences are drawn the "photo" way.
struct Variant {
    bool photo = false;
};

const QRect kBirdBox(0, 8, 26, 18);       // bird sprite size, at the flight height
const QRect kFishBox(214, 218, 48, 40);   // where the fish jumps out of the lake
const QRect kLanternLight(203, 306, 18, 16);

void DrawCloud(QPainter& p, int x, int y, double scale) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFA, 0xFC, 0xFF));
    p.drawEllipse(QRectF(x, y + 10 * scale, 40 * scale, 24 * scale));
    p.drawEllipse(QRectF(x + 18 * scale, y, 40 * scale, 32 * scale));
    p.drawEllipse(QRectF(x + 44 * scale, y + 8 * scale, 36 * scale, 26 * scale));
}

void DrawLandscape(QPainter& p, const Variant& v) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    // Sky: graded from top to bottom only, so sprites slid sideways match it.
    QLinearGradient sky(0, 0, 0, 205);
    sky.setColorAt(0, QColor(0x4F, 0x9F, 0xE3));
    sky.setColorAt(1, QColor(0xD6, 0xEC, 0xF8));
    p.fillRect(QRect(0, 0, kWidth, 206), sky);

    // Sun.
    p.setBrush(QColor(0xFF, 0xD8, 0x6A));
    p.drawEllipse(QPoint(410, 74), 27, 27);
    p.setBrush(QColor(0xFF, 0xC1, 0x2E));
    p.drawEllipse(QPoint(410, 74), 20, 20);

    DrawCloud(p, 52, 46, 1.0);
    if (!v.photo) DrawCloud(p, 292, 100, 0.9);  // difference: the second cloud

    // Mountain with its snow cap.
    p.setBrush(QColor(0x6B, 0x7F, 0xA8));
    p.drawPolygon(QPolygon({QPoint(30, 206), QPoint(178, 114), QPoint(240, 90), QPoint(302, 116),
                            QPoint(450, 206)}));
    p.setBrush(QColor(0xF4, 0xF7, 0xFB));
    if (!v.photo) {
        p.drawPolygon(QPolygon({QPoint(212, 101), QPoint(240, 90), QPoint(268, 102), QPoint(259, 113),
                                QPoint(249, 106), QPoint(240, 115), QPoint(231, 106), QPoint(221, 113)}));
    } else {  // difference: a deeper cap with one long tongue of snow
        p.drawPolygon(QPolygon({QPoint(207, 104), QPoint(240, 90), QPoint(273, 104), QPoint(262, 118),
                                QPoint(251, 112), QPoint(243, 134), QPoint(234, 112), QPoint(218, 118)}));
    }

    // Hills and meadow.
    p.setBrush(QColor(0x6F, 0xB0, 0x4E));
    p.drawEllipse(QRect(-70, 168, 280, 90));
    p.drawEllipse(QRect(300, 172, 260, 90));
    p.setBrush(QColor(0x8C, 0xCB, 0x5E));
    p.drawRect(QRect(0, 204, kWidth, kHeight - 204));
    p.setBrush(QColor(0xD9, 0xC2, 0x8F));  // a path down to the front
    p.drawPolygon(QPolygon({QPoint(160, 360), QPoint(185, 300), QPoint(200, 290), QPoint(212, 300),
                            QPoint(250, 360)}));

    // Lake with ripples; the fish's corner stays calm water.
    p.setBrush(QColor(0x3F, 0x86, 0xC6));
    p.drawEllipse(QRect(190, 212, 282, 76));
    p.setPen(QPen(QColor(0x86, 0xBA, 0xE6), 2, Qt::SolidLine, Qt::RoundCap));
    for (const QLine& l : {QLine(290, 226, 318, 226), QLine(360, 236, 394, 236), QLine(410, 252, 436, 252),
                           QLine(272, 276, 300, 276), QLine(350, 272, 380, 272)})
        p.drawLine(l);
    p.setPen(Qt::NoPen);

    // Boat with its sail.
    p.setBrush(QColor(0x8A, 0x55, 0x2E));
    p.drawPolygon(QPolygon({QPoint(286, 262), QPoint(340, 262), QPoint(330, 273), QPoint(295, 273)}));
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x20), 2));
    p.drawLine(312, 226, 312, 262);
    p.setPen(Qt::NoPen);
    p.setBrush(v.photo ? QColor(0xD9, 0x3A, 0x3A) : QColor(0xFF, 0xFF, 0xF4));  // difference: sail colour
    p.drawPolygon(QPolygon({QPoint(315, 228), QPoint(315, 258), QPoint(340, 258)}));

    // House: chimney first so the roof covers its foot.
    if (!v.photo) {  // difference: the chimney
        p.setBrush(QColor(0x7A, 0x4A, 0x32));
        p.drawRect(QRect(92, 206, 13, 30));
    }
    p.setBrush(QColor(0xF2, 0xE3, 0xC6));
    p.drawRect(QRect(26, 240, 92, 58));
    p.setBrush(QColor(0xC0, 0x39, 0x2B));
    p.drawPolygon(QPolygon({QPoint(16, 244), QPoint(72, 204), QPoint(128, 244)}));
    p.setBrush(QColor(0x8A, 0x55, 0x2E));
    p.drawRect(QRect(40, 264, 20, 34));
    p.setBrush(v.photo ? QColor(0x2E, 0x4C, 0x8C) : QColor(0xFF, 0xF0, 0xA8));  // difference: window
    p.drawRect(QRect(78, 256, 26, 22));
    p.setPen(QPen(QColor(0x7A, 0x4A, 0x32), 2));
    p.drawLine(91, 256, 91, 278);
    p.drawLine(78, 267, 104, 267);
    p.setPen(Qt::NoPen);

    // Apple tree.
    p.setBrush(QColor(0x7A, 0x4F, 0x2A));
    p.drawRect(QRect(146, 268, 12, 40));
    p.setBrush(QColor(0x3E, 0x8E, 0x41));
    p.drawEllipse(QPoint(152, 250), 30, 28);
    if (!v.photo) {  // difference: the apples
        p.setBrush(QColor(0xE0, 0x30, 0x30));
        for (const QPoint& a : {QPoint(138, 240), QPoint(160, 236), QPoint(150, 256), QPoint(168, 254),
                                QPoint(134, 260)})
            p.drawEllipse(a, 5, 5);
    }

    // Stone lantern by the path.
    p.setBrush(QColor(0x9A, 0x9A, 0x94));
    p.drawRect(QRect(207, 322, 10, 26));
    p.drawRect(QRect(199, 344, 26, 6));
    p.drawPolygon(QPolygon({QPoint(196, 306), QPoint(212, 296), QPoint(228, 306)}));
    p.setBrush(QColor(0x55, 0x55, 0x52));
    p.drawRect(kLanternLight.adjusted(2, 2, -2, -2));

    // Flowers in the front meadow.
    const QColor petal = v.photo ? QColor(0xF2, 0x7B, 0xC0) : QColor(0xFF, 0xE0, 0x3A);  // difference
    for (const QPoint& f : {QPoint(388, 322), QPoint(404, 330), QPoint(420, 320), QPoint(436, 332),
                            QPoint(412, 342)}) {
        p.setBrush(petal);
        p.drawEllipse(f, 6, 6);
        p.setBrush(QColor(0xB0, 0x5A, 0x10));
        p.drawEllipse(f, 2, 2);
    }
}

QImage Landscape(const Variant& v) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    DrawLandscape(p, v);
    return image;
}

void DrawBird(QPainter& p, QPoint at, bool wingsUp) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0x33, 0x33, 0x40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const int x = at.x(), y = at.y();
    QPainterPath wings;
    if (wingsUp) {
        wings.moveTo(x + 2, y + 4);
        wings.quadTo(x + 8, y + 1, x + 13, y + 10);
        wings.quadTo(x + 18, y + 1, x + 24, y + 4);
    } else {
        wings.moveTo(x + 2, y + 12);
        wings.quadTo(x + 8, y + 7, x + 13, y + 10);
        wings.quadTo(x + 18, y + 7, x + 24, y + 12);
    }
    p.drawPath(wings);
}

void DrawFish(QPainter& p, int frame) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QRect b = kFishBox;
    // Splash rings on the water.
    p.setBrush(QColor(0xB8, 0xDA, 0xF2));
    p.drawEllipse(QRect(b.x() + 10, b.bottom() - 8, 28, 7));
    p.setBrush(QColor(0x3F, 0x86, 0xC6));
    p.drawEllipse(QRect(b.x() + 15, b.bottom() - 6, 18, 4));
    p.save();
    const int heights[] = {26, 12, 22};
    const int angles[] = {-50, 0, 50};
    p.translate(b.x() + 24, b.y() + heights[frame]);
    p.rotate(angles[frame]);
    p.setBrush(QColor(0xF0, 0x8A, 0x24));
    p.drawEllipse(QRect(-11, -5, 20, 10));
    p.drawPolygon(QPolygon({QPoint(7, 0), QPoint(14, -6), QPoint(14, 6)}));
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QPoint(-6, -1), 1, 1);
    p.restore();
}


}  // namespace

std::vector<QRect> Differences() {
    return {
        QRect(74, 252, 34, 30),   // window
        QRect(312, 224, 32, 38),  // sail
        QRect(288, 96, 80, 36),   // second cloud
        QRect(124, 226, 52, 40),  // apples
        QRect(202, 86, 76, 52),   // snow cap
        QRect(378, 312, 68, 40),  // flowers
        QRect(88, 202, 22, 26),   // chimney
    };
}

QImage DrawPhoto() { return Landscape(Variant{true}); }

Pair DrawScene() {
    Pair pair;
    pair.base = Landscape(Variant{false});
    pair.spare = pair.base.copy();

    // The spare picture is a sheet of pieces, each drawn over the background
    // it will be copied onto, laid out in the meadow at the bottom.
    const QPoint birdCells[2] = {QPoint(0, 300), QPoint(30, 300)};
    for (int k = 0; k < 2; ++k)
        AddCell(pair.spare, pair.base, kBirdBox, birdCells[k],
                [&](QPainter& p) { DrawBird(p, kBirdBox.topLeft(), k == 0); });
    const QPoint fishCells[3] = {QPoint(260, 300), QPoint(310, 300), QPoint(360, 300)};
    for (int k = 0; k < 3; ++k)
        AddCell(pair.spare, pair.base, kFishBox, fishCells[k], [&](QPainter& p) { DrawFish(p, k); });
    const QPoint lanternCell(440, 300);
    AddCell(pair.spare, pair.base, kLanternLight, lanternCell, [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFF, 0xB0, 0x30));
        p.drawRect(kLanternLight.adjusted(2, 2, -2, -2));
        p.setBrush(QColor(0xFF, 0xF4, 0xB0));
        p.drawEllipse(kLanternLight.center(), 4, 4);
    });

    // Track 0: a bird crossing the sky, flapping every tick.
    Track bird;
    const int w = kBirdBox.width(), h = kBirdBox.height(), y = kBirdBox.y();
    int k = 0;
    for (int x = 0; x + w <= kWidth; x += 6, ++k) {
        const QPoint cell = birdCells[k % 2];
        bird.push_back({'T', cell.x(), cell.y(), x, y, w, h});
        bird.push_back({'W', 0, 0, 0, 0, 1, 0});
        bird.push_back({'R', 0, 0, x, y, w, h});
    }
    bird.push_back({'W', 0, 0, 0, 0, 25, 0});

    // Track 1: the lantern blinks.
    const QRect l = kLanternLight;
    Track lantern = {{'T', lanternCell.x(), lanternCell.y(), l.x(), l.y(), l.width(), l.height()},
                     {'W', 0, 0, 0, 0, 6, 0},
                     {'R', 0, 0, l.x(), l.y(), l.width(), l.height()},
                     {'W', 0, 0, 0, 0, 6, 0}};

    // Track 2: now and then a fish jumps and the lake is calm again.
    const QRect f = kFishBox;
    Track fish = {{'W', 0, 0, 0, 0, 30, 0}};
    for (int i = 0; i < 3; ++i) {
        fish.push_back({'T', fishCells[i].x(), fishCells[i].y(), f.x(), f.y(), f.width(), f.height()});
        fish.push_back({'W', 0, 0, 0, 0, 3, 0});
    }
    fish.push_back({'R', 0, 0, f.x(), f.y(), f.width(), f.height()});

    pair.tracks = {bird, lantern, fish};
    return pair;
}

}  // namespace demo
