// A packed DIB from an image: 8 bits with a colour table when it has at most
// 256 colours, else 24 bits; rows bottom-up, no compression.
#pragma once

#include "puzzle/puzzle_data.h"

#include <QImage>

namespace vexatool {

vexa::Block MakePackedDib(const QImage& image);

}  // namespace vexatool
