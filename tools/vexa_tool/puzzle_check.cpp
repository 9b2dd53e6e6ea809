#include "puzzle_check.h"

#include "view/core/dib_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <cstdarg>
#include <cstdio>

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

struct Box {
    int left, top, right, bottom;  // right and bottom outside
};

std::string BoxJson(const Box& b) {
    return Fmt("[%d,%d,%d,%d]", b.left, b.top, b.right, b.bottom);
}

bool Inside(const Box& outer, const Box& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Box& a, const Box& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Decode(const vexa::Block& block, DibPixels& out) {
    return !block.empty() && vexa::DecodeDibPixels(block.data(), block.size(), out);
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

// Clusters (8-connected) of pixels that differ by more than the tolerance.
struct Cluster {
    Box box;
    int pixels = 0;
    int uncoveredPixels = 0;
    Box uncovered{0, 0, 0, 0};
};

std::vector<Cluster> ChangedClusters(const DibPixels& a, const DibPixels& b, int tolerance,
                                     const std::vector<Box>& rects, std::vector<char>& changed) {
    const int w = a.Width, h = a.Height;
    changed.assign(static_cast<std::size_t>(w) * h, 0);
    for (std::size_t i = 0; i < changed.size(); ++i)
        changed[i] = ChannelDifference(a.Argb[i], b.Argb[i]) > tolerance;
    auto covered = [&](int x, int y) {
        return std::any_of(rects.begin(), rects.end(), [&](const Box& r) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        });
    };
    std::vector<char> seen(changed.size(), 0);
    std::vector<Cluster> clusters;
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (!changed[start] || seen[start]) continue;
        Cluster c{{w, h, 0, 0}};
        stack.assign(1, start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % w, y = i / w;
            ++c.pixels;
            c.box = {std::min(c.box.left, x), std::min(c.box.top, y), std::max(c.box.right, x + 1),
                     std::max(c.box.bottom, y + 1)};
            if (!covered(x, y)) {
                c.uncovered = c.uncoveredPixels == 0
                                  ? Box{x, y, x + 1, y + 1}
                                  : Box{std::min(c.uncovered.left, x), std::min(c.uncovered.top, y),
                                        std::max(c.uncovered.right, x + 1), std::max(c.uncovered.bottom, y + 1)};
                ++c.uncoveredPixels;
            }
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const int n = ny * w + nx;
                    if (changed[n] && !seen[n]) {
                        seen[n] = 1;
                        stack.push_back(n);
                    }
                }
        }
        clusters.push_back(c);
    }
    return clusters;
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
            const std::uint8_t* p = table.data() + static_cast<std::size_t>(i) * vexa::kAnimRecordBytes;
            auto field = [p](int k) { return static_cast<std::int16_t>(p[2 * k] | (p[2 * k + 1] << 8)); };
            const int command = field(0);
            if (command == 'W') {
                wait = true;
                continue;
            }
            if (command != 'C' && command != 'R' && command != 'T') continue;
            const int sx = command == 'R' ? field(3) : field(1);
            const int sy = command == 'R' ? field(4) : field(2);
            const Box dest{field(3), field(4), field(3) + field(5), field(4) + field(6)};
            const Box source{sx, sy, sx + field(5), sy + field(6)};
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

std::vector<Finding> CheckPuzzle(const vexa::TPuzzleData& puzzle, const CheckOptions& options) {
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
            std::vector<char> changed;
            const std::vector<Cluster> clusters = ChangedClusters(scene, photo, options.tolerance, rects, changed);
            for (const Cluster& c : clusters)
                if (c.uncoveredPixels >= options.minPixels)
                    findings.push_back({"uncovered_change", Fmt("\"box\":%s,\"pixels\":%d",
                                                                BoxJson(c.uncovered).c_str(), c.uncoveredPixels)});
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

}  // namespace vexatool
