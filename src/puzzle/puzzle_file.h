// Reading (and, for tools and tests, writing) .VX puzzle files.
#pragma once

#include "puzzle/puzzle_data.h"

#include <string>

namespace vexa {

inline constexpr const char* kMsgCannotOpen = "ファイルをオープンできません";
inline constexpr const char* kMsgBadData = "データファイルが不正です";
inline constexpr const char* kMsgDiskError =
    "ファイルを読み込めません。ディスク及びファイルをチェックしてください";
inline constexpr const char* kMsgNoMemory = "ファイルを読み込めません。メモリが足りないようです";

// Reads the file at `path` (a UTF-8 path) into `record`, which the caller has
// reset. Returns nullptr on success, else one of the four messages above.
const char* LoadPuzzleFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path);

}  // namespace vexa
