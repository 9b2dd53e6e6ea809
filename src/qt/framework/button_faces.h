// Faces of the control-bar buttons and the program icon, drawn in code so
// they stay crisp at every device pixel ratio.
#pragma once

#include <QIcon>

class QPainter;

namespace vexa {

constexpr int kFaceSize = 20;  // logical pixels of a button face

// Paints the face of command `id` into a kFaceSize x kFaceSize logical square.
// Unknown ids paint nothing.
void PaintButtonFace(QPainter& painter, int id);

// The face of `id` as an icon with 1x and 2x pixmaps.
QIcon ButtonFace(int id);

// The program icon (two pictures side by side and a marker), 16 to 256 pixels.
QIcon ProgramIcon();

}  // namespace vexa
