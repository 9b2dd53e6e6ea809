// The demo's three result screens, each with a caption and a small animation.
#include "demo_art.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace demo {

namespace {

constexpr int kScreenW = 400;
constexpr int kScreenH = 300;

// Captions are filled outlines of the Japanese font, so they come out the
// same wherever the generator runs with that font installed.
void DrawCaption(QPainter& p, const QString& text, int pixelSize, int centreX, int baseline,
                 const QColor& fill, const QColor& outline) {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF r = path.boundingRect();
    path.translate(centreX - r.center().x(), baseline);
    p.setPen(outline.isValid() ? QPen(outline, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

QImage Blank(const QColor& fill) {
    QImage image(kScreenW, kScreenH, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}


// Fewer than half found: a rain cloud over a drooping flower, drawn in greys.
Pair RainScreen() {
    Pair pair;
    pair.base = Blank(QColor(0xE4, 0xE4, 0xE4));
    const QRect rain(110, 118, 180, 70);
    {
        QPainter p(&pair.base);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8C, 0x8C, 0x8C));
        p.drawEllipse(QRect(110, 70, 90, 56));
        p.drawEllipse(QRect(160, 52, 100, 70));
        p.drawEllipse(QRect(220, 74, 80, 50));
        p.setBrush(QColor(0xB8, 0xB8, 0xB8));
        p.drawRect(QRect(0, 240, kScreenW, 60));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 3, Qt::SolidLine, Qt::RoundCap));
        QPainterPath stem;
        stem.moveTo(320, 240);
        stem.quadTo(322, 205, 300, 196);
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x70, 0x70, 0x70));
        p.drawEllipse(QPoint(296, 200), 9, 7);
        DrawCaption(p, QStringLiteral("ざんねん！"), 34, 200, 36, QColor(0x40, 0x40, 0x40), QColor());
        DrawCaption(p, QStringLiteral("半分も見つかりませんでした"), 20, 200, 280, QColor(0x30, 0x30, 0x30),
                    QColor());
    }
    pair.spare = pair.base.copy();
    const QPoint cells[3] = {QPoint(0, 0), QPoint(0, kScreenH - 70 - 60 - 0), QPoint(200, 0)};
    for (int k = 0; k < 3; ++k)
        AddCell(pair.spare, pair.base, rain, cells[k], [&](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(QColor(0x50, 0x50, 0x50), 2, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 9; ++i) {
                const int x = rain.x() + 10 + i * 19 + (k * 7) % 12;
                const int y = rain.y() + ((i * 23 + k * 24) % 52);
                p.drawLine(x, y, x - 3, y + 12);
            }
        });
    Track drops;
    for (int k = 0; k < 3; ++k) {
        drops.push_back({'T', cells[k].x(), cells[k].y(), rain.x(), rain.y(), rain.width(), rain.height()});
        drops.push_back({'W', 0, 0, 0, 0, 2, 0});
    }
    pair.tracks = {drops};
    return pair;
}


// At least half found: a smiling sun and twinkling stars.
Pair SunScreen() {
    Pair pair;
    pair.base = Blank(QColor(0xFF, 0xF6, 0xDC));
    const QPoint stars[3] = {QPoint(70, 80), QPoint(330, 70), QPoint(320, 190)};
    {
        QPainter p(&pair.base);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0xF5, 0xA6, 0x23), 6, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 12; ++i) {
            const double a = i * M_PI / 6;
            p.drawLine(QPointF(200 + 58 * std::cos(a), 130 + 58 * std::sin(a)),
                       QPointF(200 + 76 * std::cos(a), 130 + 76 * std::sin(a)));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFF, 0xC9, 0x3C));
        p.drawEllipse(QPoint(200, 130), 50, 50);
        p.setBrush(QColor(0x5A, 0x3A, 0x10));
        p.drawEllipse(QPoint(182, 118), 6, 7);
        p.drawEllipse(QPoint(218, 118), 6, 7);
        p.setPen(QPen(QColor(0x5A, 0x3A, 0x10), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(176, 116, 48, 36), 200 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xE8, 0xD8, 0xA8));
        for (const QPoint& s : stars) p.drawPolygon(Star(s, 12, 5));
        DrawCaption(p, QStringLiteral("よくできました！"), 34, 200, 250, QColor(0xE0, 0x60, 0x10), QColor());
        DrawCaption(p, QStringLiteral("半分以上見つけました"), 20, 200, 284, QColor(0x70, 0x50, 0x20), QColor());
    }
    pair.spare = pair.base.copy();
    std::vector<Track> tracks;
    for (int i = 0; i < 3; ++i) {
        const QRect box(stars[i].x() - 16, stars[i].y() - 16, 32, 32);
        const QPoint cell(i * 40, 0);
        AddCell(pair.spare, pair.base, box, cell, [&](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xFF, 0xE0, 0x20));
            p.drawPolygon(Star(stars[i], 15, 6));
            p.setBrush(QColor(0xFF, 0xFF, 0xE8));
            p.drawEllipse(stars[i], 3, 3);
        });
        tracks.push_back({{'W', 0, 0, 0, 0, 1 + 3 * i, 0},
                          {'T', cell.x(), cell.y(), box.x(), box.y(), box.width(), box.height()},
                          {'W', 0, 0, 0, 0, 4, 0},
                          {'R', 0, 0, box.x(), box.y(), box.width(), box.height()},
                          {'W', 0, 0, 0, 0, 5, 0}});
    }
    pair.tracks = tracks;
    return pair;
}

