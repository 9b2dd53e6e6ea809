// The bitmap, and the MCU writers in plain C++.
#include "jpeg/dib_writer.h"

#include <cstring>
#include <new>

namespace vexa::jpeg {

bool CreateDibBlock(std::vector<std::uint8_t>& bitmap, std::uint16_t width, std::uint16_t height,
                    std::vector<std::uint8_t>* spare) {
    bitmap.clear();
    if (!PictureSizeAllowed(width, height)) return false;
    const auto stride = static_cast<std::int64_t>(DibStride(width, 24));
    const std::int64_t bytes = (std::int64_t{height} + 15) * stride + kDibHeaderBytes;
    if (spare != nullptr && spare->capacity() >= static_cast<std::size_t>(bytes)) {
        // Old contents stay where the picture's pixels go; the rest is zeroed.
        spare->resize(static_cast<std::size_t>(bytes));
        bitmap.swap(*spare);
        std::uint8_t* pixels = bitmap.data() + kDibHeaderBytes;
        const std::int64_t used = 3 * std::int64_t{width};
        if (used < stride)
            for (std::int64_t row = 0; row < height; ++row) std::memset(pixels + row * stride + used, 0, stride - used);
        std::memset(pixels + height * stride, 0, static_cast<std::size_t>(15 * stride));
    } else {
        try {
            bitmap.assign(static_cast<std::size_t>(bytes), 0);
        } catch (const std::bad_alloc&) {
            bitmap.clear();
            return false;
        }
    }
    WriteDibHeader(bitmap.data(), width, height, 24);  // positive height: rows bottom-up
    return true;
}

void WriteGrayMcuScalar(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const std::int16_t* s = samples + 8 * y;
        for (int x = 0; x < cols; ++x) {
            const int v = s[x];
            const auto b = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = b;
        }
    }
}

template <int Layout>
void WriteColorMcuScalar(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
    constexpr int kHs = McuShape<Layout>::kHs, kVs = McuShape<Layout>::kVs;
    // The chroma terms of the conversion, once per chroma sample.
    std::int32_t blue[64], green[64], red[64];
    for (int i = 0; i < 64; ++i) {
        const std::int32_t cb = samples.Cb[i], cr = samples.Cr[i];
        blue[i] = 24 * cb;
        green[i] = -9 * cb - 12 * cr;
        red[i] = 20 * cr;
    }
    for (int y = 0; y < rows; ++y, dst -= stride) {
        const int chromaRow = 8 * (y >> kVs);
        for (int x0 = 0; x0 < cols; x0 += 8) {
            const std::int16_t* yRow = samples.Luma[(y >> 3) * (1 + kHs) + (x0 >> 3)].data() + 8 * (y & 7);
            const int n = cols - x0 < 8 ? cols - x0 : 8;
            std::uint8_t* out = dst + 3 * x0;
            for (int x = 0; x < n; ++x) {
                const int c = chromaRow + ((x0 + x) >> kHs);
                const std::int32_t l = 16 * std::int32_t{yRow[x]};
                out[3 * x] = LimitSample(l + blue[c]);
                out[3 * x + 1] = LimitSample(l + green[c]);
                out[3 * x + 2] = LimitSample(l + red[c]);
            }
        }
    }
}

template void WriteColorMcuScalar<kLayout111>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuScalar<kLayout211>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuScalar<kLayout121>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);
template void WriteColorMcuScalar<kLayout221>(std::uint8_t*, std::int32_t, const McuSamples&, int, int);

}  // namespace vexa::jpeg
