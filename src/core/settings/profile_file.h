// Profile ("ini") files as the settings file uses them: sections of
// key=value lines, kept as raw bytes so that Shift-JIS names survive.
//
// Matching folds ASCII letters only and never the second byte of a
// Shift-JIS pair. A section header runs from its '[' to the last ']' on the
// line. The first matching section and, in it, the first matching key win.
// Names and values are trimmed of blanks; a value wrapped in a matching
// pair of quotes loses them. A line whose first non-blank byte is ';' is a
// comment.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// The size of the caller's buffer in the original interface: at most
// kProfileValueCapacity - 1 bytes of a value are returned.
inline constexpr std::size_t kProfileValueCapacity = 81;

// --- In-memory layer (the file's bytes in, bytes out) ----------------------

// The value of `key` in `section` (at most kProfileHeldValue bytes of it), or
// nothing when the section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The file's bytes after setting `key` in `section` to `value`: only the
// affected line changes; a missing key is inserted after the section's last
// key line, a missing section is appended. New lines end with "\r\n".
// Nothing when a name or the value cannot be stored (see IsStorableProfileText).
std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// False for texts that would break the line structure: CR or LF anywhere,
// and for keys also '=' or an empty (all-blank) name.
bool IsStorableSectionName(std::string_view section);
bool IsStorableKeyName(std::string_view key);
bool IsStorableValue(std::string_view value);

// --- Files ------------------------------------------------------------------

// The value of `key` in `section` of the file at `path`, or `defaultValue`
// when the file, the section or the key is missing, the names cannot be
// stored, or the file cannot be read. At most capacity - 1 bytes come back.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t capacity = kProfileValueCapacity);

// A key's line as found: the section name as its header spells it (trimmed)
// and the value as ReadProfileString gives it, before any cut to a capacity.
struct TProfileEntry {
    std::string HeaderName;
    std::string Value;
};
// The entry of `key` in `section` of the file at `path`, read as
// ReadProfileString reads; nothing when the file, the section or the key is
// missing, the names cannot be stored, or the file cannot be read.
std::optional<TProfileEntry> ReadProfileEntry(const std::string& path, std::string_view section,
                                              std::string_view key);

// Decides, before a write replaces a present value, whether it may: given
// the section name as the file's header spells it and the value as read.
using TProfileWriteGuard = std::function<bool(std::string_view headerName, std::string_view presentValue)>;

// Sets `key` in `section` of the file at `path`, creating the file (and its
// missing folders) as needed. The file is locked against other processes'
// saves (waiting a bounded time; where the file system keeps no locks the
// save goes on without) and read again under the lock, so `guard` judges the
// value on disk now and every other line stays as it is on disk now.
// Symlinks are followed to the real file, whose mode is kept; a link that is
// not ours or root's, or that leads to a file that is not ours, is not
// written through. Where the folder may be written the file is replaced
// atomically (temporary file in the same folder, fsync, rename), after
// removing temporary files that killed saves left there; a writable file in
// a folder that may not be written is changed in place through a journal
// (see profile_journal.h). A read-only file stays untouched. Files and lines
// of any size are handled a piece at a time. When `guard` refuses the
// present value nothing is written. Returns false when nothing was written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, const TProfileWriteGuard& guard = {});

// WriteProfileString on the settings saver's worker when saves run in the
// background (settings_saver.h); `guard` must own what it refers to.
bool SaveProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value, TProfileWriteGuard guard = {});

// Finishes a save of the file at `path` that was cut short, from its journal;
// reads do it by themselves. False when a journal is there but could not be
// applied.
bool RecoverProfileFile(const std::string& path);

// The checks a write makes, for whoever must decide beforehand where the
// settings file can live.
//
// The file that a write to `path` replaces: symlinks followed, where a
// dangling link names the file to create. False on a loop, a bad link, or a
// link a write does not follow (see WriteProfileString).
bool ResolveProfileTarget(const std::string& path, std::string& target);
// The folder part of a path ("." when there is none).
std::string FolderOfPath(const std::string& path);
// An existing regular file, or a folder (which must also be searchable),
// that we may write. Like a read-only attribute, no write bit at all means
// read-only even for root.
bool MayWriteFile(const std::string& path);
bool MayWriteFolder(const std::string& dir);

}  // namespace vexa
