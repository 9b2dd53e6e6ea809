// Plain 32-bit pixels -> a packed DIB: 8 bits with a colour table when the
// picture has at most 256 colours, else 24 bits; rows bottom-up, no compression.
#pragma once

#include <cstdint>
#include <vector>

namespace vexa {

// `argb` holds width x height pixels 0xAARRGGBB, top row first; alpha is
// ignored. The colour table lists the colours in order of first appearance.
std::vector<std::uint8_t> ArgbToDib(int width, int height, const std::uint32_t* argb);

}  // namespace vexa
