// Reading the files a command is given. Only regular files of bounded size
// are read, so that a device or a FIFO named by mistake fails at once instead
// of blocking or filling memory.
#pragma once

#include "play/play_messages.h"
#include "puzzle/puzzle_file.h"

#include <QByteArray>

#include <cstdint>
#include <string>

namespace vexatool {

// The largest picture, JPEG stream or manifest a command reads: the player's
// own limit for one picture block.
inline constexpr std::int64_t kMaxInputFileBytes = vexa::kMaxPictureBlockBytes;

// Why `path` cannot be read as an input file, or empty when it is a regular
// file. Looks without opening it.
std::string InputFileProblem(const std::string& path);

// Reads the whole regular file at `path`, at most kMaxInputFileBytes. On
// failure returns false and `error` says why, without the path.
bool ReadInputFile(const std::string& path, QByteArray& bytes, std::string& error);

// The player's loader, after saying on stderr why a path that is no regular
// file cannot load (the loader itself only answers CannotOpen).
vexa::TLoadError LoadPuzzleInput(vexa::TPuzzleData& record, vexa::TPuzzleSideValues& side, const std::string& path,
                                 vexa::TPictureSources* sources = nullptr);

// A load error as a line of text: the player's message, then the name, then
// what to do where the message alone does not say (LoadErrorHint).
std::string LoadErrorLine(vexa::TLoadError error);

// What to do about a load error whose message does not say why, or empty:
// for no_memory, the player's picture limits.
std::string LoadErrorHint(vexa::TLoadError error);
// The same as a JSON member `, "hint": "..."`, or empty.
std::string LoadErrorHintJson(vexa::TLoadError error);

// The player's limits for pictures, as messages name them.
std::string PictureLimitText();  // "4096 x 4096 pixels"
std::string PuzzleBudgetText();  // "256 MiB"


}  // namespace vexatool
