#include "library/library_list.h"

#include "library/private_files.h"
#include "settings/profile_file.h"
#include "settings/result_record.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace vexa {

namespace {

std::string SameFolderKey(const std::string& path) {
    std::string key = std::filesystem::path(path).lexically_normal().string();
    while (key.size() > 1 && key.back() == '/') key.pop_back();
    return key;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool EndsWithVx(const std::string& name) {
    if (name.size() < 4) return false;
    const std::string tail = name.substr(name.size() - 3);
    return tail[0] == '.' && (tail[1] == 'v' || tail[1] == 'V') && (tail[2] == 'x' || tail[2] == 'X');
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsFolded(const std::string& text, const std::string& needle) {
    if (needle.empty()) return true;
    auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                          [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
    return it != text.end();
}

// Within a group, smaller keys come first: what is left to solve, the newest.
std::int64_t SortKey(const TLibraryEntry& e, TLibrarySort sort) {
    switch (sort) {
    case TLibrarySort::Result: return static_cast<int>(e.Result);
    case TLibrarySort::Date: return -e.ModifiedNs;
    case TLibrarySort::Name: break;
    }
    return 0;
}

// A verified record that holds 204 (only ever written after a hand-made
// lower record): "半分未満", apart from no record at all.
bool StoresFewFound(const std::string& settingsPath, const std::string& section) {
    if (!IsStorableSectionName(section)) return false;
    TResultState stored;
    const std::string value = ReadProfileString(settingsPath, section, kResultRecordKey, kEmptyResultRecord);
    if (ParseResultRecord(value, stored) != 3 || stored.BestResult != ViewMode::FewFound) return false;
    return FormatResultRecord(section.c_str(), ViewMode::FewFound) == value;
}

}  // namespace

std::string DefaultMyPuzzlesFolder() {
    const std::string base = XdgBaseFolder("XDG_DATA_HOME", "/.local/share");
    return base.empty() ? base : base + "/vexa/puzzles";
}

std::vector<TLibraryFolder> LibraryFolders(const TLibraryPlaces& places, const TLibraryState& state) {
    std::vector<TLibraryFolder> folders;
    std::vector<std::string> seen;
    auto add = [&](TLibraryGroup group, const std::string& path) {
        if (path.empty()) return;
        const std::string key = SameFolderKey(path);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) return;
        seen.push_back(key);
        folders.push_back({group, path});
    };
    add(TLibraryGroup::MyPuzzles, places.MyPuzzles);
    for (const std::string& f : state.Folders) add(TLibraryGroup::AddedFolder, f);
    // The bundled set keeps its own heading when a puzzle of it was played last.
    if (!state.LastPlayed.empty() &&
        (places.Bundled.empty() || SameFolderKey(FolderOf(state.LastPlayed)) != SameFolderKey(places.Bundled)))
        add(TLibraryGroup::LastFolder, FolderOf(state.LastPlayed));
    add(TLibraryGroup::Bundled, places.Bundled);
    return folders;
}

std::vector<std::string> PuzzleFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (!EndsWithVx(name)) continue;
        struct stat st {};
        if (::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

const char* LibraryResultText(TLibraryResult result) {
    switch (result) {
    case TLibraryResult::NotTried: return "未挑戦";
    case TLibraryResult::FewFound: return "半分未満";
    case TLibraryResult::HalfFound: return "半分以上";
    case TLibraryResult::AllFound: return "全問正解";
    }
    return "未挑戦";
}

TLibraryResult ReadLibraryResult(const std::string& settingsPath, const std::string& section) {
    TResultState state;
    ReadResultRecord(settingsPath, section.c_str(), state);
    const int rank = ResultRank(state.BestResult);
    if (rank >= ResultRank(ViewMode::AllFound)) return TLibraryResult::AllFound;
    if (rank == ResultRank(ViewMode::HalfFound)) return TLibraryResult::HalfFound;
    // 204 also stands for "no record" in play.
    if (rank == ResultRank(ViewMode::FewFound) && StoresFewFound(settingsPath, section))
        return TLibraryResult::FewFound;
    return TLibraryResult::NotTried;
}

std::vector<TLibraryEntry> ListLibrary(const std::vector<TLibraryFolder>& folders) {
    std::vector<TLibraryEntry> entries;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        for (const std::string& name : PuzzleFilesIn(folders[f].Path)) {
            TLibraryEntry e;
            e.Group = folders[f].Group;
            e.FolderIndex = static_cast<int>(f);
            e.Path = folders[f].Path + (folders[f].Path.ends_with('/') ? "" : "/") + name;
            e.FileName = name;
            e.DisplayTitle = name;
            struct stat st {};
            if (::stat(e.Path.c_str(), &st) == 0)
                e.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

void ReadLibraryResults(std::vector<TLibraryEntry>& entries, const std::string& settingsPath) {
    for (TLibraryEntry& e : entries) {
        e.Result = e.Summarised && !e.Unreadable() ? ReadLibraryResult(settingsPath, e.Summary.Section)
                                                   : TLibraryResult::NotTried;
    }
}

std::vector<std::size_t> ArrangeLibrary(const std::vector<TLibraryEntry>& entries, TLibrarySort sort,
                                        const std::string& filter) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (ContainsFolded(entries[i].DisplayTitle, filter) || ContainsFolded(entries[i].FileName, filter))
            shown.push_back(i);
    std::stable_sort(shown.begin(), shown.end(), [&](std::size_t a, std::size_t b) {
        const TLibraryEntry &x = entries[a], &y = entries[b];
        const std::int64_t kx = SortKey(x, sort), ky = SortKey(y, sort);
        return std::tie(x.FolderIndex, kx, x.FileName) < std::tie(y.FolderIndex, ky, y.FileName);
    });
    return shown;
}

TLibraryProgress CountProgress(const std::vector<TLibraryEntry>& entries) {
    TLibraryProgress p;
    for (const TLibraryEntry& e : entries) {
        if (e.Unreadable()) continue;
        ++p.Total;
        if (e.Result == TLibraryResult::AllFound) ++p.Solved;
    }
    return p;
}

int InitialSelection(const std::vector<TLibraryEntry>& entries, const std::vector<std::size_t>& shown,
                     const std::string& lastPlayed) {
    if (shown.empty()) return -1;
    for (std::size_t row = 0; row < shown.size(); ++row)
        if (!lastPlayed.empty() && entries[shown[row]].Path == lastPlayed) return static_cast<int>(row);
    return 0;
}

}  // namespace vexa
