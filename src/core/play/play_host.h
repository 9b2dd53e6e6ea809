// What game play asks of the window around it. The application object
// implements this over its frame, status bar and picture view; tests drive
// the play logic with a fake. Every call happens on the user-interface thread.
//
// Texts are UTF-8. Message boxes are modal, owned by the frame and captioned
// "間違いを探せ！"; they return once the user has answered.
#pragma once

#include "play/marker_board.h"
#include "play/play_overlay.h"
#include "puzzle/puzzle_data.h"
#include "puzzle/view_mode.h"

#include <cstdint>
#include <string>

namespace vexa {

enum class TAnswer { Yes, No, Cancel };

class IPlayHost {
public:
    virtual ~IPlayHost() = default;

    // --- Message boxes -------------------------------------------------------
    // A notice with an OK button only.
    virtual void ShowMessage(const std::string& text) = 0;
    // A question with Yes, No and Cancel buttons.
    virtual TAnswer AskYesNoCancel(const std::string& text) = 0;

    // --- Status bar ----------------------------------------------------------
    virtual void SetCountField(const std::string& text) = 0;  // the 16-character field
    virtual void SetTimeField(const std::string& text) = 0;   // the 10-character field
    // Shows the time field's text in red (the last seconds of the clock) or
    // in the bar's own colour; the text stays as it is.
    virtual void SetTimeFieldWarning(bool on) = 0;
    // The message field where hints go: the text stays until a hint replaces it.
    virtual void SetMessageField(const std::string& text) = 0;

    // --- Picture view --------------------------------------------------------
    // Shows `mode` (not None); with `pair` (the scene or the photo only) the
    // scene and the photo together, the markers on the photo. False when it
    // cannot: the view has reported why in its own message box and shows
    // nothing (CurrentMode None). The puzzle record is game play's to empty
    // (ShowMode), never the view's.
    virtual bool SwitchMode(ViewMode mode, bool pair) = 0;
    // The view's current mode; None = nothing shown.
    virtual ViewMode CurrentMode() const = 0;
    // Shows the photo (pair 4) under the current mode, for the review of a
    // result screen: CurrentMode stays the result and nothing animates; the
    // next SwitchMode ends it. False when the photo cannot be shown: as for
    // SwitchMode, the view has said why and shows nothing.
    virtual bool ShowReviewPicture() = 0;
    // Hands the view what to draw over its mode: markers, review outlines,
    // or the pause screen. Game play calls it after every change of them.
    virtual void ShowOverlay(const TPlayOverlay& overlay) = 0;
    // Scrolls the view as little as it takes to show the area of `width` x
    // `height` pixels at `corner` (picture coordinates), as far as the
    // picture reaches.
    virtual void ScrollToShow(TPoint corner, int width, int height) = 0;
    // The view's scroll position and the size of the picture the markers lie
    // on, in that picture's pixels (the view turns its zoom and the pair into them).
    virtual TViewPlace ViewPlace() const = 0;
    // Advances the scene animation by one tick (TSceneTracks::Step plus drawing).
    virtual void AnimateStep() = 0;
    // The text the view paints while no puzzle is loaded.
    virtual std::string WelcomeText() const = 0;

    // --- Application ---------------------------------------------------------
    // Resizes the frame so that the view is as large as the picture.
    virtual void FitToPicture() = 0;
    // Whether the main frame is the active window.
    virtual bool IsFrameActive() const = 0;
    // Key and button state at the moment of the call.
    virtual bool IsShiftHeld() const = 0;
    virtual bool IsRightButtonHeld() const = 0;
    // Calendar time in whole seconds.
    virtual std::int64_t Now() const = 0;
};

}  // namespace vexa
