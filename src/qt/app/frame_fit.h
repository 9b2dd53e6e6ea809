// Fitting the frame to the picture: the frame is resized so that the picture
// view is exactly as large as the picture it shows.
#pragma once

#include "viewcore/fit_steps.h"

class QWidget;

namespace vexa {

class TBitWindow;

// Resizes `frame` so that `view` is exactly as large as its picture at its
// zoom, or its pair of pictures (at most
// two resizes, learning the frame's extra size in `extras` on the way, which
// the caller keeps for the life of the program). Does nothing when the view
// already matches or the frame is minimised, maximised or full screen.
void FitToPicture(QWidget* frame, const TBitWindow& view, TFitExtras& extras);

}  // namespace vexa
