// ヒント: the command and its key, and the fast timer that moves the hint's
// frame on while it shows. Game play decides when a hint is offered, which
// difference it marks and what it costs; this only asks it.
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "play/hint.h"

#include <QElapsedTimer>

#include <memory>

namespace vexa {

namespace {
// About 25 steps a second: smooth enough for a frame closing in.
constexpr int kHintTickMs = 40;
}  // namespace

void TKavrikApp::RegisterHints() {
    Commands_.SetHandler(CmHint, [this] { CmGiveHint(); });
    Commands_.SetEnabler(CmHint, [this](TCommandState& s) { s.Enabled = HintOffered(Game_); });
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    MilliClock = [steady] { return steady->elapsed(); };
    HintTimer_.setInterval(kHintTickMs);
    HintTimer_.setTimerType(Qt::PreciseTimer);
    connect(&HintTimer_, &QTimer::timeout, this, &TKavrikApp::EvHintTimer);
}

void TKavrikApp::SetupHints() { InstallAccelerators(Frame_, Commands_, kHintKeys); }

void TKavrikApp::CmGiveHint() {
    if (!UseHint(Game_, MilliClock())) return;
    HintTimer_.start();
    Commands_.Refresh();  // no second hint while the frame shows
}

void TKavrikApp::EvHintTimer() {
    if (HintTick(Game_, MilliClock())) return;
    HintTimer_.stop();
    Commands_.Refresh();
}

}  // namespace vexa
