// libFuzzer target: any bytes as a .VX file, through the checks of
// check_load_puzzle.h besides the sanitizers'.
//
// The puzzle sources are compiled into this file so that they carry the
// fuzzer's coverage instrumentation and the sanitizers (the build compiles
// the decoder's sources in beside it).
#include "../src/puzzle/parallel_decode.cpp"
#include "../src/puzzle/picture_budget.cpp"
#include "../src/puzzle/puzzle_data.cpp"
#include "../src/puzzle/puzzle_file.cpp"
#include "../src/puzzle/puzzle_writer.cpp"
#include "../src/view/core/dib_pixels.cpp"

#include "check_load_puzzle.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* fault = vexa::fuzz::CheckLoadPuzzle(data, size)) {
        std::fprintf(stderr, "loader check failed: %s\n", fault);
        std::abort();
    }
    return 0;
}
