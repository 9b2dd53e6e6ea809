#include "packed_dib.h"

#include "picture/argb_to_dib.h"

#include <vector>

namespace vexatool {

vexa::Block MakePackedDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(line, line + w, argb.begin() + static_cast<std::ptrdiff_t>(y) * w);
    }
    return vexa::ArgbToDib(w, h, argb.data());
}

}  // namespace vexatool
