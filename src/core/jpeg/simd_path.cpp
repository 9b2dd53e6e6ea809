#include "jpeg/simd_path.h"

#include <atomic>

namespace vexa::jpeg {

namespace {

SimdPath Best() {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2")) return SimdPath::Avx2;
#endif
#if defined(__SSE2__)
    return SimdPath::Sse2;
#else
    return SimdPath::Scalar;
#endif
}

std::atomic<int>& Forced() {
    static std::atomic<int> forced{-1};
    return forced;
}

}  // namespace

bool SimdPathAvailable(SimdPath path) {
    static const SimdPath best = Best();
    return static_cast<int>(path) <= static_cast<int>(best);
}

SimdPath ActiveSimdPath() {
    static const SimdPath best = Best();
    const int forced = Forced().load(std::memory_order_relaxed);
    return forced < 0 ? best : static_cast<SimdPath>(forced);
}

bool ForceSimdPath(SimdPath path) {
    if (!SimdPathAvailable(path)) return false;
    Forced().store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

}  // namespace vexa::jpeg
