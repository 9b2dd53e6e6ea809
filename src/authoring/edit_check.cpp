// The check every edit passes before it is kept: both pictures stored as the
// puzzle stores them, decoded by the player's decoder, and measured by the
// same change measure `vexa-tool diff` and `check` use. Only the blocks
// around the edit are stored and measured: JPEG blocks are coded apart, so a
// crop on the 16-pixel grid decodes as the whole picture does there.
#include "photo_edits.h"

#include "authoring/change_measure.h"
#include "authoring/jpeg_encode.h"
#include "jpeg/decode_jpeg.h"
#include "picture/dib_pixels.h"

#include <opencv2/imgproc.hpp>

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace vexa::authoring {

namespace {

constexpr int kMcu = 16;
constexpr int kContext = 32;  // pixels stored around the edit, so its JPEG smear shows
constexpr int kMargin = 4;    // rectangle margin around the change, as `diff` lays it out

bool Stored(const cv::Mat& rgb, DibPixels& out) {
    const cv::Mat part = rgb.isContinuous() ? rgb : rgb.clone();
    const QImage image(part.data, part.cols, part.rows, static_cast<qsizetype>(part.step), QImage::Format_RGB888);
    QByteArray stream;
    std::string error;
    EncodeSettings settings;
    settings.quality = kStoredQuality;
    if (!EncodeBaselineJpeg(image, settings, stream, error)) return false;
    std::vector<std::uint8_t> bitmap;
    return DecodeJpegToDib(bitmap, reinterpret_cast<const std::uint8_t*>(stream.constData()),
                           static_cast<std::int32_t>(stream.size())) == DecodeOk &&
           DecodeDibPixels(bitmap.data(), bitmap.size(), out);
}

cv::Mat Grey(const DibPixels& p) {
    cv::Mat grey(p.Height, p.Width, CV_8U);
    for (int i = 0; i < p.Width * p.Height; ++i) {
        const std::uint32_t c = p.Argb[static_cast<std::size_t>(i)];
        grey.data[i] = static_cast<std::uint8_t>((((c >> 16) & 255) * 77 + ((c >> 8) & 255) * 150 + (c & 255) * 29) >> 8);
    }
    return grey;
}

}  // namespace

Verdict VerifyEdit(const cv::Mat& scene, const cv::Mat& edited, const EditArea& area, const std::vector<Box>& taken,
                   const Fairness& fairness, int gap) {
    const Box& touched = area.touched;
    Verdict v;
    const int W = scene.cols, H = scene.rows;
    Box crop = Grown(touched, kContext, W, H);
    crop.left -= crop.left % kMcu;
    crop.top -= crop.top % kMcu;
    crop.right = std::min(W, (crop.right + kMcu - 1) / kMcu * kMcu);
    crop.bottom = std::min(H, (crop.bottom + kMcu - 1) / kMcu * kMcu);
    const cv::Rect roi(crop.left, crop.top, crop.right - crop.left, crop.bottom - crop.top);
    DibPixels before, after;
    if (!Stored(scene(roi), before) || !Stored(edited(roi), after)) {
        v.why = "cannot be stored";
        return v;
    }
    const ChangeMap map = MeasureChanges(before, after, MeasureSettings{});
    if (map.shift) {
        v.why = "shifts the picture";
        return v;
    }
    // Changes inside a kept edit's rectangle are that edit's.
    std::vector<const Change*> mine;
    for (const Change& c : map.changes) {
        const Box b{c.box.left + crop.left, c.box.top + crop.top, c.box.right + crop.left, c.box.bottom + crop.top};
        if (std::none_of(taken.begin(), taken.end(), [&](const Box& t) { return Inside(t, b); })) mine.push_back(&c);
    }
    if (mine.empty()) {
        v.why = "not visible";
        return v;
    }
    Box change = mine.front()->box;
    int pixels = 0;
    double peak = 0;
    for (const Change* c : mine) {
        change = Union(change, c->box);
        pixels += static_cast<int>(c->pixels.size());
        peak = std::max(peak, c->peak);
    }
    // A change that reaches the edge of what was stored may go on beyond it.
    const int w = roi.width, h = roi.height;
    if ((change.left < kMcu && crop.left > 0) || (change.top < kMcu && crop.top > 0) ||
        (change.right > w - kMcu && crop.right < W) || (change.bottom > h - kMcu && crop.bottom < H)) {
        v.why = "spreads beyond the edit";
        return v;
    }
    if (peak < fairness.minPeak || pixels < fairness.minPixels) {
        v.why = "too faint";
        return v;
    }
    if (fairness.minStrong > 0) {
        int strong = 0;
        for (int y = change.top; y < change.bottom; ++y)
            for (int x = change.left; x < change.right; ++x) {
                const std::uint32_t a = before.Argb[static_cast<std::size_t>(y) * w + x];
                const std::uint32_t b = after.Argb[static_cast<std::size_t>(y) * w + x];
                for (int shift = 0; shift < 24; shift += 8)
                    if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > 40) {
                        ++strong;
                        break;
                    }
            }
        if (strong < fairness.minStrong) {
            v.why = "too few strongly changed pixels";
            return v;
        }
    }
    // A seam: edges along the border of the blend that the scene has not.
    if (!area.blend.empty()) {
        cv::Mat changed = cv::Mat::zeros(h, w, CV_8U);
        area.blend.copyTo(changed(cv::Rect(touched.left - crop.left, touched.top - crop.top, area.blend.cols,
                                           area.blend.rows)));
        cv::Mat outer, inner;
        cv::dilate(changed, outer, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(5, 5)));
        cv::erode(changed, inner, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(5, 5)));
        const cv::Mat ring = outer - inner;
        auto edges = [&](const cv::Mat& grey) {
            cv::Mat gx, gy, magnitude;
            cv::Sobel(grey, gx, CV_32F, 1, 0);
            cv::Sobel(grey, gy, CV_32F, 0, 1);
            cv::magnitude(gx, gy, magnitude);
            return cv::mean(magnitude, ring)[0];
        };
        const double was = edges(Grey(before)), is = edges(Grey(after));
        if (is > 1.8 * was + 40) {
            v.why = "leaves a seam";
            return v;
        }
    }
    const Box inPicture{change.left + crop.left, change.top + crop.top, change.right + crop.left,
                        change.bottom + crop.top};
    // At the very border a difference is half out of sight and a marker cannot be centred on it.
    const int border = std::max(2 * kMargin, std::min(W, H) / 40);
    if (inPicture.left < border || inPicture.top < border || inPicture.right > W - border ||
        inPicture.bottom > H - border) {
        v.why = "at the border";
        return v;
    }
    if (inPicture.right - inPicture.left > W / 3 || inPicture.bottom - inPicture.top > H / 3) {
        v.why = "too large";
        return v;
    }
    v.rect = Grown(inPicture, kMargin, W, H);
    for (const Box& t : taken)
        if (Overlap(Grown(t, gap, W, H), v.rect)) {
            v.why = "too close to another difference";
            return v;
        }
    v.kept = true;
    return v;
}

}  // namespace vexa::authoring
