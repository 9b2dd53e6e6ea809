#include "change_regions.h"

#include <algorithm>
#include <cstdlib>

namespace vexatool {

std::string BoxJson(const Box& b) {
    return "[" + std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
           std::to_string(b.bottom) + "]";
}

bool Inside(const Box& outer, const Box& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Box& a, const Box& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Contains(const Box& b, int x, int y) { return x >= b.left && x < b.right && y >= b.top && y < b.bottom; }

Box Grown(const Box& b, int by, int width, int height) {
    return {std::max(b.left - by, 0), std::max(b.top - by, 0), std::min(b.right + by, width),
            std::min(b.bottom + by, height)};
}

std::vector<char> ChangedPixels(const vexa::DibPixels& a, const vexa::DibPixels& b, int tolerance) {
    std::vector<char> changed(a.Argb.size(), 0);
    for (std::size_t i = 0; i < changed.size() && i < b.Argb.size(); ++i) {
        int most = 0;
        for (int shift = 0; shift < 24; shift += 8)
            most = std::max(most, std::abs(static_cast<int>((a.Argb[i] >> shift) & 0xFF) -
                                           static_cast<int>((b.Argb[i] >> shift) & 0xFF)));
        changed[i] = most > tolerance;
    }
    return changed;
}

namespace {

// Regions of set cells; `diagonal` also joins cells that touch at a corner.
std::vector<Region> Components(const std::vector<char>& set, int width, int height, bool diagonal) {
    std::vector<char> seen(set.size(), 0);
    std::vector<Region> regions;
    std::vector<int> stack;
    for (int start = 0; start < width * height; ++start) {
        if (!set[start] || seen[start]) continue;
        Region r;
        r.box = {width, height, 0, 0};
        stack.assign(1, start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % width, y = i / width;
            r.pixels.push_back(i);
            r.box = {std::min(r.box.left, x), std::min(r.box.top, y), std::max(r.box.right, x + 1),
                     std::max(r.box.bottom, y + 1)};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!diagonal && dx != 0 && dy != 0) continue;
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                    const int n = ny * width + nx;
                    if (set[n] && !seen[n]) {
                        seen[n] = 1;
                        stack.push_back(n);
                    }
                }
        }
        regions.push_back(std::move(r));
    }
    return regions;
}

}  // namespace

std::vector<Region> ChangedRegions(const std::vector<char>& changed, int width, int height) {
    return Components(changed, width, height, true);
}

std::vector<Box> DiffRectangles(const vexa::DibPixels& scene, const vexa::DibPixels& photo,
                                const DiffOptions& options) {
    const int w = photo.Width, h = photo.Height;
    std::vector<Box> boxes;
    for (const Region& r : ChangedRegions(ChangedPixels(scene, photo, options.tolerance), w, h))
        if (static_cast<int>(r.pixels.size()) >= options.minArea) boxes.push_back(Grown(r.box, options.margin, w, h));

    // Paint the boxes and take the bounding box of every painted area, until
    // that changes nothing: then no two boxes overlap or touch.
    std::vector<char> painted(static_cast<std::size_t>(w) * h);
    for (;;) {
        std::fill(painted.begin(), painted.end(), 0);
        for (const Box& b : boxes)
            for (int y = b.top; y < b.bottom; ++y)
                std::fill_n(painted.begin() + static_cast<std::ptrdiff_t>(y) * w + b.left, b.right - b.left, 1);
        std::vector<Box> merged;
        for (const Region& r : Components(painted, w, h, false)) merged.push_back(r.box);
        const bool done = merged.size() == boxes.size();
        boxes = std::move(merged);
        if (done) break;
    }
    std::sort(boxes.begin(), boxes.end(),
              [](const Box& a, const Box& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    return boxes;
}

}  // namespace vexatool
