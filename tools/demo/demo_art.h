// Drawing of the demo puzzle's pictures and their animation tables.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <vector>

namespace demo {

inline constexpr int kWidth = 480;
inline constexpr int kHeight = 360;

// One animation record: command letter and six numbers (for "W", w is the tick count).
struct Record {
    char command;
    int sx, sy, dx, dy, w, h;
};
using Track = std::vector<Record>;

struct Pair {
    QImage base;
    QImage spare;              // null when the pair has none
    std::vector<Track> tracks; // up to five
};

// Pastes into `sheet` at `cell` a copy of `base` at `box` with `paint` drawn
// over it: an animation piece on the very background it will be copied onto.
template <typename Paint>
void AddCell(QImage& sheet, const QImage& base, QRect box, QPoint cell, Paint paint) {
    QImage piece = base.copy(box);
    {
        QPainter p(&piece);
        p.translate(-box.topLeft());
        paint(p);
    }
    QPainter s(&sheet);
    s.drawImage(cell, piece);
}

// The current scene (pair 0) and the photo (pair 4) with its differences.
Pair DrawScene();
QImage DrawPhoto();
std::vector<QRect> Differences();

// A five-pointed star around `c`, its points `outer` and its notches `inner` from it.
QPolygon Star(QPoint c, int outer, int inner);

// Result screens: 1 = fewer than half found, 2 = at least half, 3 = all found.
Pair DrawResultScreen(int which);

}  // namespace demo
