#include "photo_edits.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/photo.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vexa::authoring {

std::uint64_t SeededDraws::Below(std::uint64_t n) {
    // Rejection keeps every value equally likely.
    const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % n);
    std::uint64_t v;
    do v = engine_();
    while (v >= limit);
    return v % n;
}

double SeededDraws::Unit() { return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0); }

const char* EditKindName(EditKind kind) {
    switch (kind) {
        case EditKind::Remove: return "remove";
        case EditKind::Recolour: return "recolour";
        case EditKind::Add: return "add";
        case EditKind::Mirror: return "mirror";
        case EditKind::Resize: return "resize";
        case EditKind::Detail: return "detail";
    }
    return "?";
}

Fairness FairnessFor(Difficulty difficulty) {
    switch (difficulty) {
        case Difficulty::Easy: return {22.0, 400, 150, 0.004, 0.06};
        case Difficulty::Normal: return {15.0, 200, 150, 0.0015, 0.035};
        case Difficulty::Hard: return {10.0, 80, 0, 0.0006, 0.02};
    }
    return {15.0, 200, 150, 0.0015, 0.035};
}

namespace {

// How sure the shape of a region must be before an edit of each kind goes
// on it, strictest first. Copies, mirrors and enlargements look natural only
// for an object that stands apart from its ground; a patch of texture moved
// about shows its cut. Taking a thing away needs a thing: something unlike its
// ground all round (a piece of a larger object leaves a hole, a patch of
// ground a smudge). A new colour must fill a whole object, one that stands
// apart all round and whose own texture (shading, grain, fur) is small beside
// that contrast; on a patch of fur or grain it shows as a painted blob. The
// later levels are for regions left when the strict one finds too few: the
// new colour is the photo's own and no more vivid than it, so an object with
// a softer outline or some grain still takes it. A copy elsewhere is never
// relaxed: a patch set down on another ground is no find at any level.
struct Strictness {
    double objectContrast;
    double distinctContrast, distinctOutline;
    double colourContrast, colourTexture /* of its contrast */, colourOutline;
    double plainGround;  // the most texture of the ground round a removal
};
constexpr double kAnyGround = std::numeric_limits<double>::infinity();
constexpr Strictness kStrictness[kSuitLevels] = {
    {15.0, 8.0, 0.4, 25.0, 0.5, 0.85, kAnyGround},
    // A fainter thing first only from a plain ground, which inpainting fills
    // as it looks; then from any, its grain put back over the fill.
    {12.0, 6.0, 0.3, 18.0, 0.75, 0.7, 6.0},
    {10.0, 5.0, 0.25, 14.0, 1.0, 0.55, kAnyGround},
};
// A recolour turns the hue at least this far (radians), or it is barely
// seen, but not round to the opposite colour, and only on an object that has
// a hue to turn: a grey one given a colour looks painted over.
constexpr double kMinHueTurn = 0.7;
constexpr double kMaxHueTurn = 2.0;
constexpr double kSameHue = 0.45;  // hues a viewer takes for one colour
constexpr double kMinRecolourChroma = 10.0;

}  // namespace

bool Suits(EditKind kind, const Region& region, double pictureArea, int level) {
    const Strictness& n = kStrictness[std::clamp(level, 0, kSuitLevels - 1)];
    const bool small = region.area < 0.004 * pictureArea;
    // Taking away is judged at the strict level too, so no level refuses what
    // a stricter one allowed.
    auto distinctAt = [&](const Strictness& at) {
        return region.contrast >= at.distinctContrast && region.outline >= at.distinctOutline &&
               region.groundTexture <= at.plainGround;
    };
    const bool distinct = distinctAt(kStrictness[0]) || distinctAt(n);
    switch (kind) {
        // Inpainting fills small holes convincingly, large ones with a smear.
        case EditKind::Detail: return small && distinct;
        case EditKind::Remove: return !small && distinct && region.area <= 0.012 * pictureArea;
        // A large copy is a second copy of the scene's main subject, not a find.
        case EditKind::Add:
            return region.contrast >= kStrictness[0].objectContrast && region.area <= 0.01 * pictureArea;
        case EditKind::Mirror:
        case EditKind::Resize: return region.contrast >= n.objectContrast;
        case EditKind::Recolour:
            return region.contrast >= n.colourContrast && region.texture <= n.colourTexture * region.contrast &&
                   region.outline >= n.colourOutline;
    }
    return false;
}

