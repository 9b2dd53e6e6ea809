// The colours a photo already has, so a recoloured object takes one of them
// rather than a hue the scene never shows.
#pragma once

#include <opencv2/core.hpp>

#include <vector>

namespace vexa::authoring {

// A dominant colour of the photo, in CIE Lab (L 0..100).
struct PaletteColour {
    double lightness = 0;
    double a = 0, b = 0;
    double share = 0;  // of the photo's pixels
    double Chroma() const;
    double Hue() const;  // radians
};

struct PhotoColours {
    std::vector<PaletteColour> palette;  // most common first
    double chromaCap = 0;                // the chroma only the most vivid few pixels exceed
};

// From the photo (RGB, CV_8UC3).
PhotoColours ColoursOf(const cv::Mat& photo);

// Angle between two hues, 0..pi.
double HueDistance(double h1, double h2);

}  // namespace vexa::authoring
