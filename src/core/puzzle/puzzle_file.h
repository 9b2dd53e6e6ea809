// Reading .VX puzzle files.
#pragma once

#include "puzzle/load_error.h"
#include "puzzle/picture_budget.h"
#include "puzzle/puzzle_data.h"
#include "puzzle/puzzle_source.h"
#include "picture/picture_limits.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexa {

// The fixed header text, "解析禁止！" in Shift-JIS (10 bytes, no zero byte).
inline constexpr char kPuzzleHeader[] = "\x89\xF0\x90\xCD\x8B\xD6\x8E\x7E\x81\x49";

// Picture data blocks longer than this are refused as if they could not be
// allocated; no sane puzzle comes near it.
inline constexpr std::int32_t kMaxPictureBlockBytes = 64 * 1024 * 1024;

// Reads the file at `path` (the name's bytes, as the file system keeps them) into `record`, which the caller has
// reset. Returns TLoadError::None on success, else why it failed. Only
// regular files are opened. When `sources` is given it receives how each
// picture entry read so far was stored (JPEG entries with their stream).
// JPEG pictures are decoded on up to `decodeThreads` threads (0: one per
// hardware thread); the outcome does not depend on the number.
// Pictures above kMaxPicturePixels, or more than kMaxPuzzlePictureBytes of
// pictures in all, fail with NoMemory before their memory is taken.
TLoadError LoadPuzzleFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path);
TLoadError LoadPuzzleFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path,
                          TPictureSources* sources, unsigned decodeThreads = 0);

// Every picture entry, as a mask of entry indexes (bit i: entry i in file order).
inline constexpr unsigned kAllPictures = (1u << kPictureCount) - 1;

// LoadPuzzleFile on one thread, keeping only the picture entries in `keep`:
// the others are read and checked as usual (lengths, the picture budget) and
// then dropped without being decoded, so a decoding fault in them goes
// unnoticed here; every other outcome is the full load's.
TLoadError LoadPuzzlePictures(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path,
                              unsigned keep);

// The same reading over bytes already in memory (never CannotOpen).
TLoadError LoadPuzzleBytes(TPuzzleData& record, TPuzzleSideValues& side, const std::uint8_t* data,
                           std::size_t size, TPictureSources* sources = nullptr, unsigned decodeThreads = 0);

}  // namespace vexa