namespace {

cv::Rect ToRect(const Box& b) { return {b.left, b.top, b.right - b.left, b.bottom - b.top}; }

// Spectral residual saliency: what stands out of the photo's usual spectrum.
cv::Mat Saliency(const cv::Mat& smallRgb) {
    cv::Mat grey, f;
    cv::cvtColor(smallRgb, grey, cv::COLOR_RGB2GRAY);
    cv::resize(grey, grey, cv::Size(64, 64), 0, 0, cv::INTER_AREA);
    grey.convertTo(f, CV_32F, 1.0 / 255);
    cv::Mat planes[] = {f, cv::Mat::zeros(f.size(), CV_32F)}, spectrum;
    cv::merge(planes, 2, spectrum);
    cv::dft(spectrum, spectrum);
    cv::split(spectrum, planes);
    cv::Mat magnitude, phase, logMag, average;
    cv::cartToPolar(planes[0], planes[1], magnitude, phase);
    cv::log(magnitude + 1e-6f, logMag);
    cv::blur(logMag, average, cv::Size(3, 3));
    cv::Mat residual;
    cv::exp(logMag - average, residual);
    cv::polarToCart(residual, phase, planes[0], planes[1]);
    cv::merge(planes, 2, spectrum);
    cv::idft(spectrum, spectrum, cv::DFT_SCALE);
    cv::split(spectrum, planes);
    cv::Mat power;
    cv::magnitude(planes[0], planes[1], power);
    power = power.mul(power);
    cv::GaussianBlur(power, power, cv::Size(0, 0), 2.5);
    cv::normalize(power, power, 0, 1, cv::NORM_MINMAX);
    cv::Mat out;
    cv::resize(power, out, smallRgb.size(), 0, 0, cv::INTER_LINEAR);
    return out;
}

struct UnionFind {
    std::vector<int> parent;
    explicit UnionFind(int n) : parent(static_cast<std::size_t>(n)) { std::iota(parent.begin(), parent.end(), 0); }
    int Find(int x) {
        while (parent[x] != x) x = parent[x] = parent[parent[x]];
        return x;
    }
};

// Two colours a viewer takes for the same surface.
constexpr double kAlike = 10.0;

double DeltaE(const cv::Vec3f& a, const cv::Vec3f& b) {
    const cv::Vec3f d = a - b;
    return std::sqrt(d.dot(d));
}

}  // namespace

double Detail(const cv::Mat& photo) {
    cv::Mat grey;
    cv::cvtColor(photo, grey, cv::COLOR_RGB2GRAY);
    cv::Scalar mean, deviation;
    cv::meanStdDev(grey, mean, deviation);
    return deviation[0];
}

