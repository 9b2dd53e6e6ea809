// The .VX loader: one pass, front to back, every length checked before use;
// the JPEG pictures are decoded once the whole file is read.
#include "puzzle/puzzle_file.h"

#include "puzzle/parallel_decode.h"
#include "puzzle/picture_budget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace vexa {

namespace {

// Where the bytes come from; Read returns how many of `n` it could deliver.
class Source {
public:
    virtual ~Source() = default;
    virtual std::size_t Read(void* dst, std::size_t n) = 0;
    // Bytes known to be left; a block longer than that is cut short anyway,
    // so it need not be allocated first.
    virtual std::uint64_t Left() const = 0;
};

class MemorySource final : public Source {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), left_(data ? size : 0) {}
    std::size_t Read(void* dst, std::size_t n) override {
        const std::size_t k = std::min(n, left_);
        if (k) std::memcpy(dst, data_, k);
        data_ += k;
        left_ -= k;
        return k;
    }
    std::uint64_t Left() const override { return left_; }

private:
    const std::uint8_t* data_;
    std::size_t left_;
};

class FileSource final : public Source {
public:
    FileSource(int fd, std::uint64_t size) : fd_(fd), left_(size) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    std::size_t Read(void* dst, std::size_t n) override {
        auto* p = static_cast<char*>(dst);
        std::size_t done = 0;
        while (done < n) {
            const ssize_t r = ::read(fd_, p + done, n - done);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;  // an error counts as a short read
            done += static_cast<std::size_t>(r);
        }
        left_ -= std::min<std::uint64_t>(left_, done);
        return done;
    }
    std::uint64_t Left() const override { return left_; }

private:
    int fd_;
    std::uint64_t left_;  // from the size when opened
};

