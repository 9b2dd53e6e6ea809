// libFuzzer target: any bytes as a packed DIB block. Besides the sanitizers'
// checks, a drawn picture has exactly width x height opaque pixels.
#include "check_dib_pixels.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* fault = vexa::fuzz::CheckDibPixels(data, size)) {
        std::fprintf(stderr, "DIB check failed: %s\n", fault);
        std::abort();
    }
    return 0;
}
