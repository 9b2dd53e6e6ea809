// Window-free rules of playing with the keyboard: which marker Tab selects
// and where an arrow key moves it.
#pragma once

#include "puzzle/puzzle_data.h"

namespace vexa {

// An arrow key moves the selected marker by this many pixels, with Shift by
// the larger step.
inline constexpr int kMarkerKeyStep = 1;
inline constexpr int kMarkerKeyBigStep = 10;

// The marker that Tab (forwards) or Shift+Tab (backwards) selects after
// `current` among the first `count` markers, wrapping around. With nothing
// selected (-1, or an index no longer in play) Tab starts at marker 0 and
// Shift+Tab at the last one. -1 when no marker is in play.
int NextMarkerSelection(int current, int count, bool backwards);

// The top-left corner of a marker at `corner` after moving it by (dx, dy):
// it lands as if dropped with the mouse at its moved centre, so its centre
// stays within 0..pictureWidth and 0..pictureHeight of the client area.
TPoint MoveMarkerByKey(TPoint corner, int dx, int dy, int pictureWidth, int pictureHeight);

}  // namespace vexa
