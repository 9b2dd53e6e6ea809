// What game play asks of the window around it. The application object
// implements this over its frame, status bar and picture view; tests drive
// the play logic with a fake. Every call happens on the user-interface thread.
//
// Texts are UTF-8. Message boxes are modal, owned by the frame and captioned
// "間違いを探せ！"; they return once the user has answered.
#pragma once

#include "play/judgement.h"
#include "play/view_mode.h"
#include "puzzle/puzzle_data.h"

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
    // The message field where hints go: the text stays until a hint replaces it.
    virtual void SetMessageField(const std::string& text) = 0;

    // --- Picture view --------------------------------------------------------
    // Shows `mode` (not None). False when it cannot: the view has reported
    // why in its own message box and shows nothing (CurrentMode None). The
    // puzzle record is game play's to empty (ShowMode), never the view's.
    virtual bool SwitchMode(ViewMode mode) = 0;
    // The view's current mode; None = nothing shown.
    virtual ViewMode CurrentMode() const = 0;
    // Shows the markers in play (the first DiffCount) only in the photo mode
    // and, when gathering, moves all ten to the top-left corner of the view.
    virtual void ShowMarkers(bool gather) = 0;
    // The centre of marker `index` (0..9) in picture coordinates: the point
    // that is judged.
    virtual TPoint MarkerCentre(int index) const = 0;
    // Shows the review of `judged` over the result screen: the photo with the
    // difference rectangles outlined as found or missed and the markers in
    // play at their judged points, not movable. CurrentMode stays the result;
    // the next SwitchMode ends the review. False when the photo cannot be
    // shown: as for SwitchMode, the view has said why and shows nothing.
    virtual bool ShowReview(const TJudgement& judged) = 0;
    // Hides (true) or shows again (false) the pictures and markers of a
    // paused challenge; the view says how to resume.
    virtual void ShowPaused(bool paused) = 0;
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
