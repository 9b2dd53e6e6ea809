#include "library/library_state.h"

#include "library/private_files.h"

#include <algorithm>

namespace vexa {

namespace {

constexpr std::string_view kFolderKey = "folder=";
constexpr std::string_view kRecentKey = "recent=";
constexpr std::string_view kLastKey = "last=";

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '.' ||
           c == '_' || c == '-' || c == '~';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (KeptAsIs(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        }
    }
    return out;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

std::string FormatLibraryState(const TLibraryState& state) {
    std::string text = "# Vexa puzzle list: added folders, recent files, last played\n";
    for (const std::string& f : state.Folders) text += std::string(kFolderKey) + PercentEncode(f) + "\n";
    for (const std::string& r : state.Recent) text += std::string(kRecentKey) + PercentEncode(r) + "\n";
    if (!state.LastPlayed.empty()) text += std::string(kLastKey) + PercentEncode(state.LastPlayed) + "\n";
    return text;
}

TLibraryState ParseLibraryState(std::string_view text) {
    TLibraryState state;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto value = [&](std::string_view key) -> std::optional<std::string> {
            if (!line.starts_with(key)) return std::nullopt;
            auto decoded = PercentDecode(line.substr(key.size()));
            if (!decoded || decoded->empty() || decoded->find('\0') != std::string::npos) return std::nullopt;
            return decoded;
        };
        if (auto f = value(kFolderKey)) {
            if (std::find(state.Folders.begin(), state.Folders.end(), *f) == state.Folders.end())
                state.Folders.push_back(*f);
        } else if (auto r = value(kRecentKey)) {
            if (state.Recent.size() < kMaxRecentFiles &&
                std::find(state.Recent.begin(), state.Recent.end(), *r) == state.Recent.end())
                state.Recent.push_back(*r);
        } else if (auto l = value(kLastKey)) {
            state.LastPlayed = *l;
        }
    }
    return state;
}

void NoteOpened(TLibraryState& state, const std::string& path) {
    if (path.empty()) return;
    auto& recent = state.Recent;
    recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
    recent.insert(recent.begin(), path);
    if (recent.size() > kMaxRecentFiles) recent.resize(kMaxRecentFiles);
    state.LastPlayed = path;
}

bool AddFolder(TLibraryState& state, const std::string& folder) {
    if (folder.empty() || std::find(state.Folders.begin(), state.Folders.end(), folder) != state.Folders.end())
        return false;
    state.Folders.push_back(folder);
    return true;
}

bool RemoveFolder(TLibraryState& state, const std::string& folder) {
    const auto it = std::find(state.Folders.begin(), state.Folders.end(), folder);
    if (it == state.Folders.end()) return false;
    state.Folders.erase(it);
    return true;
}

std::string DefaultLibraryStatePath() {
    const std::string base = XdgBaseFolder("XDG_STATE_HOME", "/.local/state");
    return base.empty() ? base : base + "/vexa/library";
}

TLibraryState LoadLibraryState(const std::string& path) {
    std::string text;
    // Eight recent files and a few folders; a huge file is not ours.
    if (!ReadSmallFile(path, 1 << 20, text)) return {};
    return ParseLibraryState(text);
}

bool SaveLibraryState(const std::string& path, const TLibraryState& state) {
    return WriteFileAtomically(path, FormatLibraryState(state));
}

}  // namespace vexa
