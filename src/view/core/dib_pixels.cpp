#include "view/core/dib_pixels.h"

namespace vexa {

// Placeholder until the DIB reader lands.
bool DecodeDibPixels(const std::uint8_t*, std::size_t, DibPixels& out) {
    out = DibPixels{};
    return false;
}

}  // namespace vexa
