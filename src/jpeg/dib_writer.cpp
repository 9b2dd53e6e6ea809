#include "jpeg/dib_writer.h"

#include "jpeg/decoder_state.h"

#include <algorithm>
#include <new>

namespace vexa::jpeg {

namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::int32_t DibStride(std::uint16_t width) { return (3 * std::int32_t{width} + 3) & ~3; }

bool CreateDibBlock(std::vector<std::uint8_t>& bitmap, std::uint16_t width, std::uint16_t height) {
    bitmap.clear();
    if (std::int64_t{width} * height > kMaxPixels) return false;
    const std::int64_t stride = DibStride(width);
    const std::int64_t bytes = (std::int64_t{height} + 15) * stride + kDibHeaderBytes;
    try {
        bitmap.assign(static_cast<std::size_t>(bytes), 0);
    } catch (const std::bad_alloc&) {
        bitmap.clear();
        return false;
    }
    std::uint8_t* h = bitmap.data();
    Put32(h + 0, kDibHeaderBytes);                        // biSize
    Put32(h + 4, width);                                  // biWidth
    Put32(h + 8, height);                                 // biHeight: positive, rows bottom-up
    h[12] = 1;                                            // biPlanes
    h[14] = 24;                                           // biBitCount
    Put32(h + 20, static_cast<std::uint32_t>(height * stride));  // biSizeImage
    return true;  // biCompression (BI_RGB), resolutions and colour counts stay 0
}

void WriteGrayMcu(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const std::int16_t* s = samples + 8 * y;
        for (int x = 0; x < cols; ++x) {
            const int v = s[x];
            const auto b = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = b;
        }
    }
}

void WriteColorMcu(int layout, std::uint8_t* dst, std::int32_t stride,
                   const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                   const std::int16_t* cr, int cols, int rows) {
    const int hs = (layout == kLayout211 || layout == kLayout221) ? 1 : 0;  // chroma column = x >> hs
    const int vs = (layout == kLayout121 || layout == kLayout221) ? 1 : 0;  // chroma row = y >> vs
    const int blocksAcross = 1 + hs;
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const std::int16_t* cbRow = cb + 8 * (y >> vs);
        const std::int16_t* crRow = cr + 8 * (y >> vs);
        for (int x0 = 0; x0 < cols; x0 += 8) {
            const std::int16_t* yRow = luma[(y >> 3) * blocksAcross + (x0 >> 3)].data() + 8 * (y & 7);
            const int n = std::min(8, cols - x0);
            std::uint8_t* out = dst + 3 * x0;
            for (int x = 0; x < n; ++x) {
                const int c = (x0 + x) >> hs;
                const std::int32_t l = 16 * std::int32_t{yRow[x]};
                const std::int32_t b = cbRow[c], r = crRow[c];
                out[3 * x] = LimitSample(l + 24 * b);
                out[3 * x + 1] = LimitSample(l - 9 * b - 12 * r);
                out[3 * x + 2] = LimitSample(l + 20 * r);
            }
        }
    }
}

}  // namespace vexa::jpeg
