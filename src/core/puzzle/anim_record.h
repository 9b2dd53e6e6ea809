// One animation record as a table stores it: 14 bytes, seven signed 16-bit
// little-endian fields. The only place that packs or unpacks them.
#pragma once

#include <cstdint>
#include <vector>

namespace vexa {

struct TAnimRecord {
    std::int16_t Command, SourceX, SourceY, DestX, DestY, Width, Height;
};

constexpr int kAnimRecordBytes = 14;

// The record in the 14 bytes at `p`.
TAnimRecord ReadAnimRecord(const std::uint8_t* p);

// Writes `r` into the 14 bytes at `p`.
void WriteAnimRecord(std::uint8_t* p, const TAnimRecord& r);

// Appends `r` to the end of a table.
void AppendAnimRecord(std::vector<std::uint8_t>& table, const TAnimRecord& r);

}  // namespace vexa
