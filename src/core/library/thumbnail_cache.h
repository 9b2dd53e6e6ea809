// A cache of puzzle summaries (texts, count, thumbnail) kept losslessly in
// files of their own, one per puzzle path, so that a list opened again reads
// no puzzle file. An entry holds the file's identity (device, inode, size,
// modification and change times): any change to the file makes it stale.
#pragma once

#include "library/puzzle_summary.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vexa {

// What identifies one version of a file.
struct TFileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The stamp of the file `path` names (symlinks followed); nothing when it
// cannot be looked at.
std::optional<TFileStamp> StampOf(const std::string& path);

// The cache's own bytes for one entry, and back. Decoding checks every length
// against the bytes it has and refuses anything else.
std::string EncodeCacheEntry(const std::string& path, const TFileStamp& stamp, const TPuzzleSummary& summary);
std::optional<TPuzzleSummary> DecodeCacheEntry(const std::string& bytes, const std::string& path,
                                               const TFileStamp& stamp);

class TThumbnailCache {
public:
    // `folder` is where the entries go (created on the first store, mode 0700,
    // as is a missing parent "vexa" folder). An empty folder caches nothing.
    explicit TThumbnailCache(std::string folder);

    // $XDG_CACHE_HOME (when absolute) or ~/.cache, plus "/vexa/thumbnails".
    static std::string DefaultFolder();

    const std::string& Folder() const { return Folder_; }

    // The summary stored for this version of the file, if any.
    std::optional<TPuzzleSummary> Find(const std::string& path, const TFileStamp& stamp) const;
    // Stores it, replacing the file's entry atomically; false when it could not.
    bool Store(const std::string& path, const TFileStamp& stamp, const TPuzzleSummary& summary) const;

    // The entry file for `path` (a hash of its bytes).
    std::string EntryPath(const std::string& path) const;

private:
    std::string Folder_;
};

}  // namespace vexa
