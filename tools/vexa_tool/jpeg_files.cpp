#include "jpeg_files.h"

namespace vexatool {

bool IsPlayableBaselineJpeg(const QByteArray& file, int& width, int& height) {
    const auto* p = reinterpret_cast<const unsigned char*>(file.constData());
    const qsizetype n = file.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8) return false;
    qsizetype pos = 2;
    while (pos + 4 <= n) {
        if (p[pos] != 0xFF) return false;
        const unsigned char code = p[pos + 1];
        if (code == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            pos += 2;
            continue;
        }
        const int length = (p[pos + 2] << 8) | p[pos + 3];
        if (length < 2 || pos + 2 + length > n) return false;
        const unsigned char* seg = p + pos + 4;
        if (code == 0xC0) {
            if (length < 8) return false;
            height = (seg[1] << 8) | seg[2];
            width = (seg[3] << 8) | seg[4];
            if (width == 0 || height == 0) return false;
            const int components = seg[5];
            if (length < 8 + 3 * components) return false;
            if (components == 1) return true;
            if (components != 3) return false;
            const int y = seg[6 + 1], cb = seg[9 + 1], cr = seg[12 + 1];
            return (y == 0x11 || y == 0x21 || y == 0x12 || y == 0x22) && cb == 0x11 && cr == 0x11;
        }
        if ((code >= 0xC1 && code <= 0xCF && code != 0xC4 && code != 0xC8) || code == 0xDA || code == 0xD9)
            return false;  // another process, or a scan before any frame
        pos += 2 + length;
    }
    return false;
}

}  // namespace vexatool
