// Two commands beside the described ones: the review of the last judgement
// (F7) and the pause of a running challenge (P, the Pause key, or minimising
// the frame).
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "play/countdown.h"
#include "play/review.h"

#include <QEvent>

namespace vexa {

namespace {

// Pauses the challenge when the frame is minimised; a restored frame stays
// paused until the user resumes.
class TMinimiseWatch : public QObject {
public:
    TMinimiseWatch(QWidget* frame, std::function<void()> minimised)
        : QObject(frame), Frame_(frame), Minimised_(std::move(minimised)) {
        frame->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == Frame_ && event->type() == QEvent::WindowStateChange && Frame_->isMinimized())
            Minimised_();
        return false;
    }

private:
    QWidget* Frame_;
    std::function<void()> Minimised_;
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
}

void TKavrikApp::SetupReviewAndPause() {
    InstallAccelerators(Frame_, Commands_, kReviewPauseKeys);
    new TMinimiseWatch(Frame_, [this] {
        PauseChallenge(Game_);
        Commands_.Refresh();
    });
}

void TKavrikApp::CmReviewAnswers() { ToggleReview(Game_); }

void TKavrikApp::CmPauseChallenge() { TogglePause(Game_); }

}  // namespace vexa
