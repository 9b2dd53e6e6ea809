#include "packed_dib.h"

#include <unordered_map>
#include <vector>

namespace vexatool {

namespace {

void Put32(vexa::Block& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

vexa::Block MakePackedDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();

    // Colours in order of first appearance, until there are too many for a table.
    std::unordered_map<QRgb, int> index;
    std::vector<QRgb> table;
    for (int y = 0; y < h && table.size() <= 256; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w && table.size() <= 256; ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (index.emplace(c, static_cast<int>(table.size())).second) table.push_back(c);
        }
    }
    const bool indexed = table.size() <= 256;
    const int bits = indexed ? 8 : 24;
    const std::size_t colours = indexed ? table.size() : 0;
    const std::size_t stride = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    const std::size_t pixelOffset = 40 + 4 * colours;
    vexa::Block dib(pixelOffset + stride * h, 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, static_cast<std::uint32_t>(w));
    Put32(dib, 8, static_cast<std::uint32_t>(h));
    dib[12] = 1;
    dib[14] = static_cast<std::uint8_t>(bits);
    Put32(dib, 20, static_cast<std::uint32_t>(stride * h));
    Put32(dib, 32, static_cast<std::uint32_t>(colours));
    for (std::size_t i = 0; i < colours; ++i) {
        dib[40 + 4 * i] = static_cast<std::uint8_t>(qBlue(table[i]));
        dib[41 + 4 * i] = static_cast<std::uint8_t>(qGreen(table[i]));
        dib[42 + 4 * i] = static_cast<std::uint8_t>(qRed(table[i]));
    }
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* row = dib.data() + pixelOffset + stride * static_cast<std::size_t>(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (indexed) {
                row[x] = static_cast<std::uint8_t>(index.at(c));
            } else {
                row[3 * x] = static_cast<std::uint8_t>(qBlue(c));
                row[3 * x + 1] = static_cast<std::uint8_t>(qGreen(c));
                row[3 * x + 2] = static_cast<std::uint8_t>(qRed(c));
            }
        }
    }
    return dib;
}

}  // namespace vexatool
