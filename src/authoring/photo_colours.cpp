#include "photo_colours.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace vexa::authoring {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSide = 128;          // the palette needs no more pixels than this
constexpr int kHueBins = 24;        // 15 degrees each
constexpr double kGrey = 10.0;      // chroma below which a pixel has no hue to speak of
constexpr double kMinShare = 0.02;  // a colour rarer than this is not the photo's own
constexpr double kCapQuantile = 0.97;

}  // namespace

double PaletteColour::Chroma() const { return std::hypot(a, b); }
double PaletteColour::Hue() const { return std::atan2(b, a); }

double HueDistance(double h1, double h2) {
    const double d = std::fmod(std::abs(h1 - h2), 2 * kPi);
    return d > kPi ? 2 * kPi - d : d;
}

PhotoColours ColoursOf(const cv::Mat& photo) {
    const double scale = std::min(1.0, static_cast<double>(kSide) / std::max(photo.cols, photo.rows));
    cv::Mat small, lab;
    cv::resize(photo, small,
               cv::Size(std::max(1, static_cast<int>(std::lround(photo.cols * scale))),
                        std::max(1, static_cast<int>(std::lround(photo.rows * scale)))),
               0, 0, cv::INTER_AREA);
    small.convertTo(lab, CV_32FC3, 1.0 / 255);
    cv::cvtColor(lab, lab, cv::COLOR_RGB2Lab);

    struct Bin {
        double l = 0, a = 0, b = 0;
        int count = 0;
    };
    Bin bins[kHueBins];
    std::vector<float> chromas;
    chromas.reserve(lab.total());
    for (int y = 0; y < lab.rows; ++y)
        for (int x = 0; x < lab.cols; ++x) {
            const cv::Vec3f p = lab.at<cv::Vec3f>(y, x);
            const double c = std::hypot(p[1], p[2]);
            chromas.push_back(static_cast<float>(c));
            if (c < kGrey) continue;
            const double turn = (std::atan2(p[2], p[1]) + kPi) / (2 * kPi);
            Bin& bin = bins[std::clamp(static_cast<int>(turn * kHueBins), 0, kHueBins - 1)];
            bin.l += p[0], bin.a += p[1], bin.b += p[2];
            ++bin.count;
        }

    PhotoColours colours;
    const double total = static_cast<double>(lab.total());
    for (const Bin& bin : bins) {
        if (bin.count < kMinShare * total) continue;
        colours.palette.push_back({bin.l / bin.count, bin.a / bin.count, bin.b / bin.count, bin.count / total});
    }
    std::stable_sort(colours.palette.begin(), colours.palette.end(),
                     [](const PaletteColour& x, const PaletteColour& y) { return x.share > y.share; });
    const auto at = chromas.begin() + static_cast<std::ptrdiff_t>(kCapQuantile * (chromas.size() - 1));
    std::nth_element(chromas.begin(), at, chromas.end());
    colours.chromaCap = *at;
    return colours;
}

}  // namespace vexa::authoring
