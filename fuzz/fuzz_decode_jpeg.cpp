// libFuzzer target: any bytes through DecodeJpegToDib. Besides the sanitizers'
// checks, the result and the bitmap must agree with each other.
#include "jpeg/decode_jpeg.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    std::vector<std::uint8_t> bitmap{1, 2, 3};  // must come back cleared or replaced
    const int result = vexa::DecodeJpegToDib(bitmap, data, static_cast<std::int32_t>(size));
    switch (result) {
        case vexa::DecodeOk: break;
        case vexa::DecodeBadStream:
        case vexa::DecodeUnsupported:
        case vexa::DecodeNoMemory:
            if (!bitmap.empty()) std::abort();
            return 0;
        default: std::abort();
    }
    if (bitmap.empty()) return 0;
    if (bitmap.size() < 40) std::abort();
    const auto field = [&](int at) {
        return static_cast<std::int64_t>(bitmap[at] | bitmap[at + 1] << 8 | bitmap[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bitmap[at + 3]) << 24);
    };
    const std::int64_t width = field(4), height = field(8);
    const std::int64_t stride = (3 * width + 3) & ~std::int64_t{3};
    if (field(0) != 40 || static_cast<std::int64_t>(bitmap.size()) != (height + 15) * stride + 40) std::abort();
    return 0;
}
