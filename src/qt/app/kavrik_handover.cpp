// A puzzle file handed over by a second copy of the player.
#include "app/kavrik_app.h"

#include "framework/decorated_frame.h"

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
    // The command line's way: the name's length, the ready question, the load.
    LoadNamedFile(std::exchange(HandedFile_, {}), true);
}

}  // namespace vexa
