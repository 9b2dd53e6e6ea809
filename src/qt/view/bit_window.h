// The picture view: the frame's client window. It shows the picture of the
// current mode, scrolls when it is smaller than the picture, shows the welcome
// text while no puzzle is loaded, and hosts the ten answer markers.
//
// What it shows is a ViewMode (play/view_mode.h): a picture pair, animated
// for the scene modes, with the markers in the photo mode and the differences
// outlined in the two outline modes.
//
// Coordinates: "client" coordinates are those of the viewport (the area inside
// the scroll bars); picture coordinates = client + ScrollPosition().
#pragma once

#include "play/judgement.h"
#include "play/view_mode.h"
#include "puzzle/puzzle_data.h"
#include "viewcore/fit_steps.h"
#include "viewcore/scene_tracks.h"
#include "view/offscreen_picture.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QTimer>

#include <array>
#include <functional>

namespace vexa {

class TMarkerFrame;
class TMarkerFocusFrame;

class TBitWindow : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kMarkerCount = 10;
    static constexpr int kMarkerSize = 21;  // outer frame; the inner one is 19

    // The view draws from `puzzle`, which must outlive it. Ten hidden markers
    // are created at (0, 0) as children of the viewport.
    explicit TBitWindow(TPuzzleData& puzzle, QWidget* parent = nullptr);
    ~TBitWindow() override;

    // Shows `mode` (not None). Builds the offscreen pictures of the mode's
    // pair, wipes what the screen shows off with a stripe (only when a mode
    // was shown before and the view is visible; the wipe runs on a timer for a
    // fraction of a second and does not block input), shows or hides the
    // markers for the mode (shown markers come up when the wipe ends) and
    // repaints. Callers skip a switch to the mode that
    // is already current.
    // Returns false on failure: the message is shown in a box owned by the view
    // and CurrentMode() becomes None. The puzzle record is left as it is: the
    // caller empties it (ShowMode in game play), and the welcome text shows.
    // Marker visibility is left as it was. The scroll ranges are not
    // recomputed here; they follow the picture at the next resize (FitToPicture).
    bool SwitchMode(ViewMode mode);

    ViewMode CurrentMode() const { return CurrentMode_; }
    // Size of the current picture (from the pair's PairSizes); 500 x 350, the
    // welcome page, until the first successful build.
    int PictureWidth() const { return PictureWidth_; }
    int PictureHeight() const { return PictureHeight_; }

    // The view's outer size (scroll bars included), recorded at every resize.
    int OuterWidth() const { return OuterWidth_; }
    int OuterHeight() const { return OuterHeight_; }

    // Shows markers 0..DiffCount-1 in the photo mode (and over a review, but
    // never while paused) and hides the others;
    // with `gather` every marker also moves to (0, 0).
    void ShowMarkers(bool gather);

    // Recorded top-left corner of marker i (0..9) in client coordinates.
    // Its picture position is this + ScrollPosition().
    QPoint MarkerPosition(int i) const;
    // The judged point of marker i: its centre in picture coordinates.
    TPoint MarkerCentre(int i) const;
    bool MarkerVisible(int i) const;
    // Top-left corner of marker i's inner frame (one pixel in after a drop).
    QPoint InnerMarkerPosition(int i) const;
    // Current scroll position (XPos, YPos) in pixels.
    QPoint ScrollPosition() const;
    // Scroll ranges as last set from the view's size.
    int XRange() const;
    int YRange() const;

    // Index of the marker being dragged, -1 when none. In the photo mode a left
    // press on a marker picks it up (it hides, the cursor becomes the drag
    // cursor) and the release drops it centred on the pointer, kept within the
    // picture size. A release in any other mode ends the drag and leaves the
    // marker where it was, hidden until the markers are shown again.
    int DragIndex() const { return DragIndex_; }

    // --- Keyboard play (bit_window_keys.cpp) -------------------------------
    // While MarkersMovable says yes, Tab selects the next of the markers in
    // play (the first Tab marker 0) and Shift+Tab the previous one, and the
    // view keeps the focus; the arrow keys move the selected marker by 1
    // pixel, with Shift by 10, landing as a drop would; Escape ends the
    // selection. The mouse wins over the keyboard: picking up a marker ends
    // the selection, and the keys do nothing while a marker is dragged.
    // Leaving the photo, gathering and a load that empties the view end it.
    int SelectedMarker() const { return Selected_; }
    // Tab (forwards) or Shift+Tab; false when no marker is in play.
    bool SelectNextMarker(bool backwards);
    // Moves the selected marker by (dx, dy) pixels; false when none is selected.
    bool MoveSelectedMarker(int dx, int dy);
    void EndKeyboardSelection();
    // Ends the selection when markers may no longer be moved (the timer
    // asks, so that a challenge that stops running drops it too).
    void CheckKeyboardSelection();
    // Whether markers may be moved now; the application asks game play. Left
    // empty, markers may move whenever the photo is shown.
    std::function<bool()> MarkersMovable;
    // The focus frame around the selected marker (hidden without one).
    const QWidget* FocusFrame() const;

    // Markers drawn with a black-and-white outline instead of grey and black.
    void SetConspicuousMarkers(bool on);
    bool ConspicuousMarkers() const { return Conspicuous_; }

    // Learned difference between the view's and the frame's outer size, used
    // and updated by FitToPicture; kept for the life of the view.
    TFitExtras& FitExtras() { return FitExtras_; }

