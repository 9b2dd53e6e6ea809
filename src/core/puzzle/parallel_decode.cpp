#include "puzzle/parallel_decode.h"

#include "jpeg/decode_jpeg.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <thread>

namespace vexa {

namespace {

void Decode(TJpegJob& job) {
    try {
        job.Result = DecodeJpegToDib(job.Bitmap, job.Stream, job.Count);
    } catch (const std::bad_alloc&) {
        job.Bitmap = Block();
        job.Result = DecodeNoMemory;
    }
}

}  // namespace

std::size_t DecodeJpegJobs(std::vector<TJpegJob>& jobs, unsigned threads) {
    const std::size_t n = jobs.size();
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(threads, n);

    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> firstFailure{n};
    // Jobs are taken in order; one after a known failure is not needed.
    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= n || i > firstFailure.load(std::memory_order_relaxed)) return;
            Decode(jobs[i]);
            if (jobs[i].Result != DecodeOk) {
                std::size_t seen = firstFailure.load(std::memory_order_relaxed);
                while (i < seen && !firstFailure.compare_exchange_weak(seen, i, std::memory_order_relaxed)) {
                }
            }
        }
    };

    std::vector<std::thread> pool;
    if (workers > 1) {
        try {
            pool.reserve(workers - 1);
            for (std::size_t k = 1; k < workers; ++k) pool.emplace_back(work);
        } catch (const std::exception&) {
            // Fewer threads than asked for: the ones we have do all the work.
        }
    }
    work();
    for (std::thread& t : pool) t.join();
    return firstFailure.load();
}

}  // namespace vexa
