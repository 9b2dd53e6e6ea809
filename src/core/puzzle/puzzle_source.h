// How each of the ten picture entries of a .VX file is stored, beside the
// record that holds the pictures themselves. The loader can report it and the
// writer needs it to reproduce JPEG entries, whose record block is the decoded
// bitmap rather than the stream the file carries.
#pragma once

#include "puzzle/puzzle_data.h"

#include <array>
#include <cstdint>

namespace vexa {

// Picture entries in file order: pair 0 base, pair 0 spare, pair 1 base, ...
constexpr int kPictureCount = 2 * kPairCount;

struct TPictureSource {
    // false: the entry is a packed DIB (S = 0) whose bytes are the record's block.
    // true: the entry is a JPEG stream; `Stream` is its data block as stored and
    // `StreamLength` the S written before it.
    bool Jpeg = false;
    std::int32_t StreamLength = 0;
    Block Stream;
};

using TPictureSources = std::array<TPictureSource, kPictureCount>;

// The record's block of entry `index` (0..9, file order).
inline Block& PictureOf(TPuzzleData& record, int index) {
    return index % 2 == 0 ? record.BasePictures[index / 2] : record.SparePictures[index / 2];
}
inline const Block& PictureOf(const TPuzzleData& record, int index) {
    return index % 2 == 0 ? record.BasePictures[index / 2] : record.SparePictures[index / 2];
}

}  // namespace vexa