std::vector<Region> FindRegions(const cv::Mat& photo) {
    constexpr int kSmallSide = 256;
    const double scale = static_cast<double>(kSmallSide) / std::max(photo.cols, photo.rows);
    cv::Mat small;
    cv::resize(photo, small, cv::Size(std::max(16, static_cast<int>(std::lround(photo.cols * scale))),
                                      std::max(16, static_cast<int>(std::lround(photo.rows * scale)))),
               0, 0, cv::INTER_AREA);
    const double sx = static_cast<double>(photo.cols) / small.cols, sy = static_cast<double>(photo.rows) / small.rows;
    const cv::Mat saliency = Saliency(small);

    // Superpixels: watershed grown from a grid of seeds over the colours.
    constexpr int kStep = 10;
    cv::Mat markers = cv::Mat::zeros(small.size(), CV_32S);
    int seeds = 0;
    for (int y = kStep / 2; y < small.rows; y += kStep)
        for (int x = kStep / 2; x < small.cols; x += kStep) markers.at<int>(y, x) = ++seeds;
    cv::Mat bgr;
    cv::cvtColor(small, bgr, cv::COLOR_RGB2BGR);
    cv::watershed(bgr, markers);
    // Watershed lines (-1) join the segment to their left, or above.
    for (int y = 0; y < markers.rows; ++y)
        for (int x = 0; x < markers.cols; ++x) {
            int& m = markers.at<int>(y, x);
            if (m > 0) continue;
            m = x > 0 && markers.at<int>(y, x - 1) > 0 ? markers.at<int>(y, x - 1)
                : y > 0 && markers.at<int>(y - 1, x) > 0 ? markers.at<int>(y - 1, x) : 1;
        }

    cv::Mat lab;
    small.convertTo(lab, CV_32FC3, 1.0 / 255);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);
    std::vector<cv::Vec3d> sum(static_cast<std::size_t>(seeds + 1));
    std::vector<int> count(static_cast<std::size_t>(seeds + 1), 0);
    std::vector<std::pair<int, int>> edges;
    for (int y = 0; y < markers.rows; ++y)
        for (int x = 0; x < markers.cols; ++x) {
            const int m = markers.at<int>(y, x);
            sum[m] += cv::Vec3d(lab.at<cv::Vec3f>(y, x));
            ++count[m];
            if (x + 1 < markers.cols && markers.at<int>(y, x + 1) != m)
                edges.emplace_back(std::min(m, markers.at<int>(y, x + 1)), std::max(m, markers.at<int>(y, x + 1)));
            if (y + 1 < markers.rows && markers.at<int>(y + 1, x) != m)
                edges.emplace_back(std::min(m, markers.at<int>(y + 1, x)), std::max(m, markers.at<int>(y + 1, x)));
        }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    auto mean = [&](int m) { return count[m] ? cv::Vec3f(sum[m] / count[m]) : cv::Vec3f(); };
    // Objects: neighbouring superpixels of nearly the same colour, most alike first.
    std::vector<std::pair<double, std::pair<int, int>>> weighted;
    for (const auto& e : edges) weighted.push_back({DeltaE(mean(e.first), mean(e.second)), e});
    std::stable_sort(weighted.begin(), weighted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    UnionFind groups(seeds + 1);
    std::vector<cv::Vec3d> groupSum = sum;
    std::vector<int> groupCount = count;
    for (const auto& [weight, e] : weighted) {
        const int a = groups.Find(e.first), b = groups.Find(e.second);
        if (a == b || weight > 14.0) continue;
        const cv::Vec3f ma(groupSum[a] / std::max(1, groupCount[a])), mb(groupSum[b] / std::max(1, groupCount[b]));
        if (DeltaE(ma, mb) > 10.0) continue;
        groups.parent[b] = a;
        groupSum[a] += groupSum[b];
        groupCount[a] += groupCount[b];
    }

    // Candidates at two levels: the merged objects and the superpixels themselves (small details).
    std::vector<Region> regions;
    auto consider = [&](const cv::Mat& smallMask) {
        const cv::Rect r = cv::boundingRect(smallMask);
        if (r.width < 3 || r.height < 3) return;
        if (r.x <= 1 || r.y <= 1 || r.x + r.width >= small.cols - 1 || r.y + r.height >= small.rows - 1) return;
        const int area = cv::countNonZero(smallMask(r));
        if (area < 0.25 * r.area()) return;
        if (area > 0.15 * small.total()) return;
        cv::Mat ring;
        cv::dilate(smallMask, ring, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)));
        ring -= smallMask;
        const cv::Scalar inside = cv::mean(lab, smallMask), around = cv::mean(lab, ring);
        const double contrast = DeltaE(cv::Vec3f(inside[0], inside[1], inside[2]),
                                       cv::Vec3f(around[0], around[1], around[2]));
        Region region;
        region.contrast = contrast;
        const cv::Vec3f centre(inside[0], inside[1], inside[2]);
        double spread = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                if (smallMask.at<uchar>(y, x)) spread += DeltaE(lab.at<cv::Vec3f>(y, x), centre);
        region.texture = spread / area;
        // Ring pixels of the region's own colour: the thing goes on past the mask.
        const cv::Rect around3 = (r + cv::Size(6, 6) - cv::Point(3, 3)) & cv::Rect(0, 0, small.cols, small.rows);
        const cv::Vec3f groundColour(around[0], around[1], around[2]);
        int ringPixels = 0, alike = 0;
        double groundSpread = 0;
        for (int y = around3.y; y < around3.y + around3.height; ++y)
            for (int x = around3.x; x < around3.x + around3.width; ++x)
                if (ring.at<uchar>(y, x)) {
                    ++ringPixels;
                    if (DeltaE(lab.at<cv::Vec3f>(y, x), centre) < kAlike) ++alike;
                    groundSpread += DeltaE(lab.at<cv::Vec3f>(y, x), groundColour);
                }
        region.outline = ringPixels ? 1.0 - static_cast<double>(alike) / ringPixels : 0.0;
        region.groundTexture = ringPixels ? groundSpread / ringPixels : 0.0;
        region.prominence = 0.5 * cv::mean(saliency, smallMask)[0] + 0.5 * std::min(1.0, contrast / 40.0);
        const int left = static_cast<int>(std::floor(r.x * sx)), top = static_cast<int>(std::floor(r.y * sy));
        const int right = std::min(photo.cols, static_cast<int>(std::ceil((r.x + r.width) * sx)));
        const int bottom = std::min(photo.rows, static_cast<int>(std::ceil((r.y + r.height) * sy)));
        region.box = {left, top, right, bottom};
        cv::resize(smallMask(r), region.mask, cv::Size(right - left, bottom - top), 0, 0, cv::INTER_LINEAR);
        cv::threshold(region.mask, region.mask, 127, 255, cv::THRESH_BINARY);
        region.area = cv::countNonZero(region.mask);
        if (region.area > 0) regions.push_back(std::move(region));
    };
    cv::Mat groupOf(markers.size(), CV_32S);
    for (int y = 0; y < markers.rows; ++y)
        for (int x = 0; x < markers.cols; ++x) groupOf.at<int>(y, x) = groups.Find(markers.at<int>(y, x));
    std::vector<bool> seen(static_cast<std::size_t>(seeds + 1), false);
    for (int m = 1; m <= seeds; ++m) {
        const int g = groups.Find(m);
        if (!seen[g]) {
            seen[g] = true;
            consider(groupOf == g);
        }
        if (g != m && count[m] > 0) consider(markers == m);
    }
    std::stable_sort(regions.begin(), regions.end(),
                     [](const Region& a, const Region& b) { return a.prominence > b.prominence; });
    return regions;
}

