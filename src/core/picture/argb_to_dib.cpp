#include "picture/argb_to_dib.h"

#include "picture/dib_header.h"

#include <unordered_map>

namespace vexa {

std::vector<std::uint8_t> ArgbToDib(int width, int height, const std::uint32_t* argb) {
    const auto at = [&](int x, int y) {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x] | 0xFF000000u;
    };

    // Colours in order of first appearance, until there are too many for a table.
    std::unordered_map<std::uint32_t, int> index;
    std::vector<std::uint32_t> table;
    for (int y = 0; y < height && table.size() <= 256; ++y)
        for (int x = 0; x < width && table.size() <= 256; ++x)
            if (index.emplace(at(x, y), static_cast<int>(table.size())).second) table.push_back(at(x, y));
    const bool indexed = table.size() <= 256;
    const std::uint16_t bits = indexed ? 8 : 24;
    const std::size_t colours = indexed ? table.size() : 0;
    const auto stride = static_cast<std::size_t>(DibStride(static_cast<std::uint64_t>(width), bits));
    const std::size_t pixelOffset = kDibHeaderBytes + 4 * colours;
    std::vector<std::uint8_t> dib(pixelOffset + stride * height, 0);
    WriteDibHeader(dib.data(), width, height, bits, static_cast<std::uint32_t>(colours));
    for (std::size_t i = 0; i < colours; ++i) {
        std::uint8_t* entry = dib.data() + kDibHeaderBytes + 4 * i;
        entry[0] = static_cast<std::uint8_t>(table[i]);
        entry[1] = static_cast<std::uint8_t>(table[i] >> 8);
        entry[2] = static_cast<std::uint8_t>(table[i] >> 16);
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = dib.data() + pixelOffset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = at(x, y);
            if (indexed) {
                row[x] = static_cast<std::uint8_t>(index.at(c));
            } else {
                row[3 * x] = static_cast<std::uint8_t>(c);
                row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
            }
        }
    }
    return dib;
}

}  // namespace vexa
