// Decoding throughput of DecodeJpegToDib beside libjpeg-turbo and stb_image
// on the same in-memory JPEGs.
//   build-release/bench/vexa_bench --benchmark_counter_tables=true
//
// BM_Ratio/<case> decodes each picture alternately with both decoders and
// reports the best thread CPU time of each (vexa_ms, turbo_ms) and their
// ratio (x_turbo = turbo_ms / vexa_ms; above 1 means faster than turbo).
// Best-of CPU time is what stays comparable on a busy machine.
// VEXA_BENCH_PATH=scalar|sse2|avx2 makes the decoder take that path.
#include "jpeg/decode_jpeg.h"
#include "jpeg/simd_path.h"
#include "photo_picture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <jpeglib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb_image.h>

namespace {

using vexa::bench::Bytes;
using vexa::bench::EncodeOptions;

// The synthetic noisy pictures the older figures were taken on.
Bytes EncodeNoisy(int width, int height, bool gray) {
    const vexa::bench::RgbPicture picture = vexa::bench::NoisyPicture(width, height, gray ? 1 : 3);
    EncodeOptions options;
    options.Quality = 85;
    options.Sampling = gray ? EncodeOptions::Gray : EncodeOptions::S420;
    return vexa::bench::EncodeJpeg(picture, options);
}

const Bytes& Noisy(int which) {
    static const Bytes pictures[] = {EncodeNoisy(640, 480, false), EncodeNoisy(1920, 1080, false),
                                     EncodeNoisy(640, 480, true), EncodeNoisy(1920, 1080, true)};
    return pictures[which];
}

constexpr int kNoisyPixels[] = {640 * 480, 1920 * 1080, 640 * 480, 1920 * 1080};

// The photo-like cases: every layout, each on a smooth and a detailed scene.
struct PhotoCase {
    const char* Name;
    int Width, Height;
    EncodeOptions::Layout Sampling;
    int Quality;
    int RestartMcus;  // 0: no restart markers
};

constexpr PhotoCase kCases[] = {
    {"444_q92_2268x1512", 2268, 1512, EncodeOptions::S444, 92, 0},
    {"420_q85_2268x1512", 2268, 1512, EncodeOptions::S420, 85, 0},
    {"422_q90_2268x1512", 2268, 1512, EncodeOptions::S422, 90, 0},
    {"gray_q85_2268x1512", 2268, 1512, EncodeOptions::Gray, 85, 0},
    {"420_q85_1920x1080", 1920, 1080, EncodeOptions::S420, 85, 0},
    {"420_q85_rst8_1920x1080", 1920, 1080, EncodeOptions::S420, 85, 8},
    {"420_q85_640x480", 640, 480, EncodeOptions::S420, 85, 0},
};
constexpr int kCaseCount = static_cast<int>(std::size(kCases));

// Case index i: kCases[i / 2], smooth when i is even, detailed when odd.
const PhotoCase& CaseOf(int i) { return kCases[i / 2]; }
bool DetailedOf(int i) { return i % 2 == 1; }

std::string PhotoName(int i) { return std::string(CaseOf(i).Name) + (DetailedOf(i) ? "_detailed" : "_smooth"); }

const Bytes& Photo(int i) {
    static std::vector<Bytes> encoded(2 * kCaseCount);
    Bytes& jpeg = encoded[i];
    if (jpeg.empty()) {
        const PhotoCase& c = CaseOf(i);
        const vexa::bench::RgbPicture picture = vexa::bench::PhotoPicture(c.Width, c.Height, DetailedOf(i));
        EncodeOptions options;
        options.Quality = c.Quality;
        options.Sampling = c.Sampling;
        options.RestartMcus = c.RestartMcus;
        jpeg = vexa::bench::EncodeJpeg(picture, options);
        // VEXA_BENCH_SAVE=dir keeps a copy of each stream, to look at or to profile with.
        if (const char* dir = std::getenv("VEXA_BENCH_SAVE")) {
            const std::string path = std::string(dir) + "/" + PhotoName(i) + ".jpg";
            if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
                std::fwrite(jpeg.data(), 1, jpeg.size(), f);
                std::fclose(f);
            }
        }
    }
    return jpeg;
}

int PhotoPixels(int i) { return CaseOf(i).Width * CaseOf(i).Height; }

void SetRate(benchmark::State& state, int pixels) {
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(pixels) * state.iterations() / 1e6,
                                                  benchmark::Counter::kIsRate);
}

