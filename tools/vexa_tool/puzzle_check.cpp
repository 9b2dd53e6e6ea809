#include "puzzle_check.h"

#include "picture/dib_pixels.h"
#include "settings/profile_scan.h"

#include <algorithm>
#include <cstdlib>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace vexatool {

namespace {

using vexa::DibPixels;

// printf-style formatting into a std::string.
std::string Fmt(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
using vexa::TDiffRect;

bool Decode(const vexa::Block& block, DibPixels& out) {
    return !block.empty() && vexa::DecodeDibPixels(block.data(), block.size(), out);
}

std::string IndexList(const std::vector<int>& indices) {
    std::string out = "[";
    for (std::size_t i = 0; i < indices.size(); ++i) out += (i ? "," : "") + std::to_string(indices[i]);
    return out + "]";
}

// The changes against the rectangles: parts no rectangle covers, changes two
// rectangles share, rectangles over no change, weak changes left out.
void CheckChanges(const vexa::authoring::ChangeMap& map, const std::vector<Box>& rects, int smear, int minPixels,
                  std::vector<Finding>& findings, CheckMarks* marks) {
    if (map.shift) {
        findings.push_back({"pictures_shifted", Fmt("\"by\":[%d,%d]", map.shift->dx, map.shift->dy)});
        return;
    }
    std::vector<Box> reach;
    for (const Box& r : rects) reach.push_back({r.left - smear, r.top - smear, r.right + smear, r.bottom + smear});
    const auto reached = [&](int x, int y) {
        return std::any_of(reach.begin(), reach.end(), [&](const Box& r) { return Contains(r, x, y); });
    };
    std::vector<int> inRect(rects.size(), 0);  // changed pixels, clear or weak, in each rectangle
    const auto countIn = [&](const vexa::authoring::Change& c, std::vector<int>& counts) {
        for (int i : c.pixels)
            for (std::size_t r = 0; r < rects.size(); ++r) counts[r] += Contains(rects[r], i % map.width, i / map.width);
    };
    for (const vexa::authoring::Change& change : map.changes) {
        std::vector<int> mine(rects.size(), 0);
        countIn(change, mine);
        int outside = 0;
        Box box{map.width, map.height, 0, 0};
        for (int i : change.pixels) {
            const int x = i % map.width, y = i / map.width;
            if (reached(x, y)) continue;
            ++outside;
            box = vexa::authoring::Union(box, {x, y, x + 1, y + 1});
        }
        std::vector<int> holders, touched;
        for (std::size_t r = 0; r < rects.size(); ++r) {
            inRect[r] += mine[r];
            if (mine[r] > 0) touched.push_back(static_cast<int>(r));
            if (mine[r] >= minPixels) holders.push_back(static_cast<int>(r));
        }
        if (outside >= minPixels) {
            std::string json = Fmt("\"box\":%s,\"pixels\":%d", BoxJson(box).c_str(), outside);
            if (!touched.empty())
                json += ",\"change\":" + BoxJson(change.box) + ",\"partly_in\":" + IndexList(touched);
            findings.push_back({"uncovered_change", json});
            if (marks) marks->uncovered.push_back(box);
        }
        // Two rectangles that overlap are a finding of their own.
        bool apart = false;
        for (std::size_t a = 0; a < holders.size(); ++a)
            for (std::size_t b = a + 1; b < holders.size(); ++b)
                apart |= !Overlap(rects[static_cast<std::size_t>(holders[a])], rects[static_cast<std::size_t>(holders[b])]);
        if (apart)
            findings.push_back({"change_split", "\"box\":" + BoxJson(change.box) + ",\"rects\":" + IndexList(holders)});
    }
    for (const vexa::authoring::Change& weak : map.weak) {
        std::vector<int> mine(rects.size(), 0);
        countIn(weak, mine);
        int outside = 0;
        for (int i : weak.pixels) outside += !reached(i % map.width, i / map.width);
        for (std::size_t r = 0; r < rects.size(); ++r) inRect[r] += mine[r];
        if (outside * 2 < static_cast<int>(weak.pixels.size())) continue;
        findings.push_back({"weak_change",
                            Fmt("\"box\":%s,\"pixels\":%zu,\"delta_e\":%.1f", BoxJson(weak.box).c_str(),
                                weak.pixels.size(), weak.peak),
                            true});
        if (marks) marks->weak.push_back(weak.box);
    }
    for (std::size_t r = 0; r < rects.size(); ++r)
        if (inRect[r] < minPixels)
            findings.push_back({"rect_without_change", Fmt("\"rect\":%zu,\"box\":%s", r, BoxJson(rects[r]).c_str())});
}

void CheckTables(const vexa::TPuzzleData& puzzle, const DibPixels (&base)[vexa::kPairCount],
                 const DibPixels (&spare)[vexa::kPairCount], std::vector<Finding>& findings) {
    for (int t = 0; t < vexa::kTableCount; ++t) {
        const int count = puzzle.TableCounts[t];
        if (count <= 0) continue;
        const int pair = t / vexa::kTracksPerScene;
        const vexa::Block& table = puzzle.Tables[t];
        const int records = static_cast<int>(std::min<std::size_t>(count, table.size() / vexa::kAnimRecordBytes));
        bool wait = false;
        for (int i = 0; i < records; ++i) {
            const vexa::TAnimRecord r =
                vexa::ReadAnimRecord(table.data() + static_cast<std::size_t>(i) * vexa::kAnimRecordBytes);
            const int command = r.Command;
            if (command == 'W') {
                wait = true;
                continue;
            }
            if (command != 'C' && command != 'R' && command != 'T') continue;
            const int sx = command == 'R' ? r.DestX : r.SourceX;
            const int sy = command == 'R' ? r.DestY : r.SourceY;
            const Box dest{r.DestX, r.DestY, r.DestX + r.Width, r.DestY + r.Height};
            const Box source{sx, sy, sx + r.Width, sy + r.Height};
            const DibPixels& from = command == 'T' ? spare[pair] : base[pair];
            const Box picture{0, 0, base[pair].Width, base[pair].Height};
            const Box sourcePicture{0, 0, from.Width, from.Height};
            if (!Inside(picture, dest) || !Inside(sourcePicture, source))
                findings.push_back({"table_draws_outside",
                                    Fmt("\"table\":%d,\"record\":%d,\"command\":\"%c\",\"dest\":%s,\"source\":%s",
                                        t, i, command, BoxJson(dest).c_str(), BoxJson(source).c_str())});
        }
        if (!wait) findings.push_back({"table_without_wait", Fmt("\"table\":%d", t)});
    }
}

}  // namespace

std::vector<Finding> CheckPuzzle(const vexa::TPuzzleData& puzzle, const vexa::TPictureSources& sources,
                                 const CheckOptions& options, CheckMarks* marks) {
    std::vector<Finding> findings;
    DibPixels base[vexa::kPairCount], spare[vexa::kPairCount];
    for (int k = 0; k < vexa::kPairCount; ++k) {
        if (!Decode(puzzle.BasePictures[k], base[k])) {
            findings.push_back({"missing_base_picture", Fmt("\"pair\":%d", k)});
            continue;
        }
        Decode(puzzle.SparePictures[k], spare[k]);
        const vexa::TPairSize size = puzzle.PairSizes[k];
        if (size.Width != base[k].Width || size.Height != base[k].Height)
            findings.push_back({"pair_size_mismatch",
                                Fmt("\"pair\":%d,\"pair_size\":[%d,%d],\"picture\":[%d,%d]", k, size.Width,
                                    size.Height, base[k].Width, base[k].Height)});
    }

    const DibPixels& scene = base[0];
    const DibPixels& photo = base[4];
    std::vector<Box> rects;
    for (int i = 0; i < std::clamp<int>(puzzle.DiffCount, 0, vexa::kMaxDiffs); ++i) {
        const TDiffRect& r = puzzle.DiffRects[i];
        rects.push_back({r.Left, r.Top, r.Right, r.Bottom});
    }
    const Box photoBox{0, 0, photo.Width, photo.Height};
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Box& r = rects[i];
        if (r.left >= r.right || r.top >= r.bottom || (photo.Width > 0 && !Inside(photoBox, r)))
            findings.push_back({"rect_outside_photo", Fmt("\"rect\":%zu,\"box\":%s", i, BoxJson(r).c_str())});
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            if (Overlap(r, rects[j]))
                findings.push_back({"rects_overlap", Fmt("\"rects\":[%zu,%zu]", i, j)});
    }

