#include "settings/profile_file.h"

#include "settings/profile_save.h"
#include "settings/profile_scan.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {
namespace {

bool HasNoLineBreaks(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

// Feeds `text` to `scan` line by line.
void ScanText(std::string_view text, TProfileScan& scan) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!scan.Feed(text.substr(pos, end - pos), pos)) return;
        pos = end;
    }
}

// Opens an existing regular file without ever blocking on a FIFO or a
// device; -1 otherwise (errno tells why).
int OpenRegular(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool StorableNames(std::string_view section, std::string_view key) {
    return IsStorableSectionName(section) && IsStorableKeyName(key);
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
    return HasNoLineBreaks(key) && key.find('=') == std::string_view::npos && !TrimProfileBlanks(key).empty();
}

bool IsStorableValue(std::string_view value) { return HasNoLineBreaks(value); }

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    TProfileScan scan(section, key);
    ScanText(text, scan);
    if (!scan.KeyFound()) return std::nullopt;
    return scan.Value();
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    if (!StorableNames(section, key) || !IsStorableValue(value)) return std::nullopt;
    TProfileScan scan(section, key);
    ScanText(text, scan);
    const TProfileScan::TEdit edit = scan.EditFor(value);
    std::string out;
    out.reserve(text.size() + edit.Insert.size());
    out.append(text.substr(0, edit.Begin)).append(edit.Insert).append(text.substr(edit.End));
    return out;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t capacity) {
    std::string value(defaultValue);
    if (!path.empty() && StorableNames(section, key)) {
        if (const int fd = OpenRegular(path, O_RDONLY); fd >= 0) {
            TProfileScan scan(section, key);
            if (ScanProfileFile(fd, scan) && scan.KeyFound()) value = scan.Value();
            ::close(fd);
        }
    }
    const std::size_t limit = capacity == 0 ? 0 : capacity - 1;
    if (value.size() > limit) value.resize(limit);
    return value;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, const TProfileWriteGuard& guard) {
    if (path.empty() || !StorableNames(section, key) || !IsStorableValue(value)) return false;
    std::string target;
    if (!ResolveSymlinks(path, target)) return false;
    const std::string dir = FolderOf(target);

    struct stat fileStat {};
    if (::stat(target.c_str(), &fileStat) != 0) {
        if (errno != ENOENT) return false;
        if (!MakeDirectories(dir) || !MayWriteFolder(dir)) return false;
        RemoveStaleTemporaries(dir, NameOf(target));
        return ReplaceAtomically(target, dir, nullptr, -1, TProfileScan(section, key).EditFor(value));
    }
    if (!S_ISREG(fileStat.st_mode) || !MayWrite(target, fileStat, 0)) return false;

    // Where the folder may be written the file is replaced whole; a writable
    // file in a folder that may not be written is changed where it lies.
    const bool replace = MayWriteFolder(dir);
    const int fd = OpenRegular(target, replace ? O_RDONLY : O_RDWR);
    if (fd < 0) return false;
    TProfileScan scan(section, key);
    bool ok = ScanProfileFile(fd, scan);
    if (ok && scan.KeyFound() && guard && !guard(scan.HeaderName(), scan.Value())) ok = false;
    if (ok && !(scan.KeyFound() && scan.RawValue() == value)) {
        const TProfileScan::TEdit edit = scan.EditFor(value);
        if (replace) {
            RemoveStaleTemporaries(dir, NameOf(target));
            ok = ReplaceAtomically(target, dir, &fileStat, fd, edit);
        } else {
            ok = RewriteInPlace(fd, edit);
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace vexa