// libjpeg-turbo's default decode: islow IDCT, fancy upsampling, RGB (or grey)
// out, every row handed over at once.
class TurboDecoder {
public:
    void Decode(const Bytes& jpeg) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * info.output_components;
        pixels_.resize(rowBytes * info.output_height);
        rows_.resize(info.output_height);
        for (std::size_t y = 0; y < rows_.size(); ++y) rows_[y] = pixels_.data() + rowBytes * y;
        while (info.output_scanline < info.output_height)
            jpeg_read_scanlines(&info, rows_.data() + info.output_scanline, info.output_height - info.output_scanline);
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels_.data());
    }

private:
    Bytes pixels_;
    std::vector<JSAMPROW> rows_;
};

bool VexaDecode(std::vector<std::uint8_t>& bitmap, const Bytes& jpeg) {
    const int result = vexa::DecodeJpegToDib(bitmap, jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
    benchmark::DoNotOptimize(bitmap.data());
    return result == vexa::DecodeOk && !bitmap.empty();
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

void BM_Vexa(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Noisy(which);
    std::vector<std::uint8_t> bitmap;
    for (auto _ : state)
        if (!VexaDecode(bitmap, jpeg)) state.SkipWithError("decode failed");
    SetRate(state, kNoisyPixels[which]);
}

void BM_Libjpeg(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Noisy(which);
    TurboDecoder turbo;
    for (auto _ : state) turbo.Decode(jpeg);
    SetRate(state, kNoisyPixels[which]);
}

void BM_StbImage(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Noisy(which);
    for (auto _ : state) {
        int w, h, n;
        unsigned char* pixels = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &w, &h, &n, 0);
        if (pixels == nullptr) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    SetRate(state, kNoisyPixels[which]);
}

// 0: 640x480 4:2:0, 1: 1920x1080 4:2:0, 2: 640x480 grey, 3: 1920x1080 grey.
BENCHMARK(BM_Vexa)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libjpeg)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbImage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void PhotoVexa(benchmark::State& state, int i) {
    const Bytes& jpeg = Photo(i);
    std::vector<std::uint8_t> bitmap;
    for (auto _ : state)
        if (!VexaDecode(bitmap, jpeg)) state.SkipWithError("decode failed");
    SetRate(state, PhotoPixels(i));
}

void PhotoTurbo(benchmark::State& state, int i) {
    const Bytes& jpeg = Photo(i);
    TurboDecoder turbo;
    for (auto _ : state) turbo.Decode(jpeg);
    SetRate(state, PhotoPixels(i));
}

// Both decoders in turn on the same picture; best CPU time of each.
void PhotoRatio(benchmark::State& state, int i) {
    const Bytes& jpeg = Photo(i);
    std::vector<std::uint8_t> bitmap;
    TurboDecoder turbo;
    double bestVexa = 1e9, bestTurbo = 1e9;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        if (!VexaDecode(bitmap, jpeg)) state.SkipWithError("decode failed");
        const double t1 = ThreadSeconds();
        turbo.Decode(jpeg);
        const double t2 = ThreadSeconds();
        bestVexa = std::min(bestVexa, t1 - t0);
        bestTurbo = std::min(bestTurbo, t2 - t1);
    }
    state.counters["vexa_ms"] = 1e3 * bestVexa;
    state.counters["turbo_ms"] = 1e3 * bestTurbo;
    state.counters["x_turbo"] = bestTurbo / bestVexa;
    state.counters["bits/pix"] = 8.0 * static_cast<double>(jpeg.size()) / PhotoPixels(i);
}

const bool kPathForced = [] {
    const char* path = std::getenv("VEXA_BENCH_PATH");
    if (path == nullptr) return false;
    const std::string name(path);
    const auto p = name == "scalar" ? vexa::jpeg::SimdPath::Scalar
                   : name == "sse2" ? vexa::jpeg::SimdPath::Sse2
                                    : vexa::jpeg::SimdPath::Avx2;
    if (!vexa::jpeg::ForceSimdPath(p)) std::fprintf(stderr, "path %s not available\n", path);
    return true;
}();

const bool kPhotoRegistered = [] {
    for (int i = 0; i < 2 * kCaseCount; ++i) {
        const std::string name = PhotoName(i);
        benchmark::RegisterBenchmark(("BM_Ratio/" + name).c_str(), PhotoRatio, i)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        benchmark::RegisterBenchmark(("BM_PhotoVexa/" + name).c_str(), PhotoVexa, i)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_PhotoTurbo/" + name).c_str(), PhotoTurbo, i)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
