// Small pictures and puzzles for the view tests, made in memory.
#pragma once

#include "framework/message_box.h"
#include "puzzle/puzzle_data.h"

#include <QImage>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace vexa::test {

inline void Put32(Block& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bare 40-byte header followed by a colour table (0xRRGGBB entries).
inline Block DibHeader(std::int32_t width, std::int32_t height, std::uint16_t bits,
                       std::uint32_t clrUsed = 0, const std::vector<QRgb>& table = {}) {
    Block b(40, 0);
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<std::uint32_t>(width));
    Put32(b, 8, static_cast<std::uint32_t>(height));
    b[12] = 1;
    b[14] = static_cast<std::uint8_t>(bits);
    Put32(b, 32, clrUsed);
    for (QRgb c : table) {
        b.push_back(static_cast<std::uint8_t>(qBlue(c)));
        b.push_back(static_cast<std::uint8_t>(qGreen(c)));
        b.push_back(static_cast<std::uint8_t>(qRed(c)));
        b.push_back(0);
    }
    return b;
}

// A 24-bit DIB of `rows` (top row first), stored bottom-up, or top-down with
// a negative height.
inline Block Dib24(const std::vector<std::vector<QRgb>>& rows, bool topDown = false) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows[0].size()) : 0;
    Block b = DibHeader(w, topDown ? -h : h, 24);
    const int stride = (w * 3 + 3) & ~3;
    for (int k = 0; k < h; ++k) {
        const auto& row = rows[topDown ? k : h - 1 - k];
        Block line(stride, 0);
        for (int x = 0; x < w; ++x) {
            line[3 * x] = static_cast<std::uint8_t>(qBlue(row[x]));
            line[3 * x + 1] = static_cast<std::uint8_t>(qGreen(row[x]));
            line[3 * x + 2] = static_cast<std::uint8_t>(qRed(row[x]));
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

// A w x h 24-bit DIB whose pixel (x, y) is `colour(x, y)`.
template <class F>
Block Dib24Of(int w, int h, F colour) {
    std::vector<std::vector<QRgb>> rows(h, std::vector<QRgb>(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rows[y][x] = colour(x, y);
    return Dib24(rows);
}

// A colour that differs at every pixel of a small picture.
inline QRgb Pattern(int x, int y) {
    return qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF);
}

// Puts `base` (and `spare`) as pair `pair`, with the given display size, and
// marks the puzzle loaded.
inline void SetPair(TPuzzleData& puzzle, int pair, Block base, int width, int height,
                    Block spare = {}) {
    puzzle.BasePictures[pair] = std::move(base);
    puzzle.SparePictures[pair] = std::move(spare);
    puzzle.PairSizes[pair] = TPairSize{static_cast<std::int16_t>(width), static_cast<std::int16_t>(height)};
    puzzle.Loaded = 1;
}

// A loaded puzzle whose five pairs show `Pattern` at `width` x `height`.
inline void FillPuzzle(TPuzzleData& puzzle, int width, int height, int diffCount) {
    for (int pair = 0; pair < kPairCount; ++pair)
        SetPair(puzzle, pair, Dib24Of(width, height, Pattern), width, height);
    puzzle.DiffCount = static_cast<std::int16_t>(diffCount);
}

// Records the message boxes shown while it lives and answers them with OK.
struct MessageBoxRecorder {
    struct Shown {
        QWidget* Owner;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };
    std::vector<Shown> Boxes;
    MessageBoxRecorder() {
        SetMessageBoxHook([this](QWidget* owner, const QString& text, QMessageBox::StandardButtons b) {
            Boxes.push_back({owner, text, b});
            return QMessageBox::Ok;
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxHook({}); }
};

}  // namespace vexa::test
