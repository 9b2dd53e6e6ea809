// Pictures for the decoder benchmark, made and encoded in memory: a
// photo-like landscape (smooth or detailed) and the older noisy pattern.
#pragma once

#include <cstdint>
#include <vector>

namespace vexa::bench {

using Bytes = std::vector<unsigned char>;

// Pixels top row first, 1 (grey) or 3 (RGB) bytes each.
struct RgbPicture {
    int Width = 0, Height = 0, Channels = 3;
    Bytes Pixels;
};

// Sky with clouds, a broken horizon, buildings with windows, round shapes
// and ground. `detailed` adds fine texture (foliage, facades) and sensor
// grain, as a sharp photo has; otherwise the scene stays soft, as an
// out-of-focus or heavily smoothed one is. The same size gives the same picture.
RgbPicture PhotoPicture(int width, int height, bool detailed);

// Gradients, hard edges and uniform noise (the first benchmark's pictures).
RgbPicture NoisyPicture(int width, int height, int channels);

struct EncodeOptions {
    enum Layout { S444, S422, S420, Gray };
    int Quality = 85;
    Layout Sampling = S420;
    int RestartMcus = 0;  // restart interval in MCUs, 0 for none
};

// Encodes with libjpeg (baseline, standard tables).
Bytes EncodeJpeg(const RgbPicture& picture, const EncodeOptions& options);

}  // namespace vexa::bench
