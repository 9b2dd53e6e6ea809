// libFuzzer target: any bytes as a packed DIB block. Besides the sanitizers'
// checks, a drawn picture has exactly width x height opaque pixels.
#include "../src/view/core/dib_pixels.cpp"

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Large pictures only cost time; the reader's tests cover its cap.
    if (size >= 12) {
        std::int32_t w, h;
        std::memcpy(&w, data + 4, 4);
        std::memcpy(&h, data + 8, 4);
        if (std::abs(static_cast<std::int64_t>(w) * h) > (std::int64_t{1} << 14)) return 0;
    }
    vexa::DibPixels pixels;
    if (!vexa::DecodeDibPixels(data, size, pixels)) {
        if (pixels.Width != 0 || !pixels.Argb.empty()) std::abort();
        return 0;
    }
    if (pixels.Width <= 0 || pixels.Height <= 0 ||
        pixels.Argb.size() != static_cast<std::size_t>(pixels.Width) * pixels.Height)
        std::abort();
    for (std::uint32_t p : pixels.Argb)
        if ((p >> 24) != 0xFF) std::abort();
    return 0;
}