bool ReadI16(Source& in, std::int16_t& v) {
    std::uint8_t b[2];
    if (in.Read(b, 2) != 2) return false;
    v = static_cast<std::int16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ReadI32(Source& in, std::int32_t& v) {
    std::uint8_t b[4];
    if (in.Read(b, 4) != 4) return false;
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                  (static_cast<std::uint32_t>(b[2]) << 16) |
                                  (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

// A 16-bit length n (0..capacity) and n bytes. The text ends at n within the
// field; a text that fills the whole field without a zero byte loses its last
// byte to the terminator, so every field stays a terminated string.
bool ReadTextBlock(Source& in, char* field, std::size_t fieldSize, int capacity) {
    std::int16_t n;
    if (!ReadI16(in, n) || n < 0 || n > capacity) return false;
    char text[128];
    if (in.Read(text, static_cast<std::size_t>(n)) != static_cast<std::size_t>(n)) return false;
    const std::size_t len = static_cast<std::size_t>(n);
    std::memcpy(field, text, len);
    std::memset(field + len, 0, fieldSize - len);
    if (len == fieldSize) field[fieldSize - 1] = 0;
    return true;
}

// How reading a length-prefixed data block ended.
enum class TBlockRead {
    Ok,         // L = 0 leaves the block empty
    LengthCut,  // the file ended inside L
    NoBlock,    // no block of that size (negative, over the cap or the budget, or no memory)
    Short,      // fewer than L bytes left
};

// A 32-bit length L and L bytes into `block`. A block larger than `budget` is
// refused like one that cannot be allocated; a block read is taken off it.
TBlockRead ReadDataBlock(Source& in, Block& block, std::int64_t* budget = nullptr) {
    block.clear();
    std::int32_t length;
    if (!ReadI32(in, length)) return TBlockRead::LengthCut;
    if (length == 0) return TBlockRead::Ok;
    if (length < 0 || length > kMaxPictureBlockBytes) return TBlockRead::NoBlock;
    if (budget && length > *budget) return TBlockRead::NoBlock;
    if (static_cast<std::uint64_t>(length) > in.Left()) return TBlockRead::Short;
    try {
        block.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        Block().swap(block);
        return TBlockRead::NoBlock;
    }
    if (in.Read(block.data(), block.size()) != block.size()) {
        Block().swap(block);
        return TBlockRead::Short;
    }
    if (budget) *budget -= length;
    return TBlockRead::Ok;
}

// One picture entry as read from the file, before any decoding.
struct PictureEntry {
    Block Picture;          // a packed DIB entry's block
    TPictureSource Source;  // for a JPEG entry: its stream and S
    std::int32_t Count = 0; // stream bytes the decoder gets
};

// Reads entry S and its block. JPEG entries are charged the largest bitmap
// their stream's frame headers ask for, DIB entries their size, against what
// is left of `budget`, before anything of that size is taken.
TLoadError ReadPicture(Source& in, PictureEntry& entry, std::int64_t& budget) {
    std::int32_t streamLength;
    if (!ReadI32(in, streamLength)) return TLoadError::DiskError;
    if (streamLength == 0)
        return ReadDataBlock(in, entry.Picture, &budget) == TBlockRead::Ok ? TLoadError::None : TLoadError::NoMemory;
    Block stream;
    // Whatever went wrong, the block could not be had: the memory message.
    if (ReadDataBlock(in, stream) != TBlockRead::Ok) return TLoadError::NoMemory;
    // The decoder trusts its byte count, so it never gets more than the block
    // holds; no block or a negative S is a stream it would refuse anyway.
    if (stream.empty() || streamLength < 0) return TLoadError::NoMemory;
    entry.Count = std::min<std::int32_t>(streamLength, static_cast<std::int32_t>(stream.size()));
    const std::int64_t bitmapBytes = JpegBitmapBytesBound(stream.data(), static_cast<std::size_t>(entry.Count));
    if (bitmapBytes > budget) return TLoadError::NoMemory;
    budget -= bitmapBytes;
    entry.Source = TPictureSource{true, streamLength, std::move(stream)};
    return TLoadError::None;
}

// The ten picture entries: all read first, in one pass, then the JPEG
// streams decoded side by side. The outcome is that of the first entry in
// file order that fails, reading or decoding, and only the entries before it
// reach the record, as if each had been decoded right after it was read
// (except that after a memory failure in reading, the JPEG entries before it
// are not decoded at all: the load fails with that message anyway).
// Entries outside `keep` are read and charged as usual, then dropped at once:
// never decoded, never kept.
TLoadError ReadPictures(Source& in, TPuzzleData& record, TPictureSources* sources, unsigned threads,
                        unsigned keep) {
    std::array<PictureEntry, kPictureCount> entries;
    std::int64_t budget = kMaxPuzzlePictureBytes;
    int failed = kPictureCount;
    TLoadError outcome = TLoadError::None;
    for (int i = 0; i < kPictureCount && failed == kPictureCount; ++i) {
        outcome = ReadPicture(in, entries[i], budget);
        if (outcome != TLoadError::None) failed = i;
        if (!(keep & (1u << i))) entries[i] = PictureEntry{};
    }

    // A read that failed for memory decides the message whatever the decoder
    // would say of the entries before it, so nothing more is taken for them.
    const int decoded = outcome == TLoadError::NoMemory ? 0 : failed;
    std::vector<TJpegJob> jobs;
    std::vector<int> jobEntry;
    for (int i = 0; i < decoded; ++i) {
        if (!entries[i].Source.Jpeg) continue;
        TJpegJob job;
        job.Stream = entries[i].Source.Stream.data();
        job.Count = entries[i].Count;
        jobs.push_back(std::move(job));
        jobEntry.push_back(i);
    }
    const std::size_t firstBad = DecodeJpegJobs(jobs, threads);
    if (firstBad < jobs.size()) {
        failed = jobEntry[firstBad];
        outcome = TLoadError::NoMemory;
    }

    for (std::size_t j = 0; j < jobs.size() && jobEntry[j] < failed; ++j)
        entries[jobEntry[j]].Picture = std::move(jobs[j].Bitmap);
    for (int i = 0; i < failed; ++i) {
        if (entries[i].Source.Jpeg && i >= decoded) continue;
        PictureOf(record, i) = std::move(entries[i].Picture);
        if (sources) (*sources)[i] = std::move(entries[i].Source);
    }
    return outcome;
}

TLoadError Load(Source& in, TPuzzleData& record, TPuzzleSideValues& side, TPictureSources* sources,
             unsigned threads, unsigned keep = kAllPictures) {
    char header[81] = {};
    if (!ReadTextBlock(in, header, sizeof header, 80)) return TLoadError::DiskError;
    if (std::strcmp(header, kPuzzleHeader) != 0) return TLoadError::BadData;

    if (!ReadTextBlock(in, record.Title, sizeof record.Title, 52)) return TLoadError::DiskError;
    if (!ReadTextBlock(in, record.SectionName, sizeof record.SectionName, 52)) return TLoadError::DiskError;
    std::memset(side.CurrentSection, 0, sizeof side.CurrentSection);
    std::memcpy(side.CurrentSection, record.SectionName, sizeof record.SectionName);
    if (!ReadTextBlock(in, side.ExtraText, sizeof side.ExtraText, 81)) return TLoadError::DiskError;

    std::int16_t diffCount;
    if (!ReadI16(in, side.ExtraValue1) || !ReadI16(in, side.ExtraValue2) || !ReadI16(in, diffCount))
        return TLoadError::DiskError;
    // The record has room for ten rectangles; a file claiming more is not ours.
    if (diffCount > kMaxDiffs) return TLoadError::BadData;
    record.DiffCount = diffCount;
    for (int i = 0; i < diffCount; ++i) {
        std::int16_t v[4];
        for (auto& x : v)
            if (!ReadI16(in, x)) return TLoadError::DiskError;
        record.DiffRects[i] = TDiffRect{v[0], v[1], v[2], v[3]};
    }

    for (auto& count : record.TableCounts)
        if (!ReadI16(in, count)) return TLoadError::DiskError;
    for (int t = 0; t < kTableCount; ++t) {
        const std::int16_t count = record.TableCounts[t];
        if (count == 0) continue;
        if (count < 0) return TLoadError::NoMemory;
        if (static_cast<std::uint64_t>(count) * kAnimRecordBytes > in.Left()) return TLoadError::NoMemory;
        Block table;
        try {
            table.resize(static_cast<std::size_t>(count) * kAnimRecordBytes);
        } catch (const std::bad_alloc&) {
            return TLoadError::NoMemory;
        }
        if (in.Read(table.data(), table.size()) != table.size()) return TLoadError::NoMemory;
        record.Tables[t] = std::move(table);
    }

    for (auto& size : record.PairSizes)
        if (!ReadI16(in, size.Width) || !ReadI16(in, size.Height)) return TLoadError::DiskError;

    const TLoadError pictures = ReadPictures(in, record, sources, threads, keep);
    if (pictures != TLoadError::None) return pictures;
    record.Loaded = 1;
    return TLoadError::None;
}

}  // namespace

TLoadError LoadPuzzleFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path) {
    return LoadPuzzleFile(record, side, path, nullptr);
}

namespace {

TLoadError LoadFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path,
                    TPictureSources* sources, unsigned decodeThreads, unsigned keep) {
    if (sources) *sources = TPictureSources{};
    // Non-blocking, so that a FIFO does not wait for a writer before we can
    // see that it is no regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return TLoadError::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return TLoadError::CannotOpen;
    }
    FileSource in(fd, static_cast<std::uint64_t>(st.st_size));
    return Load(in, record, side, sources, decodeThreads, keep);
}

}  // namespace

TLoadError LoadPuzzleFile(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path,
                          TPictureSources* sources, unsigned decodeThreads) {
    return LoadFile(record, side, path, sources, decodeThreads, kAllPictures);
}

TLoadError LoadPuzzlePictures(TPuzzleData& record, TPuzzleSideValues& side, const std::string& path,
                              unsigned keep) {
    return LoadFile(record, side, path, nullptr, 1, keep);
}

TLoadError LoadPuzzleBytes(TPuzzleData& record, TPuzzleSideValues& side, const std::uint8_t* data,
                           std::size_t size, TPictureSources* sources, unsigned decodeThreads) {
    if (sources) *sources = TPictureSources{};
    MemorySource in(data, size);
    return Load(in, record, side, sources, decodeThreads);
}

}  // namespace vexa
