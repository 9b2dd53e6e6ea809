// A puzzle file handed over by a second copy of the player.
#include "app/kavrik_app.h"

#include "framework/decorated_frame.h"
#include "framework/window_placement.h"

#include <QApplication>
#include <QTimer>

#include <utility>

namespace vexa {

void TKavrikApp::OpenHandedFile(const QByteArray& file) {
    if (file.isEmpty()) return;
    // Only the latest of several names that arrive while a box is open counts.
    const bool waiting = !HandedFile_.isEmpty();
    HandedFile_ = file;
    if (!waiting) TakeHandedFile();
}

void TKavrikApp::TakeHandedFile() {
    if (HandedFile_.isEmpty() || QuitRequested_) return;
    // A request may arrive during a modal box (the ready question, a result
    // screen's question) or before the frame exists; it waits for the end.
    if (!Frame_ || InTick_ || QApplication::activeModalWidget()) {
        QTimer::singleShot(100, this, &TKavrikApp::TakeHandedFile);
        return;
    }
    // The user handed a file over to play it now: a minimised frame comes
    // back, and all of it comes up front, before the ready question, so that
    // the question is seen and the new challenge is fitted and timed on the
    // screen (a second copy without a file leaves the frame as it is).
    if (Frame_->isMinimized()) Frame_->setWindowState(Frame_->windowState() & ~Qt::WindowMinimized);
    ShowFrame();
    WaitUntilPlaced(Frame_);
    // The command line's way: the name's length, the ready question, the load.
    LoadNamedFile(std::exchange(HandedFile_, {}), true);
}

}  // namespace vexa
