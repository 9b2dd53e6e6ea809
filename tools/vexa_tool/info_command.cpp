// vexa-tool info [--pretty] FILE.VX: the loaded puzzle as one JSON object.
#include "commands.h"
#include "input_files.h"
#include "result_names.h"
#include "usage.h"

#include "picture/dib_header.h"
#include "puzzle/puzzle_file.h"

#include "authoring/shift_jis.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace vexatool {

namespace {

// What the stored block's header says; fields a too short block lacks are null.
QJsonValue PictureJson(const vexa::Block& block, bool jpeg) {
    if (block.empty()) return QJsonValue::Null;
    const vexa::TDibHeaderFields header = vexa::ReadDibHeaderFields(block.data(), block.size());
    QJsonObject o;
    o["source"] = jpeg ? "jpeg" : "dib";
    o["width"] = block.size() >= 8 ? QJsonValue(header.Width) : QJsonValue::Null;
    o["height"] = block.size() >= 12 ? QJsonValue(header.Height) : QJsonValue::Null;
    o["bits"] = block.size() >= 16 ? QJsonValue(header.BitCount) : QJsonValue::Null;
    return o;
}

void Print(const QJsonObject& o, bool pretty) {
    const QByteArray text = QJsonDocument(o).toJson(pretty ? QJsonDocument::Indented : QJsonDocument::Compact);
    std::fputs(text.constData(), stdout);
    if (!text.endsWith('\n')) std::fputc('\n', stdout);
}

}  // namespace

int RunInfo(int argc, char** argv) {
    const char* path = nullptr;
    bool pretty = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pretty") == 0) {
            pretty = true;
        } else if (IsOption(argv[i])) {
            return BadUsage("info", std::string("unknown option ") + argv[i]);
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            return BadUsage("info", "one puzzle file at a time");
        }
    }
    if (path == nullptr) return BadUsage("info", "no puzzle file given");
    static vexa::TPuzzleData record;  // a few hundred bytes of arrays: keep it off the stack
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    if (const vexa::TLoadError error = LoadPuzzleInput(record, side, path, &sources); error != vexa::TLoadError::None) {
        QJsonObject o{{"error", QString::fromUtf8(vexa::LoadErrorText(error))}, {"error_name", vexa::LoadErrorName(error)}};
        if (const std::string hint = LoadErrorHint(error); !hint.empty()) o["hint"] = QString::fromStdString(hint);
        Print(o, pretty);
        return 1;
    }
    QJsonObject o;
    o["title"] = vexa::authoring::FromShiftJis(record.Title, sizeof record.Title);
    o["section"] = vexa::authoring::FromShiftJis(record.SectionName, sizeof record.SectionName);
    o["extra_text"] = vexa::authoring::FromShiftJis(side.ExtraText, sizeof side.ExtraText);
    o["extra_values"] = QJsonArray{side.ExtraValue1, side.ExtraValue2};
    o["diff_count"] = record.DiffCount;
    QJsonArray rects;
    for (int i = 0; i < std::clamp<int>(record.DiffCount, 0, vexa::kMaxDiffs); ++i) {
        const vexa::TDiffRect& r = record.DiffRects[i];
        rects.append(QJsonArray{r.Left, r.Top, r.Right, r.Bottom});
    }
    o["diff_rects"] = rects;
    QJsonArray counts;
    for (std::int16_t c : record.TableCounts) counts.append(c);
    o["table_counts"] = counts;
    QJsonArray sizes;
    for (const vexa::TPairSize& s : record.PairSizes) sizes.append(QJsonArray{s.Width, s.Height});
    o["pair_sizes"] = sizes;
    QJsonArray pictures;
    for (int i = 0; i < vexa::kPictureCount; ++i)
        pictures.append(PictureJson(vexa::PictureOf(record, i), sources[i].Jpeg));
    o["pictures"] = pictures;
    QJsonArray results;
    for (vexa::ViewMode result : {vexa::ViewMode::FewFound, vexa::ViewMode::HalfFound, vexa::ViewMode::AllFound})
        results.append(QJsonObject{{"result", vexa::ModeNumber(result)},
                                   {"result_name", ResultName(result)},
                                   {"pair", vexa::PairOf(result)}});
    o["result_screens"] = results;
    Print(o, pretty);
    return 0;
}

}  // namespace vexatool
