#include "jpeg/decode_jpeg.h"

namespace vexa {

// Placeholder until the decoder lands: refuses every stream.
int DecodeJpegToDib(std::vector<std::uint8_t>& bitmap, const std::uint8_t* stream, std::int32_t) {
    bitmap.clear();
    return stream ? DecodeBadStream : DecodeNoInput;
}

}  // namespace vexa
