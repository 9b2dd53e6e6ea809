#include "viewcore/picture_header.h"

namespace vexa {

bool OffscreenSizeAllowed(std::int64_t width, std::int64_t height) { return PictureSizeAllowed(width, height); }

std::int64_t OffscreenHeightOf(const TDibHeaderFields& header) {
    const std::int64_t h = header.Height;
    return h < 0 ? -h : h;
}

}  // namespace vexa
