// The outline of a conspicuous marker: a band two pixels wide along the
// edges of its square, in short black and white pieces, so that part of it
// always stands out whether the picture beneath is dark or light.
#pragma once

namespace vexa {

inline constexpr int kOutlineBand = 2;     // pixels, from the square's edge inwards
inline constexpr int kOutlineSegment = 3;  // pixels of one colour along an edge

enum class TOutlineShade { None, Black, White };

// The shade of pixel (x, y) of a side x side square: None inside the band
// and outside the square. Along the top and bottom the pieces follow x,
// along the sides y; both corners of every edge are black (for an odd number
// of pieces, as the 21-pixel marker has).
TOutlineShade ConspicuousOutlineAt(int x, int y, int side);

}  // namespace vexa
