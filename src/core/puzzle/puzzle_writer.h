// Writing .VX puzzle files: the inverse of the loader, for tools and tests.
#pragma once

#include "puzzle/puzzle_data.h"
#include "puzzle/puzzle_source.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The file units, appended to `out` little-endian.
void AppendI16(std::vector<std::uint8_t>& out, std::int16_t v);
void AppendI32(std::vector<std::uint8_t>& out, std::int32_t v);
// A text block: the 16-bit length of `text` and its bytes as they stand.
void AppendTextBlock(std::vector<std::uint8_t>& out, std::string_view text);
// A data block: the 32-bit length L and the L bytes.
void AppendDataBlock(std::vector<std::uint8_t>& out, const Block& block);

// The whole file for `record` and `side`. The header is stored with n = 10,
// the other texts with their zero byte inside n; DiffCount is written as it
// stands with as many rectangles as it names (at most ten); each nonzero
// table count is followed by its table. Picture entry i takes its bytes from
// the record unless `sources[i]` marks it as a JPEG stream.
// Throws std::invalid_argument when a table block does not hold exactly
// count × 14 bytes or a block is too long for its length field.
std::vector<std::uint8_t> SerializePuzzle(const TPuzzleData& record, const TPuzzleSideValues& side,
                                          const TPictureSources& sources = {});

// Writes SerializePuzzle's bytes to `path`; false when the file cannot be written.
bool WritePuzzleFile(const std::string& path, const TPuzzleData& record, const TPuzzleSideValues& side,
                     const TPictureSources& sources = {});

}  // namespace vexa
