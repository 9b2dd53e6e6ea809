// Which instruction set the decoder's sample stages (inverse DCT, colour
// conversion and output) and scan loop use, chosen once at run time.
#pragma once

namespace vexa::jpeg {

enum class SimdPath : int {
    Scalar = 0,  // plain C++, every CPU
    Sse2 = 1,    // 128-bit, where the build targets it (every x86-64 CPU)
    Avx2 = 2,    // 256-bit with BMI2, where the CPU has both
};

// Whether this build and this CPU can run `path`.
bool SimdPathAvailable(SimdPath path);

// The path decodes take: the best available one unless a test forced another.
SimdPath ActiveSimdPath();

// Makes decodes take `path` from now on (for tests that compare the paths);
// false, changing nothing, when the path is not available. Not meant to be
// called while other threads decode.
bool ForceSimdPath(SimdPath path);

}  // namespace vexa::jpeg

// Code between VEXA_AVX2_BEGIN and VEXA_AVX2_END is compiled for AVX2 and
// BMI2, whatever the build targets; it may run only where
// SimdPathAvailable(SimdPath::Avx2). Headers of the standard library and
// <immintrin.h> go before it.
#if defined(__clang__)
#define VEXA_AVX2_BEGIN _Pragma("clang attribute push(__attribute__((target(\"avx2,bmi2\"))), apply_to = function)")
#define VEXA_AVX2_END _Pragma("clang attribute pop")
#else
#define VEXA_AVX2_BEGIN _Pragma("GCC push_options") _Pragma("GCC target(\"avx2,bmi2\")")
#define VEXA_AVX2_END _Pragma("GCC pop_options")
#endif
