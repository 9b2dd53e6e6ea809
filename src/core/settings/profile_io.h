// The file operations a settings save is made of, each announced to an
// optional hook first so that a test can stop a save at any one of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

enum class TSaveStep { Write, Sync, Reserve, Truncate, Rename, Remove };

// Called before every step of a save; nothing by default.
using TSaveStepHook = void (*)(TSaveStep);
void SetSaveStepHook(TSaveStepHook hook);

// write(2)/pwrite(2) until every byte is out (EINTR retried).
bool WriteAll(int fd, std::string_view data);
bool PwriteAll(int fd, std::string_view data, std::uint64_t offset);
// Reads exactly `size` bytes at `offset`; a file that is shorter fails.
bool PreadAll(int fd, char* data, std::size_t size, std::uint64_t offset);
// pread(2) retried on EINTR: the bytes read, 0 at the end, -1 on error.
long PreadSome(int fd, char* data, std::size_t size, std::uint64_t offset);

bool SyncFile(int fd);
// fsync of a folder, so that a rename or removal in it lasts.
void SyncFolder(const std::string& dir);
// Claims disk room for [offset, offset + length) without changing the size.
// True also where the file system cannot reserve room ahead.
bool ReserveRoom(int fd, std::uint64_t offset, std::uint64_t length);
bool TruncateTo(int fd, std::uint64_t size);
bool RenameFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

}  // namespace vexa

namespace vexa {

enum class TLockResult {
    Locked,
    NoLocks,  // the file system keeps no locks: go on without one
    Busy,     // another process held it for the whole wait
};

// flock(2) `operation` (LOCK_SH or LOCK_EX) on `fd`, waiting at most waitMs.
TLockResult LockFile(int fd, int operation, int waitMs);

// Whether `path` still names the file open behind `fd`: an atomic save by
// another process replaces it with a new file.
bool StillNames(const std::string& path, int fd);

}  // namespace vexa
