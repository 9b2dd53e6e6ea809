// The answer markers as game play keeps them: where each of the ten lies in
// picture coordinates, how many take part, which one the mouse holds and
// which one the keyboard has selected. Window-free; the view draws them from
// a copy and hands the pointer and keys back.
#pragma once

#include "puzzle/puzzle_data.h"

#include <array>

namespace vexa {

// Where the view stands: its scroll position (the picture point at the client
// area's top-left corner) and the size of the picture it shows.
struct TViewPlace {
    TPoint Scroll;
    int PictureWidth = 0;
    int PictureHeight = 0;
};

struct TMarkerBoard {
    // Top-left corner of each marker's 21 x 21 square, in picture coordinates.
    std::array<TPoint, kMaxDiffs> Corners{};
    // The inner frame sits one pixel in after a drop or a key move; gathering
    // puts it at the corner itself.
    std::array<bool, kMaxDiffs> InnerInset{};
    // Drawing order, bottom to top: a marker that moves comes to the top.
    std::array<int, kMaxDiffs> Stacking{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    int InPlay = 0;     // markers 0..InPlay-1 take part: one per difference
    int Lifted = -1;    // picked up by the mouse and hidden until dropped
    int Selected = -1;  // selected with Tab for the arrow keys
};

// A key of keyboard play, as the view reads it.
struct TMarkerKey {
    enum TKind { Next, Previous, Move, EndSelection } Kind = Next;
    int Dx = 0, Dy = 0;  // for Move
};
// Every marker to the view's top-left corner (the scroll position), inner
// frames not inset, marker 9 on top; ends the keyboard selection.
void GatherMarkers(TMarkerBoard& board, TPoint scroll);

// Picks up the first marker in play whose square holds the pointer at
// `client` (left and top edges inside, right and bottom outside) and ends the
// keyboard selection. Returns its index, -1 when none is there; a marker
// still held from a press whose release never came is let go first.
int LiftMarker(TMarkerBoard& board, TPoint client, TPoint scroll);

// Drops the held marker centred on the pointer at `client`: the centre is
// kept within 0..PictureWidth and 0..PictureHeight of the client area,
// whatever the scroll position, and the scroll is added afterwards.
void DropMarker(TMarkerBoard& board, TPoint client, const TViewPlace& place);

// Lets the held marker go where it was (a drag cut short).
inline void LetGoMarker(TMarkerBoard& board) { board.Lifted = -1; }

// Tab (forwards) or Shift+Tab: the next or previous marker in play, wrapping
// around; false when none is in play.
bool SelectNextMarker(TMarkerBoard& board, bool backwards);

// Moves the selected marker by (dx, dy) pixels, landing as a drop at its
// moved centre would; false when none is selected.
bool MoveSelectedMarker(TMarkerBoard& board, int dx, int dy, const TViewPlace& place);

// The point judged for marker i: its centre in picture coordinates.
TPoint JudgedPoint(const TMarkerBoard& board, int i);

}  // namespace vexa
