#include "jpeg_files.h"

#include <cstdio>  // jpeglib.h needs FILE
#include <csetjmp>
#include <cstdlib>
#include <jpeglib.h>

#include <vector>

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

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* e = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, e->message);
    std::longjmp(e->jump, 1);
}

}  // namespace

bool EncodeBaselineJpeg(const QImage& source, const EncodeSettings& settings, QByteArray& out, std::string& error) {
    const QImage image = source.convertToFormat(settings.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) rows[y] = const_cast<JSAMPROW>(image.constScanLine(y));

    jpeg_compress_struct info{};
    ErrorManager err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    if (setjmp(err.jump)) {
        // `buffer` may be stale here after the jump; a failed encode ends the tool anyway.
        jpeg_destroy_compress(&info);
        error = err.message;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = settings.grey ? 1 : 3;
    info.in_color_space = settings.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, settings.quality, TRUE);
    info.comp_info[0].h_samp_factor = settings.hFactor;
    info.comp_info[0].v_samp_factor = settings.vFactor;
    for (int c = 1; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.restart_interval = static_cast<unsigned int>(settings.restart);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, &rows[info.next_scanline], info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return true;
}

}  // namespace vexatool
