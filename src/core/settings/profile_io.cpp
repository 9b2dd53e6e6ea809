#include "settings/profile_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace vexa {
namespace {

std::atomic<TSaveStepHook> gHook{nullptr};

void Announce(TSaveStep step) {
    if (const TSaveStepHook hook = gHook.load()) hook(step);
}

}  // namespace

void SetSaveStepHook(TSaveStepHook hook) { gHook.store(hook); }

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        Announce(TSaveStep::Write);
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool PwriteAll(int fd, std::string_view data, std::uint64_t offset) {
    while (!data.empty()) {
        Announce(TSaveStep::Write);
        const ssize_t n = ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

long PreadSome(int fd, char* data, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
}

bool PreadAll(int fd, char* data, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const long n = PreadSome(fd, data, size, offset);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool SyncFile(int fd) {
    Announce(TSaveStep::Sync);
    return ::fsync(fd) == 0;
}

void SyncFolder(const std::string& dir) {
    if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
        Announce(TSaveStep::Sync);
        (void)::fsync(dfd);
        ::close(dfd);
    }
}

bool ReserveRoom(int fd, std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return true;
    Announce(TSaveStep::Reserve);
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, static_cast<off_t>(offset), static_cast<off_t>(length)) == 0)
        return true;
    return errno == EOPNOTSUPP || errno == ENOSYS;
}

bool TruncateTo(int fd, std::uint64_t size) {
    Announce(TSaveStep::Truncate);
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    Announce(TSaveStep::Rename);
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    Announce(TSaveStep::Remove);
    return ::unlink(path.c_str()) == 0;
}

}  // namespace vexa

#include <chrono>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace vexa {

TLockResult LockFile(int fd, int operation, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0) return TLockResult::Locked;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return TLockResult::NoLocks;
        if (std::chrono::steady_clock::now() >= deadline) return TLockResult::Busy;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool StillNames(const std::string& path, int fd) {
    struct stat named {}, held {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &held) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino && held.st_nlink > 0;
}

}  // namespace vexa