namespace {

Box Padded(const Box& b, int by, const cv::Mat& image) { return Grown(b, by, image.cols, image.rows); }

// The mask as blending weights 0..1 with a soft edge, the size of `roi`, the
// mask placed at `at` (roi coordinates).
cv::Mat Feathered(const cv::Mat& mask, cv::Size roi, cv::Point at, int grow, double soft) {
    cv::Mat full = cv::Mat::zeros(roi, CV_8U);
    mask.copyTo(full(cv::Rect(at, mask.size())));
    if (grow > 0) cv::dilate(full, full, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * grow + 1, 2 * grow + 1)));
    cv::Mat weights;
    full.convertTo(weights, CV_32F, 1.0 / 255);
    if (soft > 0) cv::GaussianBlur(weights, weights, cv::Size(0, 0), soft);
    return weights;
}

void Blend(cv::Mat& target, const cv::Mat& changed, const cv::Mat& weights) {
    for (int y = 0; y < target.rows; ++y) {
        auto* t = target.ptr<cv::Vec3b>(y);
        const auto* c = changed.ptr<cv::Vec3b>(y);
        const auto* w = weights.ptr<float>(y);
        for (int x = 0; x < target.cols; ++x)
            for (int k = 0; k < 3; ++k)
                t[x][k] = cv::saturate_cast<uchar>(t[x][k] + w[x] * (static_cast<float>(c[x][k]) - t[x][k]));
    }
}

// Blends `changed` into `edited` over `roi` and records what the edit touched.
bool Finish(cv::Mat& edited, const Box& roiBox, const cv::Mat& changed, const cv::Mat& weights, EditArea& area) {
    cv::Mat target = edited(ToRect(roiBox));
    Blend(target, changed, weights);
    area = {roiBox, weights > 0.5f};
    return true;
}

bool Clear(const Box& b, const std::vector<Box>& taken, int gap, const cv::Mat& image) {
    for (const Box& t : taken)
        if (Overlap(Padded(t, gap, image), b)) return false;
    return true;
}

