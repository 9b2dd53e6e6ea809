// libFuzzer target: any bytes through DecodeJpegToDib. Besides the sanitizers'
// checks, the result and the bitmap must agree with each other.
#include "check_decode_jpeg.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* fault = vexa::fuzz::CheckDecodeJpeg(data, size)) {
        std::fprintf(stderr, "decoder check failed: %s\n", fault);
        std::abort();
    }
    return 0;
}
