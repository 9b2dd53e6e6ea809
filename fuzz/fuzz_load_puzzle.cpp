// libFuzzer target: any bytes as a .VX file, through the checks of
// check_load_puzzle.h besides the sanitizers'.
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
