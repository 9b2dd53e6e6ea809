#include "library/library_scan.h"

#include <algorithm>

namespace vexa {

TPuzzleSummary SummaryOf(const std::string& path, const TThumbnailCache* cache) {
    const std::optional<TFileStamp> stamp = StampOf(path);
    if (!stamp) return TPuzzleSummary{TLoadError::CannotOpen, {}, {}, 0, {}};
    if (cache)
        if (std::optional<TPuzzleSummary> cached = cache->Find(path, *stamp)) return std::move(*cached);
    TPuzzleSummary summary = ReadPuzzleSummary(path);
    // Stored only when the file did not change while it was read.
    if (cache && StampOf(path) == stamp) cache->Store(path, *stamp, summary);
    return summary;
}

TLibraryScan::TLibraryScan(std::vector<std::string> paths, const TThumbnailCache* cache, unsigned threads,
                           Done done)
    : Paths_(std::move(paths)), Cache_(cache), Done_(std::move(done)) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(1, Paths_.size())));
    for (unsigned i = 0; i < threads; ++i) Workers_.emplace_back([this] { Work(); });
}

TLibraryScan::~TLibraryScan() {
    Cancel();
    Wait();
}

void TLibraryScan::Wait() {
    for (std::thread& t : Workers_)
        if (t.joinable()) t.join();
}

void TLibraryScan::Work() {
    while (!Cancelled_) {
        const std::size_t i = Next_++;
        if (i >= Paths_.size()) return;
        TPuzzleSummary summary = SummaryOf(Paths_[i], Cache_);
        if (Done_) Done_(i, std::move(summary));
    }
}

}  // namespace vexa
