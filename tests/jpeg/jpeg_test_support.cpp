#include "jpeg_test_support.h"

#include "jpeg/decode_jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>
#include <csetjmp>

namespace vexa::testing {

namespace {

const std::string& TempDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/vexa-jpeg-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr) throw std::runtime_error("mkdtemp failed");
        return std::string(made);
    }();
    return dir;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Put16(Bytes& b, int v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}

}  // namespace

Picture MakePicture(int width, int height, int channels, unsigned seed) {
    Picture p{width, height, channels, Bytes(static_cast<std::size_t>(width) * height * channels)};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                double v = 128 + 90 * std::sin((x * (c + 1) + 0.7 * y) / 9.0 + seed) +
                           30 * std::cos((y * (3 - c) - x) / 5.0);
                if (((x / 11) + (y / 7) + c) % 5 == 0) v = 255 - v / 2;  // hard edges
                v += noise(rng);
                p.Pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
                    static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
            }
    return p;
}

Bytes Cjpeg(const Picture& picture, const std::string& options) {
    static int serial = 0;
    const std::string base = TempDir() + "/p" + std::to_string(serial++);
    const std::string in = base + (picture.Channels == 1 ? ".pgm" : ".ppm");
    const std::string out = base + ".jpg";
    {
        std::ofstream f(in, std::ios::binary);
        f << (picture.Channels == 1 ? "P5\n" : "P6\n") << picture.Width << ' ' << picture.Height << "\n255\n";
        f.write(reinterpret_cast<const char*>(picture.Pixels.data()), static_cast<std::streamsize>(picture.Pixels.size()));
    }
    const std::string command = "/usr/bin/cjpeg " + options + " -outfile " + out + " " + in;
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "failed: " << command;
    Bytes jpeg = ReadAll(out);
    std::remove(in.c_str());
    std::remove(out.c_str());
    return jpeg;
}

void PatchSof1ToSof0(Bytes& jpeg) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC1) {
            jpeg[i + 1] = 0xC0;
            return;
        }
    ADD_FAILURE() << "no SOF1 marker";
}

namespace {

struct ErrorExit {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

void OnLibjpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->Jump, 1); }

}  // namespace

