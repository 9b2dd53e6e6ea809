// Summaries of many puzzle files made side by side on worker threads, from
// the thumbnail cache where it holds them and from the files otherwise.
#pragma once

#include "library/puzzle_summary.h"
#include "library/thumbnail_cache.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace vexa {

// The summary of one file: the cache's when it holds this version of the
// file, else read from the file and stored in the cache. A file that cannot
// be looked at gives CannotOpen.
TPuzzleSummary SummaryOf(const std::string& path, const TThumbnailCache* cache);

class TLibraryScan {
public:
    // Called on a worker thread once for each path, in no particular order.
    using Done = std::function<void(std::size_t index, TPuzzleSummary summary)>;

    // Starts `threads` workers (0: one per hardware thread) over `paths`.
    // `cache` may be null; it must outlive the scan.
    TLibraryScan(std::vector<std::string> paths, const TThumbnailCache* cache, unsigned threads, Done done);
    // Cancels and waits for the workers.
    ~TLibraryScan();
    TLibraryScan(const TLibraryScan&) = delete;
    TLibraryScan& operator=(const TLibraryScan&) = delete;

    // No further file is started; the ones in progress finish.
    void Cancel() { Cancelled_ = true; }
    // Waits until every worker has ended.
    void Wait();

private:
    void Work();

    std::vector<std::string> Paths_;
    const TThumbnailCache* Cache_;
    Done Done_;
    std::atomic<std::size_t> Next_{0};
    std::atomic<bool> Cancelled_{false};
    std::vector<std::thread> Workers_;
};

}  // namespace vexa