    if (scene.Width > 0 && photo.Width > 0) {
        if (scene.Width != photo.Width || scene.Height != photo.Height) {
            findings.push_back({"scene_photo_size_differs",
                                Fmt("\"scene\":[%d,%d],\"photo\":[%d,%d]", scene.Width, scene.Height,
                                    photo.Width, photo.Height)});
        } else {
            // Where the scene or the photo is a JPEG stream, the blocks around a
            // change differ too; pixels that close to a rectangle belong to it.
            const bool jpeg = sources[0].Jpeg || sources[2 * (vexa::kPairCount - 1)].Jpeg;
            CheckChanges(vexa::authoring::MeasureChanges(scene, photo, options.measure), rects,
                         jpeg ? options.smear : 0, options.minPixels, findings, marks);
        }
    }
    if (marks) {
        marks->photo = photo;
        marks->rects = rects;
    }

    CheckTables(puzzle, base, spare, findings);
    return findings;
}

// The settings file's own matching: blanks trimmed, ASCII letters folded,
// Shift-JIS pairs compared exactly.
bool SectionNamesMatch(const std::string& wholeA, const std::string& wholeB) {
    return vexa::ProfileNamesEqual(vexa::TrimProfileBlanks(wholeA), vexa::TrimProfileBlanks(wholeB));
}

}  // namespace vexatool