RefPlanes LibjpegDecode(const Bytes& jpeg, bool ycc) {
    RefPlanes out;
    jpeg_decompress_struct info{};
    ErrorExit error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = OnLibjpegError;
    if (setjmp(error.Jump)) {
        jpeg_destroy_decompress(&info);
        ADD_FAILURE() << "libjpeg refused the stream";
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_GRAYSCALE) info.out_color_space = ycc ? JCS_YCbCr : JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    jpeg_start_decompress(&info);
    out.Width = static_cast<int>(info.output_width);
    out.Height = static_cast<int>(info.output_height);
    out.Channels = info.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(out.Width) * out.Channels;
    out.Samples.resize(rowBytes * out.Height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.Samples.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

Decoded Decode(const Bytes& jpeg) {
    Decoded d;
    d.Result = DecodeJpegToDib(d.Bitmap, jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
    return d;
}

namespace {
std::int32_t Get32(const Bytes& b, int at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}
}  // namespace

int DibWidth(const Bytes& dib) { return Get32(dib, 4); }
int DibHeight(const Bytes& dib) { return Get32(dib, 8); }
int DibStrideOf(const Bytes& dib) { return (3 * DibWidth(dib) + 3) & ~3; }

const std::uint8_t* DibPixel(const Bytes& dib, int x, int y) {
    return dib.data() + 40 + static_cast<std::size_t>(DibHeight(dib) - 1 - y) * DibStrideOf(dib) + 3 * x;
}

void ConvertYcc(int y, int cb, int cr, std::uint8_t bgr[3]) {
    const auto limit = [](int t) { return static_cast<std::uint8_t>(t < 0 ? 0 : t >= 4096 ? 255 : t >> 4); };
    cb -= 128;
    cr -= 128;
    bgr[0] = limit(16 * y + 24 * cb);
    bgr[1] = limit(16 * y - 9 * cb - 12 * cr);
    bgr[2] = limit(16 * y + 20 * cr);
}

int LevelOffset(const Bytes& jpeg) {
    for (std::size_t i = 0; i + 6 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB) {
            const int pq = jpeg[i + 4] >> 4;
            const int q = pq == 0 ? jpeg[i + 5] : jpeg[i + 5] << 8 | jpeg[i + 6];
            if (q == 0) return 0;
            return static_cast<int>(std::lround(((1024 / q) * q - 1024) / 8.0));
        }
    return 0;
}

double Psnr(const Bytes& dib, const RefPlanes& ref, bool convertYcc, int levelOffset) {
    double sum = 0;
    for (int y = 0; y < ref.Height; ++y)
        for (int x = 0; x < ref.Width; ++x) {
            const std::uint8_t* s = &ref.Samples[(static_cast<std::size_t>(y) * ref.Width + x) * ref.Channels];
            std::uint8_t want[3];
            const int level = s[0] + levelOffset;
            if (ref.Channels == 1) want[0] = want[1] = want[2] = static_cast<std::uint8_t>(std::clamp(level, 0, 255));
            else if (convertYcc) ConvertYcc(level, s[1], s[2], want);
            else want[0] = s[2], want[1] = s[1], want[2] = s[0];
            const std::uint8_t* have = DibPixel(dib, x, y);
            for (int c = 0; c < 3; ++c) sum += (have[c] - want[c]) * (have[c] - want[c]);
        }
    const double mse = sum / (3.0 * ref.Width * ref.Height);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

StreamBuilder& StreamBuilder::Raw(std::initializer_list<int> bytes) {
    for (int b : bytes) data_.push_back(static_cast<std::uint8_t>(b));
    return *this;
}

StreamBuilder& StreamBuilder::Marker(int code) { return Raw({0xFF, code}); }

StreamBuilder& StreamBuilder::Segment(int code, const Bytes& body) {
    Marker(code);
    Put16(data_, static_cast<int>(body.size()) + 2);
    data_.insert(data_.end(), body.begin(), body.end());
    return *this;
}

StreamBuilder& StreamBuilder::Dqt(int table, const std::vector<int>& natural) {
    static constexpr int kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                        12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                        35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                        58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    Bytes body{static_cast<std::uint8_t>(table)};
    for (int k = 0; k < 64; ++k) body.push_back(static_cast<std::uint8_t>(natural[kZigZag[k]]));
    return Segment(0xDB, body);
}

StreamBuilder& StreamBuilder::Dht(int cls, int dest, const std::vector<std::vector<int>>& symbolsByLength) {
    Bytes body{static_cast<std::uint8_t>(cls << 4 | dest)};
    for (int length = 0; length < 16; ++length)
        body.push_back(static_cast<std::uint8_t>(length < static_cast<int>(symbolsByLength.size()) ? symbolsByLength[length].size() : 0));
    for (const auto& symbols : symbolsByLength)
        for (int s : symbols) body.push_back(static_cast<std::uint8_t>(s));
    return Segment(0xC4, body);
}

StreamBuilder& StreamBuilder::Sof0(int width, int height, const std::vector<std::array<int, 3>>& comps) {
    Bytes body{8};
    Put16(body, height);
    Put16(body, width);
    body.push_back(static_cast<std::uint8_t>(comps.size()));
    for (const auto& c : comps)
        for (int v : c) body.push_back(static_cast<std::uint8_t>(v));
    return Segment(0xC0, body);
}

StreamBuilder& StreamBuilder::Sos(const std::vector<std::array<int, 2>>& comps) {
    Bytes body{static_cast<std::uint8_t>(comps.size())};
    for (const auto& c : comps)
        for (int v : c) body.push_back(static_cast<std::uint8_t>(v));
    for (int v : {0, 63, 0}) body.push_back(static_cast<std::uint8_t>(v));
    return Segment(0xDA, body);
}

StreamBuilder& StreamBuilder::Bits(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        acc_ = acc_ << 1 | ((value >> i) & 1);
        if (++nbits_ == 8) {
            data_.push_back(static_cast<std::uint8_t>(acc_));
            if (acc_ == 0xFF) data_.push_back(0x00);
            acc_ = 0;
            nbits_ = 0;
        }
    }
    return *this;
}

StreamBuilder& StreamBuilder::Flush() {
    if (nbits_ > 0) Bits(0x7F, 8 - nbits_);
    return *this;
}

StreamBuilder GrayStream(int width, int height, const std::vector<int>& quantNatural) {
    std::vector<std::vector<int>> identity(8);
    for (int s = 0; s < 255; ++s) identity[7].push_back(s);  // a count is one byte: 255 codes at most
    StreamBuilder b;
    b.Soi().Dqt(0, quantNatural).Dht(0, 0, identity).Dht(1, 0, identity);
    b.Sof0(width, height, {{1, 0x11, 0}}).Sos({{1, 0x00}});
    return b;
}

}  // namespace vexa::testing
