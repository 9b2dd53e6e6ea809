#include "play/profile_file.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vexa {
namespace {

// A settings file is a few kilobytes; anything far larger is not ours to load.
constexpr std::size_t kMaxProfileBytes = 16u << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Case-insensitive on ASCII letters; a Shift-JIS pair must match exactly, so
// a second byte that happens to be a letter is never folded.
bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsShiftJisLead(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(ca) != FoldAscii(cb)) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, Comment, Section, Key };

struct Line {
    std::size_t Begin = 0;       // first byte of the line
    std::size_t ContentEnd = 0;  // where the line ending starts
    std::size_t End = 0;         // one past the line ending
    LineKind Kind = LineKind::Other;
    std::string_view Name;       // section or key name, trimmed
    std::size_t ValueBegin = 0;  // key lines: first byte after '='
};

Line ClassifyLine(std::string_view text, std::size_t begin, std::size_t contentEnd, std::size_t end) {
    Line line;
    line.Begin = begin;
    line.ContentEnd = contentEnd;
    line.End = end;
    const std::string_view content = text.substr(begin, contentEnd - begin);
    const std::string_view body = Trim(content);
    if (body.empty()) return line;
    if (body.front() == ';') {
        line.Kind = LineKind::Comment;
    } else if (body.front() == '[') {
        // The last ']' closes the header: a Shift-JIS second byte may be ']'.
        const std::size_t close = body.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.Kind = LineKind::Section;
            line.Name = Trim(body.substr(1, close - 1));
        }
    } else if (const std::size_t eq = content.find('='); eq != std::string_view::npos) {
        line.Kind = LineKind::Key;
        line.Name = Trim(content.substr(0, eq));
        line.ValueBegin = begin + eq + 1;
    }
    return line;
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t contentEnd = nl == std::string_view::npos ? text.size() : nl;
        if (contentEnd > pos && text[contentEnd - 1] == '\r') --contentEnd;
        lines.push_back(ClassifyLine(text, pos, contentEnd, end));
        pos = end;
    }
    return lines;
}

std::string UnquoteValue(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

struct SectionMatch {
    const Line* Header = nullptr;   // the first matching section
    const Line* LastKey = nullptr;  // its last key line
    const Line* Key = nullptr;      // its first line with the wanted key
};

SectionMatch FindInSection(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    SectionMatch match;
    const std::string_view wantSection = Trim(section);
    const std::string_view wantKey = Trim(key);
    for (const Line& line : lines) {
        if (line.Kind == LineKind::Section) {
            if (match.Header) break;  // the first matching section has ended
            if (NamesEqual(line.Name, wantSection)) match.Header = &line;
        } else if (line.Kind == LineKind::Key && match.Header) {
            match.LastKey = &line;
            if (!match.Key && NamesEqual(line.Name, wantKey)) match.Key = &line;
        }
    }
    return match;
}

bool HasNoLineBreaks(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

// What must follow `text` so that something can be appended on a new line.
std::string_view LineEndingNeeded(std::string_view text) {
    if (text.empty() || text.back() == '\n') return {};
    return text.back() == '\r' ? std::string_view("\n") : std::string_view("\r\n");
}

// Reads a whole regular file. Never blocks on a FIFO or a device.
enum class ReadStatus { Ok, Missing, Failed };

ReadStatus ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    struct stat st {};
    ReadStatus status = ReadStatus::Ok;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxProfileBytes) {
        status = ReadStatus::Failed;
    } else {
        char buf[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                status = ReadStatus::Failed;
                break;
            }
            out.append(buf, static_cast<std::size_t>(n));
            if (out.size() > kMaxProfileBytes) {
                status = ReadStatus::Failed;
                break;
            }
        }
    }
    ::close(fd);
    return status;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows symlinks to the file that a write must replace, which need not
// exist yet (a dangling link names the file to create).
bool ResolveSymlinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return false;
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
    }
    return false;  // a loop
}

