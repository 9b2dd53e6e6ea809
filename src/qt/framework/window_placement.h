// Where windows go on the screen: boxes and the help window centred on the
// frame, the frame kept within the screen's available area.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace vexa {

// Moves top-level `window` so that it is centred on `owner`'s window, kept
// inside the available area of the owner's screen.
void CentreOn(QWidget* window, const QWidget* owner);

// Returns once `window` is shown on the screen with its place and size (or
// after `timeoutMs`), so that what is centred on it next lands right.
void WaitUntilPlaced(QWidget* window, int timeoutMs = 2000);

// The largest size `window` may take (without its window-manager frame) while
// its frame stays inside the available area of its screen; an invalid size
// when the screen is not known.
QSize LargestSizeOnScreen(const QWidget* window);

}  // namespace vexa
