// Fixtures for the decoder tests: pictures made here, encoded by cjpeg,
// decoded for reference by libjpeg, and hand-built streams.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vexa::testing {

using Bytes = std::vector<std::uint8_t>;

// A plain picture, top row first, 1 (grey) or 3 (RGB) bytes a pixel.
struct Picture {
    int Width = 0, Height = 0, Channels = 3;
    Bytes Pixels;
};

// A picture with smooth gradients, edges and some noise, so that every
// coefficient position gets used. The same seed gives the same picture.
Picture MakePicture(int width, int height, int channels, unsigned seed);

// Encodes `picture` with /usr/bin/cjpeg and the given options.
Bytes Cjpeg(const Picture& picture, const std::string& options);

// Replaces the SOF1 marker of a stream by SOF0.
void PatchSof1ToSof0(Bytes& jpeg);

// Planes decoded by libjpeg: grey, or Y, Cb, Cr without fancy upsampling.
struct RefPlanes {
    int Width = 0, Height = 0, Channels = 0;
    Bytes Samples;  // interleaved
};
RefPlanes LibjpegDecode(const Bytes& jpeg, bool ycc);

// The decoder's result and bitmap for a stream.
struct Decoded {
    int Result = -1;
    Bytes Bitmap;
};
Decoded Decode(const Bytes& jpeg);

// Reading a decoded bitmap.
int DibWidth(const Bytes& dib);
int DibHeight(const Bytes& dib);
int DibStrideOf(const Bytes& dib);
// Blue, green, red of the pixel at column x, row y (0 = top).
const std::uint8_t* DibPixel(const Bytes& dib, int x, int y);

// Our colour conversion applied to Y, Cb, Cr bytes (chroma centred on 128).
void ConvertYcc(int y, int cb, int cr, std::uint8_t bgr[3]);

// Peak signal-to-noise ratio of a bitmap against reference pixels (B, G, R
// compared with the reference's R, G, B, or grey against all three).
// `levelOffset` is added to grey or Y samples first.
double Psnr(const Bytes& dib, const RefPlanes& ref, bool convertYcc, int levelOffset = 0);

// Our decoder starts the luma DC predictor at 1024 / q (q: DC entry of
// table 0), so its level shift is (1024 / q) * q / 8 rather than 128 when q
// does not divide 1024. The difference in sample levels, rounded.
int LevelOffset(const Bytes& jpeg);

// Builds streams byte by byte, with a bit writer for scan data that stuffs
// a zero after every 0xFF.
class StreamBuilder {
public:
    StreamBuilder& Raw(std::initializer_list<int> bytes);
    StreamBuilder& Marker(int code);  // 0xFF, code
    StreamBuilder& Segment(int code, const Bytes& body);  // marker, length, body
    StreamBuilder& Soi() { return Marker(0xD8); }
    StreamBuilder& Eoi() { return Marker(0xD9); }
    // An 8-bit quantisation table, given in natural order.
    StreamBuilder& Dqt(int table, const std::vector<int>& natural);
    // A one-table DHT: class 0 (DC) or 1 (AC), destination, codes by length.
    StreamBuilder& Dht(int cls, int dest, const std::vector<std::vector<int>>& symbolsByLength);
    // SOF0 with components given as (id, factors, Tq).
    StreamBuilder& Sof0(int width, int height, const std::vector<std::array<int, 3>>& comps);
    // SOS with components given as (id, selectors).
    StreamBuilder& Sos(const std::vector<std::array<int, 2>>& comps);
    StreamBuilder& Bits(std::uint32_t value, int count);
    // Pads the scan data to a byte with 1 bits.
    StreamBuilder& Flush();
    const Bytes& Data() const { return data_; }

private:
    Bytes data_;
    std::uint32_t acc_ = 0;
    int nbits_ = 0;
};

// The minimal grey picture the hand-built tests share: an 8-bit table, a DC
// table and an AC table in which every symbol up to 0xFE is its own 8-bit code (slots 0
// and 4), a one-component SOF0 (factors 1x1, table 0) of the given
// size, and the SOS; the caller appends scan bits.
StreamBuilder GrayStream(int width, int height, const std::vector<int>& quantNatural);

}  // namespace vexa::testing
