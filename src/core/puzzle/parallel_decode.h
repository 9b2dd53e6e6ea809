// Decoding the JPEG entries of a puzzle side by side once the file is read.
#pragma once

#include "puzzle/puzzle_data.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexa {

// One stream to decode. Each job owns its result; jobs share nothing.
struct TJpegJob {
    const std::uint8_t* Stream = nullptr;
    std::int32_t Count = 0;  // stream bytes handed to the decoder
    Block Bitmap;
    int Result = -1;         // the decoder's result; -1 until decoded
};

// Decodes the jobs on up to `threads` threads (0: one per hardware thread;
// the calling thread is one of them). Returns the index of the first job that
// failed, in job order, or jobs.size() when all succeeded. Jobs after a
// failure may be left undecoded, as their results are not used.
std::size_t DecodeJpegJobs(std::vector<TJpegJob>& jobs, unsigned threads);

}  // namespace vexa
