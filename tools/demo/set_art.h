// The bundled set: eight small scenes drawn from shapes on a grid, each with
// a photo that differs from its scene in a few of them.
#pragma once

#include "demo_art.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace demo {

struct SetPuzzle {
    QString name;     // file name without ".VX"
    QString title;
    QString section;
    QString extraText;
    QImage scene;     // pair 0
    QImage photo;     // pair 4
    std::vector<QRect> differences;
};

inline constexpr int kSetSize = 8;

// Puzzle `index` (0..kSetSize-1): 3 + index differences, easier first.
SetPuzzle DrawSetPuzzle(int index);

}  // namespace demo
