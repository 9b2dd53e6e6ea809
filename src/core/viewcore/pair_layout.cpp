#include "viewcore/pair_layout.h"

#include "viewcore/zoom.h"

#include <algorithm>
#include <cmath>

namespace vexa {
namespace {

int Scaled(int size, double scale) {
    if (size <= 0) return 0;
    const double v = std::round(size * scale);
    return v > 1 << 20 ? 1 << 20 : static_cast<int>(v);  // sizes stay well inside int
}

// The factor at which content of w x h fits wholly into the room.
double FitFactor(int w, int h, int availW, int availH) {
    const double fw = w > 0 ? static_cast<double>(std::max(availW, 1)) / w : 1e9;
    const double fh = h > 0 ? static_cast<double>(std::max(availH, 1)) / h : 1e9;
    return std::min(fw, fh);
}

}  // namespace

TPairLayout LayOutPair(int sceneWidth, int sceneHeight, int photoWidth, int photoHeight,
                       int availWidth, int availHeight, double scale) {
    if (!(scale > 0)) scale = 1.0;
    const int sw = Scaled(sceneWidth, scale), sh = Scaled(sceneHeight, scale);
    const int pw = Scaled(photoWidth, scale), ph = Scaled(photoHeight, scale);

    TPairLayout beside;
    beside.SideBySide = true;
    beside.PhotoX = sw + kPairGap;
    beside.Width = sw + kPairGap + pw;
    beside.Height = std::max(sh, ph);

    TPairLayout above;
    above.SideBySide = false;
    above.PhotoY = sh + kPairGap;
    above.Width = std::max(sw, pw);
    above.Height = sh + kPairGap + ph;

    const double fBeside = FitFactor(beside.Width, beside.Height, availWidth, availHeight);
    const double fAbove = FitFactor(above.Width, above.Height, availWidth, availHeight);
    return fAbove > fBeside ? above : beside;
}

double FitPairScale(int sceneWidth, int sceneHeight, int photoWidth, int photoHeight, int availWidth,
                    int availHeight) {
    const int sw = std::max(sceneWidth, 0), sh = std::max(sceneHeight, 0);
    const int pw = std::max(photoWidth, 0), ph = std::max(photoHeight, 0);
    // The gap keeps its size at any scale, so it comes off the room first.
    const double beside = FitScale(sw + pw, std::max(sh, ph), availWidth - kPairGap, availHeight);
    const double above = FitScale(std::max(sw, pw), sh + ph, availWidth, availHeight - kPairGap);
    return std::max(beside, above);
}

}  // namespace vexa
