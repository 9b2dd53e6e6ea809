#include "settings/profile_save.h"

#include "settings/profile_io.h"

#include <algorithm>
#include <atomic>
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

constexpr std::size_t kChunk = 256 * 1024;

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
    for (std::uint64_t offset = 0;;) {
        // Holes of a sparse file read as zero bytes without reading them.
        off_t data = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
        if (data < 0 && errno == ENXIO) {
            struct stat st {};
            data = ::fstat(fd, &st) == 0 ? st.st_size : static_cast<off_t>(offset);
        }
        if (data > static_cast<off_t>(offset)) {
            if (!scan.FeedZeros(static_cast<std::uint64_t>(data) - offset)) return true;
            offset = static_cast<std::uint64_t>(data);
        }
        const long n = PreadSome(fd, buf.data(), buf.size(), offset);
        if (n < 0) return false;
        if (n == 0) break;
        offset += static_cast<std::uint64_t>(n);
        if (!scan.Feed(std::string_view(buf.data(), static_cast<std::size_t>(n)))) return true;
    }
    scan.Finish();
    return true;
}

bool ReplaceAtomically(const std::string& target, const std::string& dir, const struct stat* existing,
                       int sourceFd, const TProfileScan::TEdit& edit) {
    static std::atomic<unsigned> counter{0};
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
    ok = ok && SyncFile(fd);
    ok = (::close(fd) == 0) && ok;
    ok = ok && RenameFile(temp, target);
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(dir);
    return true;
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
