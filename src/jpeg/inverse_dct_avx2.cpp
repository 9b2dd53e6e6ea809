// InverseDct8x8 with AVX2, compiled for AVX2 function by function so that
// the program still runs on CPUs without it (they never call in here).
#include "jpeg/inverse_dct.h"

namespace vexa::jpeg {

#if defined(__x86_64__)
__attribute__((target("avx2"))) void InverseDct8x8Avx2(std::int16_t* block) { InverseDct8x8(block); }
#endif

}  // namespace vexa::jpeg
