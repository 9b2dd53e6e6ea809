#include "viewcore/zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vexa {

namespace {

constexpr int kLargestLength = 1 << 20;

// A fitted scale a hair from a step counts as that step, so zooming in from
// a fit at 99.99 % goes to 125 %, not to 100 %.
constexpr double kStepSlack = 0.005;

}  // namespace

int ZoomInStep(double scale) {
    for (const int step : kZoomSteps)
        if (step / 100.0 > scale + kStepSlack) return step;
    return std::end(kZoomSteps)[-1];
}

int ZoomOutStep(double scale) {
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
        if (*it / 100.0 < scale - kStepSlack) return *it;
    return kZoomSteps[0];
}

double FitScale(int width, int height, int availWidth, int availHeight) {
    if (width <= 0 || height <= 0) return 1.0;
    const double s = std::min(static_cast<double>(std::max(availWidth, 1)) / width,
                              static_cast<double>(std::max(availHeight, 1)) / height);
    return std::clamp(s, kMinFitScale, kMaxFitScale);
}

int ScaledLength(int length, double scale) {
    if (length <= 0) return 0;
    const double v = std::round(length * scale);
    return static_cast<int>(std::clamp(v, 1.0, static_cast<double>(kLargestLength)));
}

int ToPicture(int content, double scale) {
    if (!(scale > 0)) return content;
    return static_cast<int>(std::floor(content / scale));
}

int ToContent(int picture, double scale) {
    // The first content pixel that ToPicture maps to `picture` (a hair of
    // slack for scales such as 0.67 that doubles do not hold exactly).
    const double v = std::ceil(picture * scale - 1e-9);
    return static_cast<int>(std::clamp(v, -static_cast<double>(kLargestLength), static_cast<double>(kLargestLength)));
}

int WheelScroll(int visible, double notches) {
    const int step = std::max(visible / 10, kMinWheelStep);
    return static_cast<int>(std::lround(step * notches));
}

double PictureUnder(int scroll, int client, double scale, int origin) {
    return (static_cast<double>(scroll) + client - origin) / (scale > 0 ? scale : 1.0);
}

int ScrollPlacing(double picture, int client, double scale, int origin) {
    const double v = std::round(picture * scale + origin - client);
    return static_cast<int>(std::clamp(v, -static_cast<double>(kLargestLength), static_cast<double>(kLargestLength)));
}

std::string FormatZoom(const TZoom& zoom) { return zoom.Fit ? "fit" : std::to_string(zoom.Percent); }

std::optional<TZoom> ParseZoom(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::string value = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (value == "fit") return TZoom{true, 100};
    for (const int step : kZoomSteps)
        if (value == std::to_string(step)) return TZoom{false, step};
    return std::nullopt;
}

}  // namespace vexa
