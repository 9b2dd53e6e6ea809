// The view wired to game play as the player wires it, for view tests that
// drive the markers: a host that gives game play the view's modes, overlays
// and place (and answers the rest with nothing), and the view's pointer and
// keys going to game play. The challenge runs from the start.
#pragma once

#include "play/marker_play.h"
#include "play/show_mode.h"
#include "view/bit_window.h"

#include <cstdint>
#include <string>

namespace vexa::test {

class ViewOnlyHost : public IPlayHost {
public:
    explicit ViewOnlyHost(TBitWindow& view) : View_(view) {}

    void ShowMessage(const std::string&) override {}
    TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::No; }
    void SetCountField(const std::string&) override {}
    void SetTimeField(const std::string&) override {}
    void SetMessageField(const std::string&) override {}
    void SetTimeFieldWarning(bool) override {}
    void ScrollToShow(TPoint corner, int width, int height) override {
        View_.ScrollToShow(QRect(corner.X, corner.Y, width, height));
    }
    bool SwitchMode(ViewMode mode, bool pair) override { return View_.SwitchMode(mode, pair); }
    ViewMode CurrentMode() const override { return View_.CurrentMode(); }
    bool ShowReviewPicture() override { return View_.ShowReviewPicture(); }
    void ShowOverlay(const TPlayOverlay& overlay) override { View_.ShowOverlay(overlay); }
    TViewPlace ViewPlace() const override { return View_.Place(); }
    void AnimateStep() override { View_.AnimateStep(); }
    std::string WelcomeText() const override { return {}; }
    void FitToPicture() override {}
    bool IsFrameActive() const override { return true; }
    bool IsShiftHeld() const override { return false; }
    bool IsRightButtonHeld() const override { return false; }
    std::int64_t Now() const override { return 0; }

private:
    TBitWindow& View_;
};

// A running challenge over `puzzle` (filled and loaded) in `view`, with the
// puzzle's differences as the markers in play.
struct ViewPlay {
    ViewPlay(TPuzzleData& puzzle, TBitWindow& view) : Host(view), Game{puzzle, Side, Host, {}, {}} {
        view.Input.Press = [this](TPoint client) { PressMarker(Game, client); };
        view.Input.Release = [this](TPoint client) { ReleaseMarker(Game, client); };
        view.Input.Key = [this](const TMarkerKey& key) { return MarkerKey(Game, key); };
        Game.State.Running = true;
        Game.State.Markers.InPlay = puzzle.DiffsInPlay();
    }
    ViewPlay(const ViewPlay&) = delete;
    ViewPlay& operator=(const ViewPlay&) = delete;

    TPuzzleSideValues Side;
    ViewOnlyHost Host;
    TGamePlay Game;
};

}  // namespace vexa::test
