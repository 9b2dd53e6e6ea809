// JPEG files for pack: which ones the player's decoder takes as they are.
#pragma once

#include <QByteArray>

namespace vexatool {

// True when `file` is a baseline (SOF0) stream with one component, or three
// whose luma sampling is 1x1, 2x1, 1x2 or 2x2 and chroma 1x1. `width` and
// `height` receive the frame's size.
bool IsPlayableBaselineJpeg(const QByteArray& file, int& width, int& height);

}  // namespace vexatool
