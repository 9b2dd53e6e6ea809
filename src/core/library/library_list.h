// The puzzle list's model: which folders it shows, in which groups, the
// puzzle files in them, each one's best result as loading reads it, and the
// orders and filter the player can choose. Plain data; the window only shows it.
#pragma once

#include "library/library_state.h"
#include "library/puzzle_summary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

// The groups, in the order the list shows them.
enum class TLibraryGroup {
    MyPuzzles,    // $XDG_DATA_HOME/vexa/puzzles
    AddedFolder,  // folders the player added
    LastFolder,   // the folder of the puzzle played last
    Bundled,      // the puzzles installed with the program
};

struct TLibraryFolder {
    TLibraryGroup Group;
    std::string Path;
};

// Where the fixed groups live.
struct TLibraryPlaces {
    std::string MyPuzzles;  // empty: no such group
    std::string Bundled;    // empty: no such group
};

// $XDG_DATA_HOME (when absolute) or ~/.local/share, plus "/vexa/puzzles".
std::string DefaultMyPuzzlesFolder();

// The folders in group order. A folder shows once, in the first group that
// names it (names compared after removing "." parts and trailing slashes),
// except that the bundled folder is never the last played puzzle's.
std::vector<TLibraryFolder> LibraryFolders(const TLibraryPlaces& places, const TLibraryState& state);

// The names (not paths) of the puzzle files in `folder`: entries ending in
// ".vx" in any case that are regular files or links to them, in byte order.
// A folder that cannot be read has none.
std::vector<std::string> PuzzleFilesIn(const std::string& folder);

// A best result as the list shows it.
enum class TLibraryResult { NotTried, FewFound, HalfFound, AllFound };

// "未挑戦", "半分未満", "半分以上", "全問正解" (UTF-8).
const char* LibraryResultText(TLibraryResult result);

// The best result of `section` read and verified from the settings file with
// the reading that loading uses; a record that does not verify is NotTried.
TLibraryResult ReadLibraryResult(const std::string& settingsPath, const std::string& section);

struct TLibraryEntry {
    TLibraryGroup Group = TLibraryGroup::Bundled;
    int FolderIndex = 0;     // into the folder list: keeps the group order
    std::string Path;        // the file's path, as bytes
    std::string FileName;    // its name in the folder
    std::int64_t ModifiedNs = 0;
    bool Summarised = false; // Summary holds what the file gave
    TPuzzleSummary Summary;
    TLibraryResult Result = TLibraryResult::NotTried;
    std::string DisplayTitle; // the title as UTF-8 for the filter; the file name when untitled

    bool Unreadable() const { return Summarised && Summary.Error != TLoadError::None; }
};

// Every puzzle file of every folder, by folder order and file name, without
// summaries.
std::vector<TLibraryEntry> ListLibrary(const std::vector<TLibraryFolder>& folders);

// Fills Result of each summarised, readable entry from the settings file.
void ReadLibraryResults(std::vector<TLibraryEntry>& entries, const std::string& settingsPath);

enum class TLibrarySort {
    Name,    // by file name
    Result,  // what is left to solve first: 未挑戦, 半分未満, 半分以上, 全問正解
    Date,    // newest first
};

// The indexes of `entries` to show: groups stay in their order, within a
// group by `sort` (then by name), keeping only entries whose DisplayTitle or
// file name contains `filter` (UTF-8; ASCII letters in any case). An empty
// filter keeps all.
std::vector<std::size_t> ArrangeLibrary(const std::vector<TLibraryEntry>& entries, TLibrarySort sort,
                                        const std::string& filter);

struct TLibraryProgress {
    int Solved = 0;  // 全問正解
    int Total = 0;   // entries that are not known to be unreadable
};
TLibraryProgress CountProgress(const std::vector<TLibraryEntry>& entries);

// The row of `shown` to select when the list opens: the puzzle played last
// if it is shown, else the first row; -1 when nothing is shown.
int InitialSelection(const std::vector<TLibraryEntry>& entries, const std::vector<std::size_t>& shown,
                     const std::string& lastPlayed);

}  // namespace vexa
