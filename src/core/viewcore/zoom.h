// Zoom and scrolling of the picture view, window-free: the zoom steps, the
// fit into the window, the mapping between the view's content (screen
// pixels) and a picture's own pixels, and how far a wheel notch scrolls.
//
// Judging, the markers and the settings file stay in picture pixels; only
// the view multiplies by the scale.
#pragma once

#include <optional>
#include <string>

namespace vexa {

// The zoom a user picks: one of the steps in percent, or the fit into the
// window, whose scale follows the window's size.
struct TZoom {
    bool Fit = false;
    int Percent = 100;  // one of kZoomSteps; ignored while Fit
    friend bool operator==(const TZoom&, const TZoom&) = default;
};

inline constexpr int kZoomSteps[] = {50, 67, 75, 100, 125, 150, 200, 300, 400};
inline constexpr double kMinFitScale = 0.05;
inline constexpr double kMaxFitScale = 4.0;

// The step after (in) or before (out) the scale shown now, which may lie
// between steps when fitted; at the end of the steps it stays there.
int ZoomInStep(double scale);
int ZoomOutStep(double scale);

// The scale at which content of `width` x `height` picture pixels fits
// wholly into `availWidth` x `availHeight`, within kMinFitScale..kMaxFitScale;
// 1 when there is nothing to fit.
double FitScale(int width, int height, int availWidth, int availHeight);

// A picture length in content pixels (rounded, at least 1 for a non-empty
// length, and kept well inside int).
int ScaledLength(int length, double scale);
// The picture coordinate under content coordinate `content`, counted from
// the picture's origin in the content: rounded down, so every content pixel
// belongs to exactly one picture pixel.
int ToPicture(int content, double scale);
// The first content coordinate of picture coordinate `picture`.
int ToContent(int picture, double scale);

// How far one wheel notch scrolls: a tenth of the visible extent, at least
// kMinWheelStep pixels. `notches` may be fractional (fine-grained wheels).
inline constexpr int kMinWheelStep = 40;
int WheelScroll(int visible, double notches);

// Keeping a point in place across a zoom, along one axis: the picture point
// (fractional) under client coordinate `client`, and the scroll position
// that puts a picture point back under it at another scale. `origin` is
// where the picture starts in the content. The caller clamps the scroll to
// its range.
double PictureUnder(int scroll, int client, double scale, int origin);
int ScrollPlacing(double picture, int client, double scale, int origin);

// The stored form of a zoom ("fit" or the percent) and back; nothing for a
// value that is not one of them.
std::string FormatZoom(const TZoom& zoom);
std::optional<TZoom> ParseZoom(const std::string& text);

}  // namespace vexa
