// The JSON manifest that `vexa-tool pack` builds a puzzle from (format in the README).
#pragma once

#include "authoring/change_measure.h"
#include "authoring/jpeg_encode.h"
#include "puzzle/puzzle_data.h"
#include "puzzle/puzzle_source.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vexatool {

using vexa::authoring::EncodeSettings;

struct PictureSpec {
    std::string field;  // where it stands in the manifest, for messages
    std::string file;   // empty: the picture is absent
    std::optional<EncodeSettings> encode;
};

// "diffs": "auto" or {"auto": {...}}: pack finds the rectangles itself.
struct AutoRects {
    int join = vexa::authoring::kDefaultJoin;        // changes closer than this are one (diff --join)
    int margin = 4;                                  // pixels added on every side (diff --margin)
    int minArea = vexa::authoring::kDefaultMinArea;  // fewest pixels a change needs (diff --min-area)
};

struct Manifest {
    std::string title, section, extraText;  // Shift-JIS bytes, no zero byte
    std::int16_t extraValue1 = 0, extraValue2 = 0;
    std::vector<vexa::TDiffRect> rects;
    std::optional<AutoRects> autoRects;
    std::array<std::vector<vexa::TAnimRecord>, vexa::kTableCount> tables;
    std::array<std::optional<vexa::TPairSize>, vexa::kPairCount> sizes;
    std::array<PictureSpec, vexa::kPictureCount> pictures;  // file order
};

// Parses `json`; picture files are taken relative to `baseDir`. On failure
// returns false and `error` says "field: what is wrong" (for text that is no
// JSON, or a key given twice, where: "line L, column C").
bool ParseManifest(const QByteArray& json, const QString& baseDir, Manifest& out, std::string& error);

}  // namespace vexatool
