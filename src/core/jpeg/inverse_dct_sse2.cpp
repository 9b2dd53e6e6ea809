// The inverse DCT with SSE2, one block at a time: the vector passes shared
// with AVX2 (inverse_dct_steps.h), the plain code where they cannot go.
#include "jpeg/inverse_dct.h"

#if defined(__SSE2__)

#include "jpeg/inverse_dct_steps.h"
#include "jpeg/simd_lanes.h"

namespace vexa::jpeg {

void InverseDct8x8Sse2(std::int16_t* block) {
    __m128i v[8];
    for (int i = 0; i < 8; ++i) v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * i));
    const PassesDone done = TwoPasses<Lanes<SimdPath::Sse2>>(v);
    if (done == PassesDone::None) {
        InverseDct8x8Scalar(block);
        return;
    }
    for (int i = 0; i < 8; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 8 * i), v[i]);
    if (done == PassesDone::RowsOnly) ColumnsWrapping(block);
}

}  // namespace vexa::jpeg

#endif
