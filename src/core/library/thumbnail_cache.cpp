#include "library/thumbnail_cache.h"

#include "library/private_files.h"

#include <sys/stat.h>

#include <cstdio>

namespace vexa {

namespace {

// Bumped whenever the layout or the thumbnail size changes.
constexpr char kMagic[] = "VXTHUMB2";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;

void PutU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutText(std::string& out, const std::string& text) {
    PutU64(out, text.size());
    out += text;
}

class Reader {
public:
    Reader(const std::string& bytes, std::size_t pos) : bytes_(bytes), pos_(pos) {}
    bool U64(std::uint64_t& v) {
        if (bytes_.size() - pos_ < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 8;
        return true;
    }
    bool I64(std::int64_t& v) {
        std::uint64_t u;
        if (!U64(u)) return false;
        v = static_cast<std::int64_t>(u);
        return true;
    }
    bool Text(std::string& text, std::uint64_t limit) {
        std::uint64_t n;
        if (!U64(n) || n > limit || n > bytes_.size() - pos_) return false;
        text.assign(bytes_, pos_, static_cast<std::size_t>(n));
        pos_ += static_cast<std::size_t>(n);
        return true;
    }
    // Exactly the `n` bytes that are left.
    bool Rest(std::size_t n, std::vector<std::uint8_t>& out) {
        if (bytes_.size() - pos_ != n) return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), bytes_.end());
        pos_ = bytes_.size();
        return true;
    }

private:
    const std::string& bytes_;
    std::size_t pos_;
};

void PutStamp(std::string& out, const TFileStamp& s) {
    PutU64(out, s.Device);
    PutU64(out, s.Inode);
    PutU64(out, static_cast<std::uint64_t>(s.Size));
    PutU64(out, static_cast<std::uint64_t>(s.ModifiedNs));
    PutU64(out, static_cast<std::uint64_t>(s.ChangedNs));
}

std::uint64_t Fnv1a64(const std::string& text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : text) {
        h ^= static_cast<std::uint8_t>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

}  // namespace

std::optional<TFileStamp> StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    TFileStamp s;
    s.Device = static_cast<std::uint64_t>(st.st_dev);
    s.Inode = static_cast<std::uint64_t>(st.st_ino);
    s.Size = static_cast<std::int64_t>(st.st_size);
    s.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.ChangedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

std::string EncodeCacheEntry(const std::string& path, const TFileStamp& stamp, const TPuzzleSummary& summary) {
    std::string out(kMagic, kMagicSize);
    PutText(out, path);
    PutStamp(out, stamp);
    PutU64(out, static_cast<std::uint64_t>(summary.Error));
    PutU64(out, static_cast<std::uint64_t>(summary.DiffCount));
    PutText(out, summary.Title);
    PutText(out, summary.Section);
    PutU64(out, static_cast<std::uint64_t>(summary.Thumbnail.Width));
    PutU64(out, static_cast<std::uint64_t>(summary.Thumbnail.Height));
    out.append(summary.Thumbnail.Rgb.begin(), summary.Thumbnail.Rgb.end());
    return out;
}

std::optional<TPuzzleSummary> DecodeCacheEntry(const std::string& bytes, const std::string& path,
                                               const TFileStamp& stamp) {
    if (bytes.compare(0, kMagicSize, kMagic) != 0) return std::nullopt;
    Reader in(bytes, kMagicSize);
    std::string storedPath;
    if (!in.Text(storedPath, path.size()) || storedPath != path) return std::nullopt;
    TFileStamp s;
    if (!in.U64(s.Device) || !in.U64(s.Inode) || !in.I64(s.Size) || !in.I64(s.ModifiedNs) || !in.I64(s.ChangedNs) ||
        !(s == stamp))
        return std::nullopt;
    TPuzzleSummary summary;
    std::uint64_t error, diffs, width, height;
    if (!in.U64(error) || error > static_cast<std::uint64_t>(TLoadError::NoMemory)) return std::nullopt;
    if (!in.U64(diffs) || diffs > 10) return std::nullopt;
    // The loader's fields hold at most 52 and 81 bytes.
    if (!in.Text(summary.Title, 52) || !in.Text(summary.Section, 81)) return std::nullopt;
    if (!in.U64(width) || !in.U64(height) || width > kThumbnailBox || height > kThumbnailBox) return std::nullopt;
    if ((width == 0) != (height == 0)) return std::nullopt;
    if (!in.Rest(static_cast<std::size_t>(width * height * 3), summary.Thumbnail.Rgb)) return std::nullopt;
    summary.Error = static_cast<TLoadError>(error);
    summary.DiffCount = static_cast<int>(diffs);
    summary.Thumbnail.Width = static_cast<int>(width);
    summary.Thumbnail.Height = static_cast<int>(height);
    return summary;
}

TThumbnailCache::TThumbnailCache(std::string folder) : Folder_(std::move(folder)) {}

std::string TThumbnailCache::DefaultFolder() {
    const std::string base = XdgBaseFolder("XDG_CACHE_HOME", "/.cache");
    return base.empty() ? base : base + "/vexa/thumbnails";
}

std::string TThumbnailCache::EntryPath(const std::string& path) const {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.thumb", static_cast<unsigned long long>(Fnv1a64(path)));
    return Folder_ + "/" + name;
}

std::optional<TPuzzleSummary> TThumbnailCache::Find(const std::string& path, const TFileStamp& stamp) const {
    if (Folder_.empty()) return std::nullopt;
    std::string bytes;
    // An entry is a few dozen kilobytes; anything far larger is not ours.
    if (!ReadSmallFile(EntryPath(path), 1 << 20, bytes)) return std::nullopt;
    return DecodeCacheEntry(bytes, path, stamp);
}

bool TThumbnailCache::Store(const std::string& path, const TFileStamp& stamp, const TPuzzleSummary& summary) const {
    return !Folder_.empty() && WriteFileAtomically(EntryPath(path), EncodeCacheEntry(path, stamp, summary));
}

}  // namespace vexa
