// Small pictures and puzzles for the view tests, made in memory.
#pragma once

#include "framework/message_box.h"
#include "picture_builders.h"
#include "puzzle/puzzle_data.h"

#include <QImage>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace vexa::test {

inline void Put32(Block& b, std::size_t at, std::uint32_t v) { PutLe(b, at, v, 4); }

// A bare 40-byte header followed by a colour table.
inline Block DibHeader(std::int32_t width, std::int32_t height, std::uint16_t bits,
                       std::uint32_t clrUsed = 0, const std::vector<QRgb>& table = {}) {
    return DibHeader(DibShape{width, height, bits, 0, clrUsed}, table);
}

// A 24-bit DIB of `rows` (top row first), stored bottom-up, or top-down with
// a negative height.
inline Block Dib24(const std::vector<std::vector<QRgb>>& rows, bool topDown = false) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows[0].size()) : 0;
    return Dib24(w, h, [&](int x, int y) { return rows[y][x]; }, topDown);
}

// A w x h 24-bit DIB whose pixel (x, y) is `colour(x, y)`.
template <class F>
Block Dib24Of(int w, int h, F colour) {
    return Dib24(w, h, [&](int x, int y) { return static_cast<std::uint32_t>(colour(x, y)); });
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
