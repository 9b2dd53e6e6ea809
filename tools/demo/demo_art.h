// Drawing of the demo puzzle's pictures and their animation tables.
#pragma once

#include <QImage>
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

// The current scene (pair 0) and the photo (pair 4) with its differences.
Pair DrawScene();
QImage DrawPhoto();
std::vector<QRect> Differences();

// Result screens: 1 = fewer than half found, 2 = at least half, 3 = all found.
Pair DrawResultScreen(int which);

}  // namespace demo
