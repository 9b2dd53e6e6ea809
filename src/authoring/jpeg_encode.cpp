#include "jpeg_encode.h"

#include <cstdio>  // jpeglib.h needs FILE
#include <csetjmp>
#include <cstdlib>
#include <jpeglib.h>

#include <vector>

namespace vexa::authoring {

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

}  // namespace vexa::authoring
