#include "library/library_places.h"

#include "library/thumbnail_cache.h"
#include "settings/profile_file.h"
#include "settings/settings_path.h"

#include <sys/stat.h>

namespace vexa {

std::string BundledPuzzleFolder(const std::string& programPath) {
    if (IsInstalledProgram(programPath)) {
        const std::string bin = FolderOfPath(programPath);
        return FolderOfPath(bin) + "/share/vexa/puzzles";
    }
#ifdef VEXA_SOURCE_PUZZLES
    struct stat st {};
    if (::stat(VEXA_SOURCE_PUZZLES, &st) == 0 && S_ISDIR(st.st_mode)) return VEXA_SOURCE_PUZZLES;
#endif
    return {};
}

TLibraryPaths DefaultLibraryPaths() {
    TLibraryPaths paths;
    paths.Places.MyPuzzles = DefaultMyPuzzlesFolder();
    paths.Places.Bundled = BundledPuzzleFolder(CurrentProgramPath());
    paths.StateFile = DefaultLibraryStatePath();
    paths.CacheFolder = TThumbnailCache::DefaultFolder();
    return paths;
}

}  // namespace vexa