// All found: fireworks over a night town, in flat colours (no smoothing) so
// that the picture keeps to a small colour table.
Pair FireworksScreen() {
    Pair pair;
    pair.base = Blank(QColor(0x16, 0x1A, 0x3A));
    {
        QPainter p(&pair.base);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x0C, 0x0E, 0x22));
        for (const QRect& b : {QRect(0, 220, 60, 80), QRect(60, 200, 50, 100), QRect(110, 232, 70, 68),
                               QRect(180, 190, 44, 110), QRect(224, 214, 80, 86), QRect(304, 204, 40, 96),
                               QRect(344, 226, 56, 74)})
            p.drawRect(b);
        p.setBrush(QColor(0xF2, 0xD0, 0x60));
        for (int i = 0; i < 14; ++i) p.drawRect(QRect(12 + i * 28, 240 + (i * 13) % 40, 6, 8));
        DrawCaption(p, QStringLiteral("おめでとう！"), 36, 200, 44, QColor(0xFF, 0xD0, 0x40), QColor());
        DrawCaption(p, QStringLiteral("全部見つけました"), 22, 200, 186, QColor(0xFF, 0xFF, 0xFF), QColor());
    }
    pair.spare = pair.base.copy();
    const struct { QPoint centre; QColor colour; int delay; } bursts[2] = {
        {QPoint(110, 100), QColor(0xFF, 0x50, 0x70), 1},
        {QPoint(290, 96), QColor(0x60, 0xE0, 0xFF), 9},
    };
    std::vector<Track> tracks;
    for (int b = 0; b < 2; ++b) {
        const QRect box(bursts[b].centre.x() - 40, bursts[b].centre.y() - 40, 80, 80);
        Track t = {{'W', 0, 0, 0, 0, bursts[b].delay, 0}};
        for (int f = 0; f < 3; ++f) {
            const QPoint cell(f * 80, 0);
            const int radius = 12 + 13 * f;
            const QPoint origin(cell.x(), b == 0 ? 210 : 0);
            AddCell(pair.spare, pair.base, box, origin, [&](QPainter& p) {
                p.setPen(QPen(bursts[b].colour, 3));
                for (int i = 0; i < 12; ++i) {
                    const double a = i * M_PI / 6;
                    const QPoint c = bursts[b].centre;
                    p.drawLine(QPoint(c.x() + static_cast<int>(radius * 0.5 * std::cos(a)),
                                      c.y() + static_cast<int>(radius * 0.5 * std::sin(a))),
                               QPoint(c.x() + static_cast<int>(radius * std::cos(a)),
                                      c.y() + static_cast<int>(radius * std::sin(a))));
                }
            });
            t.push_back({'T', origin.x(), origin.y(), box.x(), box.y(), box.width(), box.height()});
            t.push_back({'W', 0, 0, 0, 0, 2, 0});
        }
        t.push_back({'R', 0, 0, box.x(), box.y(), box.width(), box.height()});
        t.push_back({'W', 0, 0, 0, 0, 12, 0});
        tracks.push_back(t);
    }
    pair.tracks = tracks;
    return pair;
}

}  // namespace

QPolygon Star(QPoint c, int outer, int inner) {
    QPolygon poly;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const int r = (i % 2) ? inner : outer;
        poly << QPoint(c.x() + static_cast<int>(std::lround(r * std::cos(a))),
                       c.y() + static_cast<int>(std::lround(r * std::sin(a))));
    }
    return poly;
}

Pair DrawResultScreen(int which) {
    switch (which) {
        case 1: return RainScreen();
        case 2: return SunScreen();
        default: return FireworksScreen();
    }
}

}  // namespace demo
