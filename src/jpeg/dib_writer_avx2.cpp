// The bitmap writers with AVX2, compiled for AVX2 function by function so
// that the program still runs on CPUs without it (they never call in here).
#include "jpeg/dib_writer.h"

namespace vexa::jpeg {

#if defined(__x86_64__)
__attribute__((target("avx2"))) void WriteGrayMcuAvx2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
    WriteGrayMcu(dst, stride, samples, cols, rows);
}
__attribute__((target("avx2"))) void WriteColorMcuAvx2(int layout, std::uint8_t* dst, std::int32_t stride,
                       const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                       const std::int16_t* cr, int cols, int rows) {
    WriteColorMcu(layout, dst, stride, luma, cb, cr, cols, rows);
}
#endif

}  // namespace vexa::jpeg
