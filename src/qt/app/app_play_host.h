// The window around game play: message boxes on the frame, the two status
// fields, the picture view, key state and the clock, as the application
// object's widgets provide them.
#pragma once

#include "play/play_host.h"

#include <cstdint>
#include <string>

namespace vexa {

class TKavrikApp;

class TAppPlayHost : public IPlayHost {
public:
    explicit TAppPlayHost(TKavrikApp& app) : App_(app) {}

    TAppPlayHost(const TAppPlayHost&) = delete;
    TAppPlayHost& operator=(const TAppPlayHost&) = delete;

    void ShowMessage(const std::string& text) override;
    TAnswer AskYesNoCancel(const std::string& text) override;
    void SetCountField(const std::string& text) override;
    void SetTimeField(const std::string& text) override;
    void SetMessageField(const std::string& text) override;
    void SetTimeFieldWarning(bool on) override;
    void ScrollToShow(TPoint corner, int width, int height) override;
    bool SwitchMode(ViewMode mode, bool pair) override;
    ViewMode CurrentMode() const override;
    bool ShowReviewPicture() override;
    void ShowOverlay(const TPlayOverlay& overlay) override;
    TViewPlace ViewPlace() const override;
    void AnimateStep() override;
    std::string WelcomeText() const override;
    void FitToPicture() override;
    bool IsFrameActive() const override;
    bool IsShiftHeld() const override;
    bool IsRightButtonHeld() const override;
    std::int64_t Now() const override;

private:
    TKavrikApp& App_;  // the widgets exist only once the frame is built
};

}  // namespace vexa
