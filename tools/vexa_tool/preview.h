// A picture for the author's eye: the photo with the difference rectangles,
// the changes they miss and the weak changes drawn on it.
#pragma once

#include "authoring/boxes.h"

#include "picture/dib_pixels.h"

#include <string>
#include <vector>

namespace vexatool {

// Writes a PNG: rectangles in yellow, uncovered changes in red, weak changes
// in cyan, each outlined in black as well so that it shows on light and dark
// pictures alike. Prints why on failure.
bool WritePreview(const std::string& path, const vexa::DibPixels& photo,
                  const std::vector<vexa::authoring::Box>& rects,
                  const std::vector<vexa::authoring::Box>& uncovered,
                  const std::vector<vexa::authoring::Box>& weak);

}  // namespace vexatool
