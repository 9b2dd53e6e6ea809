// Decoding throughput of DecodeJpegToDib beside libjpeg-turbo and stb_image
// on the same in-memory JPEGs (4:2:0 at quality 85, and grey).
//   build-release/bench/vexa_bench --benchmark_counter_tables=true
#include "jpeg/decode_jpeg.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb_image.h>

namespace {

using Bytes = std::vector<unsigned char>;

// A photo-like test picture: gradients, edges and noise.
Bytes Encode(int width, int height, bool gray) {
    const int channels = gray ? 1 : 3;
    Bytes pixels(static_cast<std::size_t>(width) * height * channels);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                double v = 128 + 80 * std::sin(x / (23.0 + 7 * c) + y / 31.0) + 40 * std::cos((x - 2 * y) / 57.0);
                if (((x / 97) + (y / 61) + c) % 4 == 0) v = 255 - v;
                v += noise(rng);
                pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
                    static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = channels;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);  // defaults: 4:2:0 for colour
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.next_scanline) * width * channels;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes jpeg(out, out + outSize);
    std::free(out);
    return jpeg;
}

const Bytes& Picture(int which) {
    static const Bytes pictures[] = {Encode(640, 480, false), Encode(1920, 1080, false), Encode(640, 480, true),
                                     Encode(1920, 1080, true)};
    return pictures[which];
}

constexpr int kPixels[] = {640 * 480, 1920 * 1080, 640 * 480, 1920 * 1080};

void SetCounters(benchmark::State& state, int which) {
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(kPixels[which]) * state.iterations() / 1e6,
                                                  benchmark::Counter::kIsRate);
}

void BM_Vexa(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Picture(which);
    std::vector<std::uint8_t> bitmap;
    for (auto _ : state) {
        const int result = vexa::DecodeJpegToDib(bitmap, jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
        if (result != vexa::DecodeOk) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(bitmap.data());
    }
    SetCounters(state, which);
}

void BM_Libjpeg(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Picture(which);
    Bytes pixels;
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * info.output_components;
        pixels.resize(rowBytes * info.output_height);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + rowBytes * info.output_scanline;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetCounters(state, which);
}

void BM_StbImage(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const Bytes& jpeg = Picture(which);
    for (auto _ : state) {
        int w, h, n;
        unsigned char* pixels = stbi_load_from_memory(jpeg.data(), static_cast<int>(jpeg.size()), &w, &h, &n, 0);
        if (pixels == nullptr) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    SetCounters(state, which);
}

// 0: 640x480 4:2:0, 1: 1920x1080 4:2:0, 2: 640x480 grey, 3: 1920x1080 grey.
BENCHMARK(BM_Vexa)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libjpeg)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbImage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
