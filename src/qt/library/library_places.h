// Where the puzzle list finds its folders, its state file and its cache.
#pragma once

#include "library/library_list.h"

#include <string>

namespace vexa {

struct TLibraryPaths {
    TLibraryPlaces Places;  // my puzzles and the bundled set
    std::string StateFile;  // the list's own state ("" keeps nothing)
    std::string CacheFolder;  // thumbnails ("" caches nothing)
};

// The bundled puzzles: share/vexa/puzzles beside the installed program's bin
// folder, or the source tree's resources/puzzles for a program run from its
// build tree.
std::string BundledPuzzleFolder(const std::string& programPath);

// The places of this user and program, from the XDG variables.
TLibraryPaths DefaultLibraryPaths();

}  // namespace vexa
