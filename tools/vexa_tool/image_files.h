// Reading and writing plain pixels as image files for the tool.
#pragma once

#include "picture/dib_pixels.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace vexatool {

// Writes top-down 0xFFRRGGBB pixels losslessly; the format follows the
// extension (.png, .ppm, .bmp; anything else is PNG). Prints why on failure.
bool SaveArgbImage(const std::string& path, int width, int height,
                   const std::vector<std::uint32_t>& argb);

// Reads an image file (any format Qt reads) through ReadInputFile; on failure
// returns false and `error` says why, without the path.
bool ReadImageFile(const std::string& path, QImage& image, std::string& error);

// Decodes image file bytes. A picture over the player's pixel limit is
// refused by its header, before it is decoded, with the limit named.
bool DecodeImageBytes(const QByteArray& bytes, QImage& image, std::string& error);

// Empty when a picture of this size is within the player's limit, else why not.
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

// The image as top-down 0xFFRRGGBB pixels.
vexa::DibPixels ImagePixels(const QImage& image);

}  // namespace vexatool
