// Loading whole puzzles, the JPEG pictures decoded on one thread against one
// thread per hardware thread: the bundled demo puzzle, and ten photo-like
// 1024 x 768 pictures (4:2:0, quality 85) made here.
//   build-release/bench/vexa_bench --benchmark_filter=Load
#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"
#include "photo_picture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Smooth shading, hard edges and noise, different for every seed.
Bytes PhotoLikeJpeg(int width, int height, unsigned seed) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-8, 8);
    const double phase = seed * 0.7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                double v = 128 + 70 * std::sin(x / (29.0 + 5 * c) + y / 37.0 + phase) +
                           40 * std::cos((x + 3 * y) / (61.0 + seed));
                if (((x / 83) + (y / 67) + c + seed) % 5 == 0) v = 255 - v;
                v += noise(rng);
                rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
                    static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
    return vexa::bench::EncodeJpeg({width, height, 3, std::move(rgb)},
                                   {85, vexa::bench::EncodeOptions::S420, 0});
}

Bytes TenPictureBytes() {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    for (int i = 0; i < vexa::kPictureCount; ++i) {
        Bytes stream = PhotoLikeJpeg(1024, 768, static_cast<unsigned>(i + 1));
        sources[i] = {true, static_cast<std::int32_t>(stream.size()), std::move(stream)};
    }
    for (auto& size : record.PairSizes) size = {1024, 768};
    return vexa::SerializePuzzle(record, side, sources);
}

Bytes DemoBytes() {
    std::ifstream in(VEXA_SOURCE_DIR "/resources/demo/demo.VX", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Load(benchmark::State& state, const Bytes& bytes) {
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        if (vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size(), nullptr, threads) !=
            vexa::TLoadError::None) {
            state.SkipWithError("the puzzle did not load");
            return;
        }
        benchmark::DoNotOptimize(record.BasePictures[0].data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
    state.counters["threads"] = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
}

void BM_LoadDemoPuzzle(benchmark::State& state) {
    static const Bytes bytes = DemoBytes();
    if (bytes.empty()) {
        state.SkipWithError("resources/demo/demo.VX not found");
        return;
    }
    Load(state, bytes);
}

void BM_LoadTenPictures1024x768(benchmark::State& state) {
    static const Bytes bytes = TenPictureBytes();
    Load(state, bytes);
}

// 1: serial; 0: one thread per hardware thread.
BENCHMARK(BM_LoadDemoPuzzle)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadTenPictures1024x768)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
