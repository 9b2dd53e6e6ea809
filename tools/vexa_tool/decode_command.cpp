// vexa-tool decode IN.jpg OUT.png: runs the player's own JPEG decoder on a
// whole file and writes the bitmap it produced.
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "usage.h"

#include "jpeg/decode_jpeg.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vexatool {

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The decoder's 24-bit bottom-up bitmap as top-down 0xFFRRGGBB pixels.
bool BitmapToArgb(const std::vector<std::uint8_t>& dib, int& width, int& height, std::vector<std::uint32_t>& argb) {
    if (dib.size() < 40) return false;
    width = static_cast<int>(Le32(dib, 4));
    height = static_cast<int>(Le32(dib, 8));
    if (width <= 0 || height <= 0) return false;
    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    if (dib.size() < 40 + stride * height) return false;
    argb.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = dib.data() + 40 + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + 3 * x;
            argb[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
        }
    }
    return true;
}

}  // namespace

int RunDecode(int argc, char** argv) {
    if (argc != 3) return BadUsage("decode", "give a JPEG file and an output file");
    QByteArray stream;
    std::string error;
    if (!ReadInputFile(argv[1], stream, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::vector<std::uint8_t> bitmap;
    const int result = vexa::DecodeJpegToDib(bitmap, reinterpret_cast<const std::uint8_t*>(stream.constData()),
                                             static_cast<std::int32_t>(stream.size()));
    std::printf("result %d\n", result);
    std::fflush(stdout);
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    if (!bitmap.empty()) {
        if (BitmapToArgb(bitmap, width, height, argb)) {
            if (!SaveArgbImage(argv[2], width, height, argb)) return 1;
        } else {
            std::fprintf(stderr, "%s: the picture is empty; nothing written\n", argv[1]);
        }
    }
    return result == vexa::DecodeOk ? 0 : 1;
}

}  // namespace vexatool
