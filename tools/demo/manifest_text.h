// Writes a puzzle's pictures and manifest.json (for `vexa-tool pack`) the
// way the demo's generator lays them out: one record, rectangle or pair per
// line, so that the committed manifests read well.
#pragma once

#include "demo_art.h"

#include <QDir>
#include <QJsonObject>
#include <QString>

#include <array>
#include <vector>

namespace demo {

struct PuzzleTexts {
    QString title;
    QString section;
    QString extraText;
};

// The four scene pairs (0 = current scene, 1 to 3 = result screens), the
// photo (pair 4) and how each pair is stored ({} for a DIB).
struct PuzzleArt {
    std::array<Pair, 4> pairs;
    QImage photo;
    std::vector<QRect> differences;
    std::array<QJsonObject, 5> encodings;
};

// Saves the pictures into `out` and writes `out`/manifest.json; false (with
// a message on stderr) when a file could not be written.
bool WritePuzzle(const QDir& out, const PuzzleTexts& texts, const PuzzleArt& art);

}  // namespace demo
