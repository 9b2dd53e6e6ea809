#include "photo_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

namespace vexa::bench {

namespace {

// A hash of a lattice point to 0..1.
float Lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// Smoothly interpolated value noise, 0..1.
float ValueNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Octaves of value noise, each twice the frequency and half the weight; 0..1.
float Fractal(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + 17 * i);
        total += weight;
        weight *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / total;
}

float Smoothstep(float a, float b, float v) {
    const float t = std::clamp((v - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct Rgb {
    float R, G, B;
};

Rgb Mix(Rgb a, Rgb b, float t) { return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t}; }
Rgb Scale(Rgb a, float s) { return {a.R * s, a.G * s, a.B * s}; }

struct Building {
    float Left, Right, Top;  // in picture widths / heights
    Rgb Colour;
};

struct Disc {
    float X, Y, Radius;
    Rgb Colour;
};

}  // namespace

RgbPicture PhotoPicture(int width, int height, bool detailed) {
    RgbPicture p{width, height, 3, Bytes(static_cast<std::size_t>(width) * height * 3)};
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> unit(0, 1);
    std::vector<Building> buildings;
    for (int i = 0; i < 9; ++i) {
        const float left = unit(rng) * 0.9f, w = 0.04f + unit(rng) * 0.09f;
        buildings.push_back({left, left + w, 0.18f + unit(rng) * 0.2f,
                             {90 + 120 * unit(rng), 80 + 100 * unit(rng), 70 + 90 * unit(rng)}});
    }
    std::vector<Disc> discs;
    for (int i = 0; i < 5; ++i)
        discs.push_back({unit(rng), 0.6f + 0.35f * unit(rng), 0.03f + 0.06f * unit(rng),
                         {255 * unit(rng), 255 * unit(rng), 255 * unit(rng)}});
    std::normal_distribution<float> grain(0, detailed ? 3.0f : 1.0f);
    const float aspect = static_cast<float>(width) / height;
    // Fine texture at a fixed size in pixels, as a sensor of any resolution records it.
    const float texel = detailed ? 2.5f : 14.0f;
    const int textureOctaves = detailed ? 4 : 2;
    for (int y = 0; y < height; ++y) {
        const float v = (y + 0.5f) / height;
        for (int x = 0; x < width; ++x) {
            const float u = (x + 0.5f) / width;
            const float horizon = 0.48f + 0.1f * (Fractal(u * 5, 0.5f, 4, 3) - 0.5f);
            const float texture = Fractal(x / texel, y / texel, textureOctaves, 11);
            Rgb c;
            if (v < horizon) {
                c = Mix({60, 115, 200}, {195, 215, 235}, v / horizon);
                const float cloud = Fractal(u * 6 * aspect, v * 9, 6, 5);
                c = Mix(c, {242, 242, 247}, Smoothstep(0.5f, 0.72f, cloud));
            } else {
                const float field = Fractal(u * 4 * aspect, v * 7, 4, 7);
                c = Mix({55, 105, 38}, {125, 95, 62}, Smoothstep(0.35f, 0.65f, field));
                c = Scale(c, 0.7f + 0.5f * (v - horizon) + (detailed ? 0.6f : 0.2f) * (texture - 0.5f));
            }
            for (const Building& b : buildings) {
                if (u < b.Left || u >= b.Right || v < b.Top || v >= horizon + 0.04f) continue;
                c = Scale(b.Colour, 0.75f + 0.4f * (u - b.Left) / (b.Right - b.Left));
                // Windows: a grid of dark panes, sharp on the detailed picture.
                const float wx = (u - b.Left) * width / 11.0f, wy = (v - b.Top) * height / 15.0f;
                const float fx = wx - std::floor(wx), fy = wy - std::floor(wy);
                if (detailed && fx > 0.3f && fx < 0.8f && fy > 0.25f && fy < 0.75f) c = Scale(c, 0.45f);
                if (detailed) c = Scale(c, 0.85f + 0.3f * texture);
            }
            for (const Disc& d : discs) {
                const float dx = (u - d.X) * aspect, dy = v - d.Y;
                const float r2 = (dx * dx + dy * dy) / (d.Radius * d.Radius);
                if (r2 < 1) c = Scale(d.Colour, 1.05f - 0.5f * r2 + 0.3f * dx / d.Radius);
            }
            unsigned char* out = p.Pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
            const float rgb[3] = {c.R, c.G, c.B};
            for (int i = 0; i < 3; ++i) out[i] = static_cast<unsigned char>(std::clamp(rgb[i] + grain(rng), 0.0f, 255.0f));
        }
    }
    return p;
}

RgbPicture NoisyPicture(int width, int height, int channels) {
    RgbPicture p{width, height, channels, Bytes(static_cast<std::size_t>(width) * height * channels)};
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                double v = 128 + 80 * std::sin(x / (23.0 + 7 * c) + y / 31.0) + 40 * std::cos((x - 2 * y) / 57.0);
                if (((x / 97) + (y / 61) + c) % 4 == 0) v = 255 - v;
                v += noise(rng);
                p.Pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
                    static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
    return p;
}

Bytes EncodeJpeg(const RgbPicture& picture, const EncodeOptions& options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = static_cast<JDIMENSION>(picture.Width);
    info.image_height = static_cast<JDIMENSION>(picture.Height);
    info.input_components = picture.Channels;
    info.in_color_space = picture.Channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.Quality, TRUE);
    if (options.Sampling == EncodeOptions::Gray) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    } else {
        info.comp_info[0].h_samp_factor = options.Sampling == EncodeOptions::S444 ? 1 : 2;
        info.comp_info[0].v_samp_factor = options.Sampling == EncodeOptions::S420 ? 2 : 1;
    }
    info.restart_interval = static_cast<unsigned int>(options.RestartMcus);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.Width) * picture.Channels;
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(picture.Pixels.data() + rowBytes * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes jpeg(out, out + outSize);
    std::free(out);
    return jpeg;
}

}  // namespace vexa::bench
