// Writing plain pixels to image files for the tool's output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexatool {

// Writes top-down 0xFFRRGGBB pixels losslessly; the format follows the
// extension (.png, .ppm, .bmp; anything else is PNG). Prints why on failure.
bool SaveArgbImage(const std::string& path, int width, int height,
                   const std::vector<std::uint32_t>& argb);

}  // namespace vexatool
