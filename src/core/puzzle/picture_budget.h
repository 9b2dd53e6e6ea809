// What the loader allows a puzzle's pictures to take before it decodes them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexa {

// All ten decoded pictures of a puzzle together: packed DIB blocks by their
// size, JPEG entries by the bitmap their frame header asks for.
inline constexpr std::int64_t kMaxPuzzlePictureBytes = std::int64_t{256} * 1024 * 1024;

// The largest bitmap block the decoder can make from the first `count` bytes
// of `stream`: the biggest allowed frame header (SOF0) found anywhere in them,
// sized as the decoder sizes its bitmap. Frames above the pixel limit are
// left out, as the decoder refuses them before allocating. 0 when the stream
// holds no frame header. Never less than what a decode actually takes.
std::int64_t JpegBitmapBytesBound(const std::uint8_t* stream, std::size_t count);

}  // namespace vexa
