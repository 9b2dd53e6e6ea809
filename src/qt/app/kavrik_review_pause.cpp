// Commands beside the described ones: the review of the last judgement (F7),
// the pause of a running challenge (P, the Pause key) and 最小化で一時停止,
// which lets minimising the frame pause it as well.
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "play/countdown.h"
#include "play/review.h"
#include "settings/display_options.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace vexa {

namespace {

// Tells game play when the frame is minimised and when it comes back; game
// play decides whether that pauses or resumes anything.
class TMinimiseWatch : public QObject {
public:
    TMinimiseWatch(QWidget* frame, std::function<void(bool)> changed)
        : QObject(frame), Frame_(frame), Changed_(std::move(changed)) {
        frame->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != Frame_ || event->type() != QEvent::WindowStateChange) return false;
        const bool was = static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMinimized);
        const bool is = Frame_->isMinimized();
        if (was != is) Changed_(is);
        return false;
    }

private:
    QWidget* Frame_;
    std::function<void(bool)> Changed_;
};

}  // namespace

void TKavrikApp::RegisterReviewAndPause() {
    TCommandTable& c = Commands_;
    c.SetHandler(CmReview, [this] { CmReviewAnswers(); });
    c.SetEnabler(
        CmReview,
        [this](TCommandState& s) {
            s.Enabled = ReviewEnabled(Game_);
            s.Checked = Game_.State.Reviewing();
        },
        true);
    c.SetHandler(CmPause, [this] { CmPauseChallenge(); });
    c.SetEnabler(
        CmPause,
        [this](TCommandState& s) {
            s.Enabled = PauseEnabled(Game_);
            s.Checked = Game_.State.Paused();
        },
        true);
    c.SetHandler(CmPauseOnMinimise, [this] { SwitchPauseOnMinimise(Game_); });
    c.SetEnabler(CmPauseOnMinimise, [this](TCommandState& s) { s.Checked = Game_.State.PauseOnMinimise; }, true);
}

void TKavrikApp::SetupReviewAndPause() {
    InstallAccelerators(Frame_, Commands_, kReviewPauseKeys);
    Game_.State.PauseOnMinimise = ReadPauseOnMinimise(SettingsPath());
    new TMinimiseWatch(Frame_, [this](bool minimised) {
        if (minimised)
            FrameMinimised(Game_);
        else
            FrameRestored(Game_);
        Commands_.Refresh();
    });
}

void TKavrikApp::CmReviewAnswers() { ToggleReview(Game_); }

void TKavrikApp::CmPauseChallenge() { TogglePause(Game_); }

}  // namespace vexa
