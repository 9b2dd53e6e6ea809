#include "change_measure.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace vexa::authoring {

namespace {

// Smoothing of both pictures before they are compared (Gaussian sigma, pixels).
constexpr double kSmoothing = 1.5;
// Local lightness deviation that halves how much a difference counts.
constexpr double kTextureScale = 20.0;
// A weak change needs this many times the least area of a clear one: JPEG
// noise makes small faint specks everywhere.
constexpr int kWeakAreas = 4;
// A pixel joins a change at this share of the change's strongest difference.
constexpr double kJoinShare = 0.15;
// A change's core: its pixels at this share of its strongest difference.
constexpr double kCoreShare = 0.4;
// Mirrored when the mirrored scene is this much closer to the photo than the scene.
constexpr double kMirrorShare = 0.5;
// Mirrored halves this many join distances apart or more stay apart.
constexpr int kMirrorReach = 6;
// The noise floor: this share of all pixels differ no more than it; a pixel
// joins a change only at kFloorJoin times it and seeds one at kFloorSeed times.
constexpr double kFloorPercentile = 0.5;
constexpr double kFloorJoin = 2.5;
constexpr double kFloorSeed = 8.0;
// A whole-picture offset further than this share of the picture is no shift.
constexpr int kShiftShare = 8;

cv::Mat Bgr(const vexa::DibPixels& p) {
    // 0xFFRRGGBB in memory order is B, G, R, A.
    const cv::Mat bgra(p.Height, p.Width, CV_8UC4, const_cast<std::uint32_t*>(p.Argb.data()));
    cv::Mat bgr;
    cv::cvtColor(bgra, bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

cv::Mat Lab(const cv::Mat& bgr, double sigma) {
    cv::Mat f, lab;
    bgr.convertTo(f, CV_32F, 1.0 / 255.0);
    if (sigma > 0) cv::GaussianBlur(f, f, cv::Size(0, 0), sigma);
    cv::cvtColor(f, lab, cv::COLOR_BGR2Lab);
    return lab;
}

// The median difference of each Lab channel: what a uniform shift of
// brightness or colour adds to every pixel. Sampled on a grid.
cv::Vec3f UniformShift(const cv::Mat& diff) {
    const std::size_t total = diff.total();
    const std::size_t step = std::max<std::size_t>(1, total / 200000);
    cv::Vec3f median;
    std::vector<float> samples;
    for (int c = 0; c < 3; ++c) {
        samples.clear();
        for (std::size_t i = 0; i < total; i += step) samples.push_back(diff.at<cv::Vec3f>(static_cast<int>(i))[c]);
        auto mid = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
        std::nth_element(samples.begin(), mid, samples.end());
        median[c] = *mid;
    }
    return median;
}

// The value that a share `q` of the pixels do not exceed (sampled on a grid).
double Percentile(const cv::Mat& values, double q) {
    const std::size_t total = values.total();
    const std::size_t step = std::max<std::size_t>(1, total / 200000);
    std::vector<float> samples;
    for (std::size_t i = 0; i < total; i += step) samples.push_back(values.ptr<float>()[i]);
    auto at = samples.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

// Delta E of every pixel, the uniform shift taken out.
cv::Mat DeltaE(const cv::Mat& sceneLab, const cv::Mat& photoLab, const cv::Vec3f& shift) {
    cv::Mat diff = photoLab - sceneLab;
    diff -= cv::Scalar(shift[0], shift[1], shift[2]);
    cv::Mat squared;
    cv::multiply(diff, diff, squared);
    cv::Mat sum;
    cv::transform(squared, sum, cv::Matx13f(1, 1, 1));
    cv::Mat distance;
    cv::sqrt(sum, distance);
    return distance;
}

// How busy each pixel's surroundings are in both pictures (the smaller of
// the two local deviations of colour, all three Lab channels): JPEG noise
// lives in texture and along colour edges, and the eye sees less of a change
// there too.
cv::Mat Texture(const cv::Mat& sceneLab, const cv::Mat& photoLab) {
    cv::Mat out;
    for (const cv::Mat* lab : {&sceneLab, &photoLab}) {
        cv::Mat mean, meanSq, sq;
        cv::blur(*lab, mean, cv::Size(5, 5));
        cv::multiply(*lab, *lab, sq);
        cv::blur(sq, meanSq, cv::Size(5, 5));
        cv::Mat var = meanSq - mean.mul(mean), total;
        cv::transform(var, total, cv::Matx13f(1, 1, 1));
        cv::max(total, 0, total);
        cv::Mat deviation;
        cv::sqrt(total, deviation);
        out = out.empty() ? deviation : cv::min(out, deviation);
    }
    return out;
}

cv::Mat ChannelDifference(const cv::Mat& a, const cv::Mat& b) {
    cv::Mat diff;
    cv::absdiff(a, b, diff);
    cv::Mat most = diff.reshape(1, static_cast<int>(diff.total()));
    cv::reduce(most, most, 1, cv::REDUCE_MAX);
    most = most.reshape(1, a.rows);
    cv::Mat out;
    most.convertTo(out, CV_32F);
    return out;
}

double MeanGreyDifference(const cv::Mat& a, const cv::Mat& b, int dx, int dy, const cv::Rect& inner) {
    const cv::Rect moved = inner + cv::Point(dx, dy);
    cv::Mat diff;
    cv::absdiff(a(inner), b(moved), diff);
    return cv::mean(diff)[0];
}

// A whole-picture offset between the two: found by phase correlation on a
// reduced copy, and kept only when aligning makes the pictures agree far
// better than they do as they are.
std::optional<Shift> FindShift(const cv::Mat& sceneBgr, const cv::Mat& photoBgr) {
    const int w = sceneBgr.cols, h = sceneBgr.rows;
    if (w < 32 || h < 32) return std::nullopt;
    cv::Mat a, b;
    cv::cvtColor(sceneBgr, a, cv::COLOR_BGR2GRAY);
    cv::cvtColor(photoBgr, b, cv::COLOR_BGR2GRAY);
    const double scale = std::min(1.0, 768.0 / std::max(w, h));
    cv::Mat fa, fb;
    cv::resize(a, fa, cv::Size(), scale, scale, cv::INTER_AREA);
    cv::resize(b, fb, cv::Size(), scale, scale, cv::INTER_AREA);
    fa.convertTo(fa, CV_32F);
    fb.convertTo(fb, CV_32F);
    cv::Mat window;
    cv::createHanningWindow(window, fa.size(), CV_32F);
    const cv::Point2d found = cv::phaseCorrelate(fa, fb, window);
    const int dx = static_cast<int>(std::lround(found.x / scale));
    const int dy = static_cast<int>(std::lround(found.y / scale));
    if ((dx == 0 && dy == 0) || std::abs(dx) > w / kShiftShare || std::abs(dy) > h / kShiftShare)
        return std::nullopt;
    const cv::Rect inner(std::abs(dx), std::abs(dy), w - 2 * std::abs(dx), h - 2 * std::abs(dy));
    const double aligned = MeanGreyDifference(a, b, dx, dy, inner);
    const double asIs = MeanGreyDifference(a, b, 0, 0, inner);
    if (asIs < 2.0 || aligned > 0.5 * asIs) return std::nullopt;
    return Shift{dx, dy};
}

struct Part {
    int seeds = 0, visible = 0;
    double peak = 0;
};

// The regions of touching pixels of `mask` (labels from 1) with their
// counts of seed and visible pixels and their strongest difference.
std::vector<Part> Regions(const cv::Mat& mask, const cv::Mat& difference, double strong, double visible,
                          cv::Mat& labels) {
    const int count = cv::connectedComponents(mask, labels, 8, CV_32S);
    std::vector<Part> parts(static_cast<std::size_t>(count));
    const auto* d = difference.ptr<float>();
    const auto* label = labels.ptr<int>();
    for (std::size_t i = 0; i < difference.total(); ++i) {
        if (label[i] == 0) continue;
        Part& p = parts[static_cast<std::size_t>(label[i])];
        p.seeds += d[i] >= strong;
        p.visible += d[i] >= visible;
        p.peak = std::max<double>(p.peak, d[i]);
    }
    return parts;
}

Change Merge(const std::vector<const Change*>& parts) {
    Change out = *parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        out.box = Union(out.box, parts[i]->box);
        out.pixels.insert(out.pixels.end(), parts[i]->pixels.begin(), parts[i]->pixels.end());
        out.peak = std::max(out.peak, parts[i]->peak);
    }
    return out;
}

// Changes less than `join` pixels apart become one: a square of `join`
// pixels stamped on every pixel of `core` makes two changes touch exactly
// when fewer than `join` unchanged pixels lie between them. The core is a
// change's clearly changed pixels, so that JPEG smear around two changes
// does not bridge the gap between them.
std::vector<Change> Joined(std::vector<Change> changes, cv::Mat core, int join) {
    if (join <= 1 || changes.size() < 2) return changes;
    cv::dilate(core, core, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(join, join)));
    cv::Mat labels;
    cv::connectedComponents(core, labels, 8, CV_32S);
    std::map<int, std::vector<const Change*>> groups;
    for (const Change& c : changes) {
        int label = 0;
        for (std::size_t i = 0; i < c.pixels.size() && label == 0; ++i) label = labels.at<int>(c.pixels[i]);
        groups[label].push_back(&c);
    }
    std::vector<Change> out;
    for (const auto& [label, parts] : groups) {
        if (label != 0) {
            out.push_back(Merge(parts));
        } else {
            for (const Change* c : parts) out.push_back(*c);
        }
    }
    return out;
}

double MeanDistance(const cv::Mat& a, const cv::Mat& b) {
    cv::Mat diff = a - b, squared, sum, distance;
    cv::multiply(diff, diff, squared);
    cv::transform(squared, sum, cv::Matx13f(1, 1, 1));
    cv::sqrt(sum, distance);
    return cv::mean(distance)[0];
}

// True when the photo's pixels in `box` are the scene's mirrored or turned
// half round, give or take a pixel of where the axis lies.
bool MirroredIn(const cv::Mat& sceneLab, const cv::Mat& photoLab, const Box& box) {
    const cv::Rect whole(0, 0, sceneLab.cols, sceneLab.rows);
    for (const cv::Rect& r : {cv::Rect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                              cv::Rect(box.left - 1, box.top - 1, box.right - box.left + 1, box.bottom - box.top + 1),
                              cv::Rect(box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1)}) {
        if ((r & whole) != r || r.area() == 0) continue;
        const double asIs = MeanDistance(sceneLab(r), photoLab(r));
        for (int code : {1, 0, -1}) {
            cv::Mat turned;
            cv::flip(sceneLab(r), turned, code);
            if (MeanDistance(turned, photoLab(r)) < kMirrorShare * asIs) return true;
        }
    }
    return false;
}

// A mirrored or turned patch changes little along its axis, and may show as
// two changes side by side: they are one when the photo holds the scene's
// pixels mirrored across the box of both.
std::vector<Change> MirrorsJoined(std::vector<Change> changes, const cv::Mat& sceneLab, const cv::Mat& photoLab,
                                  int join) {
    const int reach = kMirrorReach * std::max(join, 1);
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < changes.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < changes.size() && !merged; ++j) {
                const Box& a = changes[i].box;
                const Box& b = changes[j].box;
                const int gapX = std::max(a.left, b.left) - std::min(a.right, b.right);
                const int gapY = std::max(a.top, b.top) - std::min(a.bottom, b.bottom);
                if (std::max(gapX, gapY) >= reach || !MirroredIn(sceneLab, photoLab, Union(a, b))) continue;
                changes[i] = Merge({&changes[i], &changes[j]});
                changes.erase(changes.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
    }
    return changes;
}

void SortReadingOrder(std::vector<Change>& changes) {
    std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.box.top != b.box.top ? a.box.top < b.box.top : a.box.left < b.box.left;
    });
}

}  // namespace

