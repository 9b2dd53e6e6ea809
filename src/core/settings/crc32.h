// The two CRC-32 variants that protect a stored result, computed bit by bit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexa {

// CRC-32/BZIP2: polynomial 04C11DB7 fed from the top bit, start FFFFFFFF,
// result inverted.
std::uint32_t Crc32Msb(std::size_t length, const std::uint8_t* bytes);

// The common reflected CRC-32: polynomial EDB88320 fed from the low bit,
// start FFFFFFFF, result inverted.
std::uint32_t Crc32Lsb(std::size_t length, const std::uint8_t* bytes);

}  // namespace vexa