    // The stripe wipe of the last mode switch: OuterWidth() / 8 steps of 8
    // pixels. AdvanceWipe takes some steps now, FinishWipe ends it and shows
    // the new picture; tests use them to stop the timer's work at any point.
    bool WipeInProgress() const { return WipeStepsLeft_ > 0; }
    int WipeStepsLeft() const { return WipeStepsLeft_; }
    void AdvanceWipe(int steps);
    void FinishWipe();

    // After a load that left the puzzle record empty: shows the welcome text
    // at once (and no markers), whatever mode was shown.
    void ShowWelcomeIfEmpty();

    // The offscreen pictures (empty QImage when absent).
    const TOffscreenPicture& BaseScreen() const { return BaseScreen_; }
    const TOffscreenPicture& SpareScreen() const { return SpareScreen_; }
    const TOffscreenPicture& ModeScreen() const { return ModeScreen_; }

    // The animation tracks of the open scene (restarted by every switch to a
    // scene mode).
    TSceneTracks& Tracks() { return Tracks_; }

    // One timer tick of the scene animation: steps the tracks of the shown
    // scene and draws their pieces. Does nothing outside the scene modes,
    // while the open scene is another one (a tick inside a half-done switch),
    // or once a Reset has emptied the tables.
    void AnimateStep();
    // Copies `piece` from its source picture into ModeScreen at its picture
    // position and shows it on the screen, shifted by `scroll`. The source
    // rectangle is clipped to the source picture; a piece with no pixels left
    // draws nothing. False when the source picture is empty.
    bool BlitPiece(const TScenePiece& piece, QPoint scroll);

    // --- Review and pause, shown over the current mode ----------------------
    // Shows the photo (pair 4) with the first DiffCount difference rectangles
    // outlined 2 pixels wide just inside their edges, blue RGB(0,114,178) when
    // `judged` found them and orange RGB(230,159,0) when it missed them, and
    // markers 0..DiffCount-1 at the judged points. CurrentMode() stays (the
    // result screen under the review) and nothing animates; the next
    // SwitchMode ends the review. False on failure, as for SwitchMode.
    bool ShowReview(const TJudgement& judged);
    bool Reviewing() const { return Reviewing_; }
    // Hides the picture and markers behind "一時停止中" / "P キーで再開します",
    // or shows them again. Nothing animates while paused.
    void SetPaused(bool paused);
    bool Paused() const { return Paused_; }
    // Over a review and while paused the markers are locked: neither a mouse
    // drag nor keyboard play moves them, whatever MarkersMovable says.
    bool MarkersLocked() const { return Reviewing_ || Paused_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A quick second click is a press like any other.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EvSize();
    void EvLButtonDown(QPoint point);
    void EvLButtonUp(QPoint point);
    void EndDrag();
    bool KeyboardPlayAllowed() const;
    bool HandleMarkerKey(const QKeyEvent& event);
    void PlaceFocusFrame();
    void PaintClient(QPainter& painter, const QRect& clip);
    // The pieces of one tick: one painter on ModeScreen for all of them, and
    // the screen rectangles to repaint once they are all drawn.
    struct PieceBatch;
    bool BlitInto(const TScenePiece& piece, PieceBatch& batch);
    void FinishBatch(PieceBatch& batch, QPoint scroll);
    QImage ScreenShown();
    void StartWipe(QImage oldScreen);
    void StepWipeOnTimer();
    void ApplyWipeSteps(int steps);
    bool Fail(const QString& message);
    // SwitchMode's work: builds the pictures of `pictures` and shows them as `mode`.
    bool BuildAndShow(ViewMode pictures, ViewMode mode);
    bool MarkersShown() const;  // the markers in play are visible
    void PlaceReviewMarkers();
    void PaintReview(QPainter& painter, QPoint scroll);
    void PaintPause(QPainter& painter);

    TPuzzleData& Puzzle_;
    std::array<TMarkerFrame*, kMarkerCount> OuterFrames_{};
    std::array<TMarkerFrame*, kMarkerCount> InnerFrames_{};
    int DragIndex_ = -1;
    int Selected_ = -1;  // marker selected by the keyboard
    TMarkerFocusFrame* FocusFrame_ = nullptr;
    bool Conspicuous_ = false;
    int HScrollHeight_ = 0;
    int VScrollWidth_ = 0;
    QCursor SavedCursor_;
    QCursor DragCursor_;
    TOffscreenPicture BaseScreen_;
    TOffscreenPicture SpareScreen_;
    TOffscreenPicture ModeScreen_;
    TSceneTracks Tracks_;

    ViewMode CurrentMode_ = ViewMode::None;
    int PictureWidth_ = 500;
    int PictureHeight_ = 350;
    int OuterWidth_ = 0;
    int OuterHeight_ = 0;
    TFitExtras FitExtras_;
    bool Reviewing_ = false;
    bool Paused_ = false;
    TJudgement Review_;

    QImage Shown_;       // what the screen shows: every paint goes through it
    QImage WipeScreen_;  // what the screen shows while the stripe moves
    QTimer WipeTimer_;
    QElapsedTimer WipeClock_;
    int WipeStepsTotal_ = 0;
    int WipeStepsLeft_ = 0;
    // The whole wipe takes about this long, however many steps it has.
    static constexpr int kWipeDurationMs = 240;
    static constexpr int kWipeTickMs = 8;
};

// The text the view paints while no puzzle is loaded.
QString WelcomeText();

// Resizes `frame` so that `view` is exactly as large as its picture (at most
// two resizes, learning the frame's extra size on the way). Does nothing when
// the view already matches or the frame is minimised, maximised or full screen.
void FitToPicture(QWidget* frame, TBitWindow* view);

}  // namespace vexa
