#include "settings/profile_save.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace vexa {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

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

bool PwriteAll(int fd, const char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// Reads exactly `size` bytes at `offset`; a file that shrank meanwhile fails.
bool PreadAll(int fd, char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// Copies source bytes [from, to) to `out`; to == UINT64_MAX copies up to the end.
bool CopyRange(int source, std::uint64_t from, std::uint64_t to, int out) {
    std::vector<char> buf(kChunk);
    while (from < to) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, to - from));
        const ssize_t n = ::pread(source, buf.data(), want, static_cast<off_t>(from));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return to == UINT64_MAX;
        if (!WriteAll(out, std::string_view(buf.data(), static_cast<std::size_t>(n)))) return false;
        from += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool ScanProfileFile(int fd, TProfileScan& scan) {
    std::vector<char> buf(kChunk);
    std::string line;
    std::uint64_t offset = 0;     // of the next byte read
    std::uint64_t lineBegin = 0;  // of `line`
    for (;;) {
        const ssize_t n = ::pread(fd, buf.data(), buf.size(), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        offset += static_cast<std::uint64_t>(n);
        std::string_view chunk(buf.data(), static_cast<std::size_t>(n));
        while (!chunk.empty()) {
            const std::size_t nl = chunk.find('\n');
            const std::size_t take = nl == std::string_view::npos ? chunk.size() : nl + 1;
            line.append(chunk.substr(0, take));
            chunk.remove_prefix(take);
            if (nl == std::string_view::npos) break;
            if (!scan.Feed(line, lineBegin)) return true;
            lineBegin += line.size();
            line.clear();
        }
    }
    scan.Feed(line, lineBegin);
    return true;
}

bool ReplaceAtomically(const std::string& target, const std::string& dir, const struct stat* existing,
                       int sourceFd, const TProfileScan::TEdit& edit) {
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
    if (sourceFd >= 0) {
        ok = ok && CopyRange(sourceFd, 0, edit.Begin, fd) && WriteAll(fd, edit.Insert) &&
             CopyRange(sourceFd, edit.End, UINT64_MAX, fd);
    } else {
        ok = ok && WriteAll(fd, edit.Insert);
    }
    ok = ok && ::fsync(fd) == 0;
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

bool RewriteInPlace(int fd, const TProfileScan::TEdit& edit) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || edit.Begin > edit.End) return false;
    const auto oldSize = static_cast<std::uint64_t>(st.st_size);
    if (edit.End > oldSize) return false;
    const std::uint64_t removed = edit.End - edit.Begin;
    const std::uint64_t added = edit.Insert.size();
    std::vector<char> buf(kChunk);
    if (added > removed) {
        const std::uint64_t grow = added - removed;
        // Claim the room first: running out of space must happen before any
        // byte has moved.
        if (const int err = ::posix_fallocate(fd, static_cast<off_t>(oldSize), static_cast<off_t>(grow)); err != 0) {
            (void)::ftruncate(fd, static_cast<off_t>(oldSize));
            return false;
        }
        // Move the tail back to front so that nothing is overwritten unread.
        for (std::uint64_t pos = oldSize; pos > edit.End;) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, pos - edit.End));
            pos -= n;
            if (!PreadAll(fd, buf.data(), n, pos) || !PwriteAll(fd, buf.data(), n, pos + grow)) return false;
        }
    } else if (added < removed) {
        const std::uint64_t shrink = removed - added;
        for (std::uint64_t pos = edit.End; pos < oldSize;) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, oldSize - pos));
            if (!PreadAll(fd, buf.data(), n, pos) || !PwriteAll(fd, buf.data(), n, pos - shrink)) return false;
            pos += n;
        }
        if (::ftruncate(fd, static_cast<off_t>(oldSize - shrink)) != 0) return false;
    }
    return PwriteAll(fd, edit.Insert.data(), edit.Insert.size(), edit.Begin) && ::fsync(fd) == 0;
}

void RemoveStaleTemporaries(const std::string& dir, const std::string& name) {
    const std::string prefix = "." + name + ".tmp-";
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    const int dfd = ::dirfd(d);
    while (const dirent* entry = ::readdir(d)) {
        const std::string_view entryName(entry->d_name);
        if (entryName.substr(0, prefix.size()) != prefix) continue;
        // Exactly "<pid>-<n>" after the prefix, both decimal.
        const std::string_view rest = entryName.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos) continue;
        const std::string_view pidText = rest.substr(0, dash);
        if (!AllDigits(pidText) || !AllDigits(rest.substr(dash + 1)) || pidText.size() > 9) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(std::string(pidText)));
        // Only a process that is gone: a live one (ours, or another user's,
        // which answers EPERM) may still be saving.
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        if (::fstatat(dfd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        (void)::unlinkat(dfd, entry->d_name, 0);
    }
    ::closedir(d);
}

}  // namespace vexa