ChangeMap MeasureChanges(const vexa::DibPixels& scenePixels, const vexa::DibPixels& photoPixels,
                         const MeasureSettings& s) {
    ChangeMap map;
    map.width = photoPixels.Width;
    map.height = photoPixels.Height;
    const int w = map.width, h = map.height;
    if (w <= 0 || h <= 0 || scenePixels.Width != w || scenePixels.Height != h) return map;
    const cv::Mat scene = Bgr(scenePixels), photo = Bgr(photoPixels);

    // `smooth` decides which pixels seed and join a change; `exact` which of
    // them the change's box must hold.
    cv::Mat smooth, exact, sceneSmooth, photoSmooth;
    double strong = s.strong, visible = s.visible, low = s.low;
    if (s.tolerance >= 0) {
        smooth = exact = ChannelDifference(scene, photo);
        strong = visible = low = s.tolerance + 0.5;
    } else {
        map.shift = FindShift(scene, photo);
        if (map.shift) return map;
        sceneSmooth = Lab(scene, kSmoothing);
        photoSmooth = Lab(photo, kSmoothing);
        const cv::Vec3f uniform = UniformShift(photoSmooth - sceneSmooth);
        const cv::Mat sceneExact = Lab(scene, 0), photoExact = Lab(photo, 0);
        smooth = DeltaE(sceneSmooth, photoSmooth, uniform);
        exact = DeltaE(sceneExact, photoExact, uniform);
        // Scaled down where both pictures are busy.
        cv::Mat masking = Texture(sceneExact, photoExact) / kTextureScale + 1.0;
        cv::divide(smooth, masking, smooth);
        cv::divide(exact, masking, exact);
        // Stored with stronger compression, the pictures differ a little
        // nearly everywhere: the levels rise above that floor.
        const double floor = Percentile(smooth, kFloorPercentile);
        low = std::max(low, kFloorJoin * floor);
        strong = std::max(strong, kFloorSeed * floor);
    }

    // Hysteresis in two rounds: first the pixels at `low` that touch form
    // regions; then a pixel stays only at a share of its region's strongest
    // difference as well, so the faint JPEG ringing between two bold changes
    // close together no longer bridges them, while a faint change keeps all
    // of its pixels.
    cv::Mat labels;
    std::vector<Part> parts = Regions(smooth >= low, smooth, strong, visible, labels);
    cv::Mat threshold(h, w, CV_32F);
    const double share = s.tolerance >= 0 ? 0.0 : kJoinShare;
    {
        const auto* first = labels.ptr<int>();
        auto* t = threshold.ptr<float>();
        for (int i = 0; i < w * h; ++i)
            t[i] = static_cast<float>(std::max(low, share * parts[static_cast<std::size_t>(first[i])].peak));
    }
    parts = Regions(smooth >= threshold, smooth, strong, visible, labels);
    const auto* label = labels.ptr<int>();
    const auto* limit = threshold.ptr<float>();
    // 0: none, 1: clear, 2: weak.
    std::vector<int> kind(parts.size(), 0);
    for (std::size_t k = 1; k < parts.size(); ++k)
        kind[k] = parts[k].seeds >= std::max(1, s.minArea)                ? 1
                  : parts[k].visible >= kWeakAreas * std::max(1, s.minArea) ? 2
                                                                           : 0;

    // The box holds the pixels a person would see changed; fainter JPEG
    // ringing around a change stays out of it.
    const float boxLevel = static_cast<float>(visible);
    std::vector<Change> found(parts.size());
    const auto* e = exact.ptr<float>();
    for (int i = 0; i < w * h; ++i) {
        const int k = label[i];
        if (kind[static_cast<std::size_t>(k)] == 0 || e[i] < std::max<float>(limit[i], boxLevel)) continue;
        Change& c = found[static_cast<std::size_t>(k)];
        const int x = i % w, y = i / w;
        c.box = c.pixels.empty() ? Box{x, y, x + 1, y + 1} : Union(c.box, Box{x, y, x + 1, y + 1});
        c.pixels.push_back(i);
    }
    cv::Mat core = cv::Mat::zeros(h, w, CV_8U);
    for (std::size_t k = 1; k < parts.size(); ++k) {
        if (kind[k] == 0 || found[k].pixels.empty()) continue;
        found[k].peak = parts[k].peak;
        if (kind[k] == 1) {
            // The core: well above the seed level, and near the change's own
            // strength, which JPEG ringing beside a bold change is not.
            double peak = 0;
            for (int i : found[k].pixels) peak = std::max<double>(peak, e[i]);
            const double level = std::max(strong, kCoreShare * peak);
            bool any = false;
            for (int i : found[k].pixels) any |= (core.data[i] = e[i] >= level) != 0;
            if (!any)
                for (int i : found[k].pixels) core.data[i] = 1;
        }
        (kind[k] == 1 ? map.changes : map.weak).push_back(std::move(found[k]));
    }
    map.changes = Joined(std::move(map.changes), core, s.join);
    if (s.tolerance < 0) map.changes = MirrorsJoined(std::move(map.changes), sceneSmooth, photoSmooth, s.join);
    SortReadingOrder(map.changes);
    // A faint fringe next to a clear change belongs to it.
    std::erase_if(map.weak, [&](const Change& weak) {
        const Box reach = Grown(weak.box, std::max(s.join, 1), w, h);
        return std::any_of(map.changes.begin(), map.changes.end(),
                           [&](const Change& c) { return Overlap(reach, c.box); });
    });
    SortReadingOrder(map.weak);
    return map;
}

std::vector<Box> ProposedRects(const ChangeMap& map, int margin) {
    std::vector<Box> boxes;
    for (const Change& c : map.changes) boxes.push_back(c.box);
    return LayOutRects(std::move(boxes), margin, map.width, map.height);
}

}  // namespace vexa::authoring
