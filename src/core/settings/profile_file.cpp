#include "settings/profile_file.h"

#include "settings/profile_io.h"
#include "settings/profile_journal.h"
#include "settings/profile_save.h"
#include "settings/profile_scan.h"
#include "settings/settings_saver.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {
namespace {

// How long a save waits for another process's save of the same file, and a
// read for a save to end before it reads anyway.
constexpr int kWriteLockWaitMs = 10000;
constexpr int kReadLockWaitMs = 2000;
// Rounds of opening the file again when another process replaced it between
// our open and our lock.
constexpr int kOpenAttempts = 20;

bool HasNoLineBreaks(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

void ScanText(std::string_view text, TProfileScan& scan) {
    if (scan.Feed(text)) scan.Finish();
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
// exist yet (a dangling link names the file to create). A link is followed
// only when it is ours or root's and, where it names an existing file, that
// file is ours: in a folder that others may write, a planted link must not
// turn our save into a write to somebody else's file.
bool ResolveSymlinks(const std::string& path, std::string& target) {
    target = path;
    bool followed = false;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return !followed || st.st_uid == ::geteuid();
        if (st.st_uid != ::geteuid() && st.st_uid != 0) return false;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return false;
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
        followed = true;
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

std::optional<TProfileEntry> ReadProfileEntry(const std::string& path, std::string_view section,
                                              std::string_view key) {
    WaitForSettingsSaves();
    if (path.empty() || !StorableNames(section, key)) return std::nullopt;
    std::string target;
    // A save that was cut short is finished first.
    if (ResolveSymlinks(path, target) && HasProfileJournal(target)) RecoverProfileFile(path);
    const int fd = OpenRegular(path, O_RDONLY);
    if (fd < 0) return std::nullopt;
    // Read between others' saves where we can; a lock held too long does not
    // keep us from reading.
    (void)LockFile(fd, LOCK_SH, kReadLockWaitMs);
    TProfileScan scan(section, key);
    std::optional<TProfileEntry> entry;
    if (ScanProfileFile(fd, scan) && scan.KeyFound()) entry = TProfileEntry{scan.HeaderName(), scan.Value()};
    ::close(fd);
    return entry;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t capacity) {
    const std::optional<TProfileEntry> entry = ReadProfileEntry(path, section, key);
    std::string value = entry ? entry->Value : std::string(defaultValue);
    const std::size_t limit = capacity == 0 ? 0 : capacity - 1;
    if (value.size() > limit) value.resize(limit);
    return value;
}

namespace {

// The file that a save changes, open for reading and writing and locked:
// created empty when missing. -1 when it may not be written.
struct TOpenedTarget {
    int Fd = -1;
    bool Created = false;
    bool Retry = false;  // replaced or created by another process meanwhile
};

TOpenedTarget OpenAndLock(const std::string& target) {
    TOpenedTarget out;
    const std::string dir = FolderOf(target);
    struct stat named {};
    if (::lstat(target.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) return out;  // never open a device
    out.Fd = OpenRegular(target, O_RDWR | O_NOFOLLOW);
    if (out.Fd < 0) {
        if (errno != ENOENT || !MakeDirectories(dir) || !MayWriteFolder(dir)) return out;
        out.Fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (out.Fd < 0) {
            out.Retry = errno == EEXIST;
            return out;
        }
        out.Created = true;
    }
    struct stat st {};
    const TLockResult lock = ::fstat(out.Fd, &st) == 0 && (out.Created || MayWrite(target, st, 0))
                                 ? LockFile(out.Fd, LOCK_EX, kWriteLockWaitMs)
                                 : TLockResult::Busy;
    if (lock == TLockResult::Busy || !StillNames(target, out.Fd)) {
        out.Retry = lock != TLockResult::Busy;
        ::close(out.Fd);
        out.Fd = -1;
    }
    return out;
}

// The save itself, under the lock: the file is read again as it is now.
bool SaveLocked(int fd, const std::string& target, std::string_view section, std::string_view key,
                std::string_view value, const TProfileWriteGuard& guard) {
    if (!ReplayProfileJournal(fd, target)) return false;
    TProfileScan scan(section, key);
    if (!ScanProfileFile(fd, scan)) return false;
    if (scan.KeyFound() && guard && !guard(scan.HeaderName(), scan.Value())) return false;
    if (scan.KeyFound() && scan.RawValueIs(value)) return true;
    const TProfileScan::TEdit edit = scan.EditFor(value);
    const std::string dir = FolderOf(target);
    // Where the folder may be written the file is replaced whole; a writable
    // file in a folder that may not be written is changed where it lies,
    // through a journal.
    if (!MayWriteFolder(dir)) return RewriteThroughJournal(fd, target, edit.Begin, edit.End, edit.Insert);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    RemoveStaleTemporaries(dir, NameOf(target));
    return ReplaceAtomically(target, dir, &st, fd, edit);
}

}  // namespace

bool SaveProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value, TProfileWriteGuard guard) {
    return RunSettingsSave([path, section = std::string(section), key = std::string(key),
                            value = std::string(value), guard = std::move(guard)] {
        return WriteProfileString(path, section, key, value, guard);
    });
}

bool RecoverProfileFile(const std::string& path) {
    std::string target;
    if (path.empty() || !ResolveSymlinks(path, target) || !HasProfileJournal(target)) return true;
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return true;  // no file to finish: none is made for it
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        TOpenedTarget file = OpenAndLock(target);
        if (file.Retry) continue;
        if (file.Fd < 0) return false;
        const bool ok = ReplayProfileJournal(file.Fd, target);
        ::close(file.Fd);
        return ok;
    }
    return false;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, const TProfileWriteGuard& guard) {
    if (path.empty() || !StorableNames(section, key) || !IsStorableValue(value)) return false;
    std::string target;
    if (!ResolveSymlinks(path, target)) return false;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        TOpenedTarget file = OpenAndLock(target);
        if (file.Retry) continue;
        if (file.Fd < 0) return false;
        const bool ok = SaveLocked(file.Fd, target, section, key, value, guard);
        struct stat st {};
        // A file made for a save that failed goes again.
        if (!ok && file.Created && ::fstat(file.Fd, &st) == 0 && st.st_size == 0 && StillNames(target, file.Fd))
            (void)::unlink(target.c_str());
        ::close(file.Fd);
        return ok;
    }
    return false;
}

}  // namespace vexa
