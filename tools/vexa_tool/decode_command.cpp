// vexa-tool decode IN.jpg OUT.png: runs the player's own JPEG decoder on a
// whole file and writes the bitmap it produced.
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "usage.h"

#include "jpeg/decode_jpeg.h"
#include "picture/dib_pixels.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vexatool {

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
    if (!bitmap.empty()) {
        vexa::DibPixels pixels;
        if (vexa::DecodeDibPixels(bitmap.data(), bitmap.size(), pixels)) {
            if (!SaveArgbImage(argv[2], pixels.Width, pixels.Height, pixels.Argb)) return 1;
        } else {
            std::fprintf(stderr, "%s: the picture is empty; nothing written\n", argv[1]);
        }
    }
    return result == vexa::DecodeOk ? 0 : 1;
}

}  // namespace vexatool