// Inpainting fills smoothly; on fur, foliage or a starfield the hole then
// shows as a smudge. The grain of a piece of ground beside the hole, the one
// nearest the fill's colour, goes back over the fill.
constexpr double kGrainyGround = 6.0;
constexpr double kGrain = 18.0;  // the most a grain pixel departs from its neighbourhood
void Regrain(const cv::Mat& source, const cv::Rect& roi, const cv::Mat& mask, cv::Mat& filled) {
    const cv::Rect hole = cv::boundingRect(mask);
    const cv::Scalar fillColour = cv::mean(filled, mask);
    const cv::Point shifts[] = {{hole.width + 2, 0}, {-hole.width - 2, 0}, {0, hole.height + 2}, {0, -hole.height - 2}};
    double best = 1e18;
    cv::Rect donor;
    for (const cv::Point& shift : shifts) {
        const cv::Rect r = roi + shift;
        if ((r & cv::Rect(0, 0, source.cols, source.rows)) != r) continue;
        const double d = cv::norm(cv::mean(source(r), mask) - fillColour);
        if (d < best) best = d, donor = r;
    }
    if (donor.area() == 0) return;
    cv::Mat ground, smooth;
    source(donor).convertTo(ground, CV_32FC3);
    cv::GaussianBlur(ground, smooth, cv::Size(0, 0), 2.0);
    // Grain, not things: a star or an edge beside the hole stays where it is.
    cv::Mat grain = cv::min(cv::max(ground - smooth, -kGrain), kGrain);
    cv::Mat out;
    filled.convertTo(out, CV_32FC3);
    out += grain;
    out.convertTo(filled, CV_8UC3);
}

bool Remove(const Region& region, const cv::Mat& source, cv::Mat& edited, EditArea& area) {
    const int w = region.box.right - region.box.left, h = region.box.bottom - region.box.top;
    const Box roiBox = Padded(region.box, std::max(12, std::max(w, h) / 3), source);
    const cv::Rect roi = ToRect(roiBox);
    cv::Mat mask = cv::Mat::zeros(roi.size(), CV_8U);
    region.mask.copyTo(mask(cv::Rect(cv::Point(region.box.left - roi.x, region.box.top - roi.y), region.mask.size())));
    cv::dilate(mask, mask, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)));
    // Inpainting costs grow with the hole; a smaller copy fills as well and the
    // blur it brings back is what a filled hole looks like anyway.
    const double shrink = std::min(1.0, 96.0 / std::max(w, h));
    cv::Mat part = source(roi).clone(), smallPart, smallMask, filled;
    cv::resize(part, smallPart, cv::Size(), shrink, shrink, cv::INTER_AREA);
    cv::resize(mask, smallMask, smallPart.size(), 0, 0, cv::INTER_NEAREST);
    cv::dilate(smallMask, smallMask, cv::Mat());
    cv::inpaint(smallPart, smallMask, filled, 4, cv::INPAINT_TELEA);
    cv::resize(filled, filled, part.size(), 0, 0, cv::INTER_LINEAR);
    // Only for a faint thing, itself a part of the grain (a stripe of fur): an
    // object's hole (an eye) would take grain, and lines, it never had.
    const Strictness& strict = kStrictness[0];
    const bool faint = region.contrast < strict.distinctContrast || region.outline < strict.distinctOutline;
    if (faint && region.groundTexture > kGrainyGround) Regrain(source, roi, mask, filled);
    cv::Mat weights;
    mask.convertTo(weights, CV_32F, 1.0 / 255);
    cv::GaussianBlur(weights, weights, cv::Size(0, 0), 1.5);
    return Finish(edited, roiBox, filled, weights, area);
}