// The check Windows makes with the read-only attribute: write permission
// alone is not enough, since root has it everywhere; a file or folder with
// no write bit at all counts as read-only for everybody.
bool MayWrite(const std::string& path, const struct stat& st, int extraAccess) {
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK | extraAccess) == 0;
}

bool MakeDirectories(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (errno != ENOENT) return false;
    const std::string parent = FolderOf(dir);
    if (parent != dir && !MakeDirectories(parent)) return false;
    return ::mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplaceAtomically(const std::string& target, const std::string& dir, const struct stat* existing,
                       std::string_view data) {
    static unsigned counter = 0;
    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir + "/." + base + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = true;
    if (existing) {
        // Keep the owner where we may, and the mode always.
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
            (void)::fchown(fd, existing->st_uid, existing->st_gid);
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace

bool ResolveProfileTarget(const std::string& path, std::string& target) { return ResolveSymlinks(path, target); }

std::string FolderOfPath(const std::string& path) { return FolderOf(path); }

bool MayWriteFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && MayWrite(path, st, 0);
}

bool MayWriteFolder(const std::string& dir) {
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && MayWrite(dir, st, X_OK);
}

bool IsStorableSectionName(std::string_view section) { return HasNoLineBreaks(section); }

bool IsStorableKeyName(std::string_view key) {
    return HasNoLineBreaks(key) && key.find('=') == std::string_view::npos && !Trim(key).empty();
}

bool IsStorableValue(std::string_view value) { return HasNoLineBreaks(value); }

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    const SectionMatch match = FindInSection(lines, section, key);
    if (!match.Key) return std::nullopt;
    return UnquoteValue(text.substr(match.Key->ValueBegin, match.Key->ContentEnd - match.Key->ValueBegin));
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value))
        return std::nullopt;
    const std::vector<Line> lines = SplitLines(text);
    const SectionMatch match = FindInSection(lines, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (match.Key) {
        // Keep everything up to '=' and the line ending; only the value changes.
        out.append(text.substr(0, match.Key->ValueBegin));
        out.append(value);
        out.append(text.substr(match.Key->ContentEnd));
    } else if (match.Header) {
        const Line* after = match.LastKey ? match.LastKey : match.Header;
        const std::string_view head = text.substr(0, after->End);
        out.append(head);
        out.append(LineEndingNeeded(head));
        out.append(key).append("=").append(value).append("\r\n");
        out.append(text.substr(after->End));
    } else {
        out.append(text);
        out.append(LineEndingNeeded(text));
        out.append("[").append(section).append("]\r\n");
        out.append(key).append("=").append(value).append("\r\n");
    }
    return out;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t capacity) {
    std::string value(defaultValue);
    if (!path.empty() && IsStorableSectionName(section) && IsStorableKeyName(key)) {
        std::string text;
        if (ReadWholeFile(path, text) == ReadStatus::Ok) {
            if (auto found = FindProfileValue(text, section, key)) value = std::move(*found);
        }
    }
    const std::size_t limit = capacity == 0 ? 0 : capacity - 1;
    if (value.size() > limit) value.resize(limit);
    return value;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    if (path.empty() || !IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value))
        return false;
    std::string target;
    if (!ResolveSymlinks(path, target)) return false;
    const std::string dir = FolderOf(target);

    struct stat fileStat {};
    const bool exists = ::stat(target.c_str(), &fileStat) == 0;
    if (!exists && errno != ENOENT) return false;
    std::string text;
    if (exists) {
        if (!S_ISREG(fileStat.st_mode) || !MayWrite(target, fileStat, 0)) return false;
        if (ReadWholeFile(target, text) != ReadStatus::Ok) return false;
    }
    const std::optional<std::string> updated = SetProfileValue(text, section, key, value);
    if (!updated) return false;
    if (exists && *updated == text) return true;

    if (!MakeDirectories(dir) || !MayWriteFolder(dir)) return false;
    return ReplaceAtomically(target, dir, exists ? &fileStat : nullptr, *updated);
}

}  // namespace vexa
