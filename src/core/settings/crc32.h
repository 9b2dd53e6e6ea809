// The two CRC-32 variants that protect a stored result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vexa {

// CRC-32/BZIP2: polynomial 04C11DB7 fed from the top bit, start FFFFFFFF,
// result inverted.
std::uint32_t Crc32Msb(std::size_t length, const std::uint8_t* bytes);

// The common reflected CRC-32: polynomial EDB88320 fed from the low bit,
// start FFFFFFFF, result inverted.
std::uint32_t Crc32Lsb(std::size_t length, const std::uint8_t* bytes);

// The same reflected CRC-32 fed in pieces, by table, for data that may run
// to gigabytes.
class TCrc32Lsb {
public:
    void Add(std::string_view bytes);
    std::uint32_t Value() const { return ~State_; }

private:
    std::uint32_t State_ = 0xFFFFFFFFu;
};

}  // namespace vexa
