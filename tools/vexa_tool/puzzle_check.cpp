#include "puzzle_check.h"

#include "change_regions.h"

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
                                 const CheckOptions& options) {
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
            const int smear = jpeg ? options.smear : 0;
            std::vector<Box> reach;
            for (const Box& r : rects)
                reach.push_back({r.left - smear, r.top - smear, r.right + smear, r.bottom + smear});
            const std::vector<char> changed = ChangedPixels(scene, photo, options.tolerance);
            for (const Region& region : ChangedRegions(changed, photo.Width, photo.Height)) {
                int count = 0;
                Box box{photo.Width, photo.Height, 0, 0};
                for (int i : region.pixels) {
                    const int x = i % photo.Width, y = i / photo.Width;
                    if (std::any_of(reach.begin(), reach.end(), [&](const Box& r) { return Contains(r, x, y); }))
                        continue;
                    ++count;
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
                if (count >= options.minPixels)
                    findings.push_back(
                        {"uncovered_change", Fmt("\"box\":%s,\"pixels\":%d", BoxJson(box).c_str(), count)});
            }
            for (std::size_t i = 0; i < rects.size(); ++i) {
                const Box r{std::max(rects[i].left, 0), std::max(rects[i].top, 0),
                            std::min(rects[i].right, photo.Width), std::min(rects[i].bottom, photo.Height)};
                int inside = 0;
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x) inside += changed[static_cast<std::size_t>(y) * photo.Width + x];
                if (inside < options.minPixels)
                    findings.push_back({"rect_without_change", Fmt("\"rect\":%zu,\"box\":%s", i, BoxJson(rects[i]).c_str())});
            }
        }
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