// The object takes a hue the photo shows elsewhere, at about its own
// saturation and never more vivid than the photo's most vivid colours: a
// purple spoon or a green patch of fur is a find no one believes.
bool Recolour(const Region& region, const PhotoColours& colours, cv::Mat& edited, SeededDraws& draws, EditArea& area) {
    const Box roiBox = Padded(region.box, 9, edited);
    const cv::Rect roi = ToRect(roiBox);
    cv::Mat lab;
    edited(roi).convertTo(lab, CV_32FC3, 1.0 / 255);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);
    const cv::Point at(region.box.left - roi.x, region.box.top - roi.y);
    cv::Mat inMask = cv::Mat::zeros(roi.size(), CV_8U);
    region.mask.copyTo(inMask(cv::Rect(at, region.mask.size())));
    const cv::Scalar average = cv::mean(lab, inMask);
    const double chroma = std::hypot(average[1], average[2]), hue = std::atan2(average[2], average[1]);
    // The segment's mask is coarse: it takes in the object's own hue just past
    // its edge and in its shadows, or a rim or fold of the old colour is left.
    cv::Mat near;
    cv::dilate(inMask, near, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(9, 9)));
    for (int y = 0; y < lab.rows; ++y)
        for (int x = 0; x < lab.cols; ++x) {
            const cv::Vec3f p = lab.at<cv::Vec3f>(y, x);
            if (near.at<uchar>(y, x) && std::hypot(p[1], p[2]) >= 0.5 * chroma &&
                HueDistance(std::atan2(p[2], p[1]), hue) < kSameHue)
                inMask.at<uchar>(y, x) = 255;
        }
    const cv::Mat weights = Feathered(inMask, roi.size(), cv::Point(0, 0), 1, 1.2);
    if (chroma < kMinRecolourChroma) return false;
    std::vector<const PaletteColour*> targets;
    for (const PaletteColour& p : colours.palette)
        if (const double d = HueDistance(p.Hue(), hue);
            d >= kMinHueTurn && d <= kMaxHueTurn && p.Chroma() >= kMinRecolourChroma)
            targets.push_back(&p);
    if (targets.empty()) return false;
    const PaletteColour& target = *targets[draws.Below(targets.size())];
    const double turn = target.Hue() - hue;
    const float c = static_cast<float>(std::cos(turn)), s = static_cast<float>(std::sin(turn));
    const float gain = static_cast<float>(std::clamp(target.Chroma() / chroma, 0.75, 1.3));
    const float cap = static_cast<float>(colours.chromaCap);
    // Part of the way to the colour's lightness; the object keeps its own shading.
    const float lift = static_cast<float>(std::clamp(0.35 * (target.lightness - average[0]), -12.0, 12.0));
    for (int y = 0; y < lab.rows; ++y)
        for (int x = 0; x < lab.cols; ++x) {
            cv::Vec3f& p = lab.at<cv::Vec3f>(y, x);
            float a = gain * (c * p[1] - s * p[2]), b = gain * (s * p[1] + c * p[2]);
            const float k = std::hypot(a, b);
            if (k > cap) a *= cap / k, b *= cap / k;
            p[0] = std::clamp(p[0] + lift, 0.0f, 100.0f);
            p[1] = a;
            p[2] = b;
        }
    cv::cvtColor(lab, lab, cv::COLOR_Lab2RGB);
    cv::Mat changed;
    lab.convertTo(changed, CV_8UC3, 255);
    return Finish(edited, roiBox, changed, weights, area);
}

bool Mirror(const Region& region, cv::Mat& edited, EditArea& area) {
    const Box roiBox = Padded(region.box, 2, edited);
    const cv::Rect roi = ToRect(roiBox);
    cv::Mat flipped;
    cv::flip(edited(roi), flipped, 1);
    const cv::Point at(region.box.left - roi.x, region.box.top - roi.y);
    cv::Mat weights = Feathered(region.mask, roi.size(), at, 2, 0), flippedWeights;
    cv::flip(weights, flippedWeights, 1);
    weights = cv::max(weights, flippedWeights);
    cv::GaussianBlur(weights, weights, cv::Size(0, 0), 1.2);
    return Finish(edited, roiBox, flipped, weights, area);
}

