#include "boxes.h"

#include <algorithm>
#include <numeric>

namespace vexa::authoring {

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

Box Union(const Box& a, const Box& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Box Grown(const Box& b, int by, int width, int height) {
    return {std::max(b.left - by, 0), std::max(b.top - by, 0), std::min(b.right + by, width),
            std::min(b.bottom + by, height)};
}

std::vector<Box> MergeOverlapping(std::vector<Box> boxes, std::vector<std::vector<int>>* groups) {
    std::vector<std::vector<int>> members(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) members[i] = {static_cast<int>(i)};
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < boxes.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < boxes.size() && !merged; ++j) {
                if (!Overlap(boxes[i], boxes[j])) continue;
                boxes[i] = Union(boxes[i], boxes[j]);
                members[i].insert(members[i].end(), members[j].begin(), members[j].end());
                boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
                members.erase(members.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
    }
    if (groups) *groups = std::move(members);
    return boxes;
}

namespace {

// Cuts the grown boxes `a` and `b` of the disjoint changes `ca` and `cb` back
// to the middle of the gap between the changes, along the axis where the gap
// is wider.
void Trim(const Box& ca, const Box& cb, Box& a, Box& b) {
    const int gapX = std::max(cb.left - ca.right, ca.left - cb.right);
    const int gapY = std::max(cb.top - ca.bottom, ca.top - cb.bottom);
    if (gapX >= gapY) {
        Box& west = ca.right <= cb.left ? a : b;
        Box& east = ca.right <= cb.left ? b : a;
        const int mid = ca.right <= cb.left ? (ca.right + cb.left) / 2 : (cb.right + ca.left) / 2;
        west.right = std::min(west.right, mid);
        east.left = std::max(east.left, mid);
    } else {
        Box& north = ca.bottom <= cb.top ? a : b;
        Box& south = ca.bottom <= cb.top ? b : a;
        const int mid = ca.bottom <= cb.top ? (ca.bottom + cb.top) / 2 : (cb.bottom + ca.top) / 2;
        north.bottom = std::min(north.bottom, mid);
        south.top = std::max(south.top, mid);
    }
}

}  // namespace

std::vector<Box> LayOutRects(std::vector<Box> changes, int margin, int width, int height) {
    changes = MergeOverlapping(std::move(changes));
    std::vector<Box> rects;
    for (const Box& c : changes) rects.push_back(Grown(c, margin, width, height));
    // Cutting only shrinks a box and never past its change, so one pass over
    // the pairs leaves none overlapping.
    for (std::size_t i = 0; i < rects.size(); ++i)
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            if (Overlap(rects[i], rects[j])) Trim(changes[i], changes[j], rects[i], rects[j]);
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return rects[a].top != rects[b].top ? rects[a].top < rects[b].top : rects[a].left < rects[b].left;
    });
    std::vector<Box> sorted;
    for (std::size_t i : order) sorted.push_back(rects[i]);
    return sorted;
}

}  // namespace vexa::authoring
