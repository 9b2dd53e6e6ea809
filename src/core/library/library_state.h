// The puzzle list's own memory between runs: the folders the player added,
// the puzzles opened last and the one played last. It lives in a file of its
// own under $XDG_STATE_HOME/vexa/, apart from the settings file, with every
// name percent-encoded so that any byte (a line break included) survives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

inline constexpr std::size_t kMaxRecentFiles = 8;

struct TLibraryState {
    std::vector<std::string> Folders;  // in the order added
    std::vector<std::string> Recent;   // newest first, at most kMaxRecentFiles
    std::string LastPlayed;            // empty: none yet
    friend bool operator==(const TLibraryState&, const TLibraryState&) = default;
};

// Bytes other than ASCII letters, digits and "/._-~" become "%XX".
std::string PercentEncode(std::string_view bytes);
// Nothing for a stray or malformed "%".
std::optional<std::string> PercentDecode(std::string_view text);

// The file's text: "folder=", "recent=" and "last=" lines. Reading skips
// lines it does not know or cannot decode, and keeps at most kMaxRecentFiles
// recent files.
std::string FormatLibraryState(const TLibraryState& state);
TLibraryState ParseLibraryState(std::string_view text);

// A puzzle that was opened: first among the recent files (once) and the last
// played.
void NoteOpened(TLibraryState& state, const std::string& path);
// Adds a folder unless it is there already; true when added.
bool AddFolder(TLibraryState& state, const std::string& folder);
bool RemoveFolder(TLibraryState& state, const std::string& folder);

// $XDG_STATE_HOME (when absolute) or ~/.local/state, plus "/vexa/library".
std::string DefaultLibraryStatePath();

// A missing or unreadable file reads as an empty state.
TLibraryState LoadLibraryState(const std::string& path);
// Replaces the file atomically, creating its folders (mode 0700); false when
// it could not be written.
bool SaveLibraryState(const std::string& path, const TLibraryState& state);

}  // namespace vexa