bool Resize(const Region& region, cv::Mat& edited, SeededDraws& draws, EditArea& area) {
    const int w = region.box.right - region.box.left, h = region.box.bottom - region.box.top;
    const double factor = draws.Between(1.3, 1.45);
    const Box roiBox = Padded(region.box, static_cast<int>(std::ceil(std::max(w, h) * (factor - 1) / 2)) + 4, edited);
    const cv::Rect roi = ToRect(roiBox);
    const cv::Point2d centre(region.box.left - roi.x + w / 2.0, region.box.top - roi.y + h / 2.0);
    const cv::Mat warp = (cv::Mat_<double>(2, 3) << factor, 0, centre.x * (1 - factor), 0, factor,
                          centre.y * (1 - factor));
    cv::Mat grown;
    cv::warpAffine(edited(roi), grown, warp, roi.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    cv::Mat weights = Feathered(region.mask, roi.size(), cv::Point(region.box.left - roi.x, region.box.top - roi.y), 1, 0);
    cv::warpAffine(weights, weights, warp, roi.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT);
    cv::GaussianBlur(weights, weights, cv::Size(0, 0), 1.2);
    return Finish(edited, roiBox, grown, weights, area);
}

// A copy of the object where the ground around it looks like the ground
// around the original, blended in by Poisson cloning.
bool Add(const Region& region, const cv::Mat& source, cv::Mat& edited, const std::vector<Box>& taken, int gap,
         SeededDraws& draws, EditArea& area) {
    const int w = region.box.right - region.box.left, h = region.box.bottom - region.box.top;
    constexpr int kPad = 14;
    if (w + 2 * kPad + 8 >= source.cols / 2 || h + 2 * kPad + 8 >= source.rows / 2) return false;
    auto ringColour = [&](const Box& b) {
        const Box outer = Padded(b, 6, source);
        cv::Mat ring = cv::Mat::zeros(source.size(), CV_8U);
        ring(ToRect(outer)).setTo(255);
        ring(ToRect(b)).setTo(0);
        return cv::mean(source(ToRect(outer)), ring(ToRect(outer)));
    };
    const cv::Scalar home = ringColour(region.box);
    double best = 1e18;
    Box place{0, 0, 0, 0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int left = kPad + 4 + static_cast<int>(draws.Below(static_cast<std::uint64_t>(source.cols - w - 2 * kPad - 8)));
        const int top = kPad + 4 + static_cast<int>(draws.Below(static_cast<std::uint64_t>(source.rows - h - 2 * kPad - 8)));
        const Box b{left, top, left + w, top + h};
        if (Overlap(Padded(b, gap + kPad, source), region.box) || !Clear(Padded(b, kPad, source), taken, gap, source))
            continue;
        const cv::Scalar there = ringColour(b);
        const double d = cv::norm(home - there);
        if (d < best) best = d, place = b;
    }
    if (best > 30) return false;  // nowhere the copy would sit naturally
    const Box roiBox = Padded(place, kPad, source);
    const cv::Rect roi = ToRect(roiBox);
    cv::Mat patch = edited(roi).clone();
    const cv::Point at(place.left - roi.x, place.top - roi.y);
    source(ToRect(region.box)).copyTo(patch(cv::Rect(at, region.mask.size())), region.mask);
    cv::Mat mask = cv::Mat::zeros(roi.size(), CV_8U);
    region.mask.copyTo(mask(cv::Rect(at, region.mask.size())));
    // Poisson cloning drops the source's gradients near the mask's edge, so the
    // object's own outline must lie well inside it.
    cv::dilate(mask, mask, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(13, 13)));
    const cv::Rect inMask = cv::boundingRect(mask);
    cv::Mat destination = edited(roi).clone(), blended;
    cv::seamlessClone(patch, destination, mask, cv::Point(inMask.x + inMask.width / 2, inMask.y + inMask.height / 2),
                      blended, cv::NORMAL_CLONE);
    blended.copyTo(edited(roi));
    area = {roiBox, mask};
    return true;
}

}  // namespace

bool ApplyEdit(EditKind kind, const Region& region, const cv::Mat& source, const PhotoColours& colours, cv::Mat& edited,
               const std::vector<Box>& taken, int gap, SeededDraws& draws, EditArea& area) {
    switch (kind) {
        case EditKind::Remove:
        case EditKind::Detail: return Remove(region, source, edited, area);
        case EditKind::Recolour: return Recolour(region, colours, edited, draws, area);
        case EditKind::Mirror: return Mirror(region, edited, area);
        case EditKind::Resize: return Resize(region, edited, draws, area);
        case EditKind::Add: return Add(region, source, edited, taken, gap, draws, area);
    }
    return false;
}

}  // namespace vexa::authoring
