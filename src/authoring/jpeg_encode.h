// Encoding a picture as a baseline JPEG stream the player's decoder takes.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

namespace vexa::authoring {

struct EncodeSettings {
    int quality = 90;
    int hFactor = 2, vFactor = 2;  // luma sampling factors; chroma is 1x1
    bool grey = false;             // one component instead of three
    int restart = 0;               // restart interval in MCUs, 0 for none
};

// Encodes `image` as a baseline YCbCr stream (or grey); false (with `error`) on failure.
bool EncodeBaselineJpeg(const QImage& image, const EncodeSettings& settings, QByteArray& out, std::string& error);

}  // namespace vexa::authoring
