// The picture view: the frame's client window. It shows the picture of the
// current mode, scrolls when it is smaller than the picture, shows the welcome
// text while no puzzle is loaded, and hosts the ten answer markers.
//
// What it shows is a ViewMode (puzzle/view_mode.h): a picture pair, animated
// for the scene modes, with the differences outlined in the two outline
// modes. Over it the view draws what game play hands it (ShowOverlay): the
// markers, the outlines of a review, or the pause screen. It keeps no play
// state of its own: a press, a release or a key of keyboard play goes to
// game play through Input, which answers with a new overlay.
//
// Coordinates: "client" coordinates are those of the viewport (the area inside
// the scroll bars); picture coordinates = client + ScrollPosition().
#pragma once

#include "play/play_overlay.h"
#include "puzzle/puzzle_data.h"
#include "puzzle/view_mode.h"
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
    // The view draws from `puzzle`, which must outlive it. Ten hidden markers
    // are created at (0, 0) as children of the viewport.
    explicit TBitWindow(TPuzzleData& puzzle, QWidget* parent = nullptr);
    ~TBitWindow() override;

    // Shows `mode` (not None). Builds the offscreen pictures of the mode's
    // pair, wipes what the screen shows off with a stripe (only when a mode
    // was shown before and the view is visible; the wipe runs on a timer for a
    // fraction of a second and does not block input; markers come up when it
    // ends) and repaints. Callers skip a switch to the mode that is already
    // current.
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

    // Draws `overlay` over the mode from now on: markers at their corners
    // (picture coordinates, so shown at corner - ScrollPosition()), the
    // focus frame around the selected one, the drag cursor while one is
    // lifted, review outlines or the pause screen.
    void ShowOverlay(const TPlayOverlay& overlay);
    const TPlayOverlay& Overlay() const { return Overlay_; }

    // Where input goes; unset parts are ignored. Key answers whether game
    // play used the key (otherwise Tab moves the focus and the arrows scroll).
    struct TInput {
        std::function<void(TPoint client)> Press;
        std::function<void(TPoint client)> Release;
        std::function<bool(const TMarkerKey& key)> Key;
    };
    TInput Input;

    // Top-left corner of marker i's outer frame in client coordinates, as
    // drawn now; of its inner frame (one pixel in after a drop).
    QPoint MarkerPosition(int i) const;
    QPoint InnerMarkerPosition(int i) const;
    bool MarkerVisible(int i) const;
    // The marker held by the mouse and the one selected by the keyboard, as
    // the overlay says; -1 when none.
    int DragIndex() const { return Overlay_.Markers.Lifted; }
    int SelectedMarker() const { return Overlay_.Markers.Selected; }
    // The focus frame around the selected marker (hidden without one).
    const QWidget* FocusFrame() const;
    // Scroll position and picture size, for game play.
    TViewPlace Place() const;
    // Current scroll position (XPos, YPos) in pixels.
    QPoint ScrollPosition() const;
    // Scrolls as little as it takes to show `area` (picture coordinates), as
    // far as the scroll ranges reach.
    void ScrollToShow(const QRect& area);
    // Scroll ranges as last set from the view's size.
    int XRange() const;
    int YRange() const;

    // Markers drawn with a black-and-white outline instead of grey and black.
    void SetConspicuousMarkers(bool on);
    bool ConspicuousMarkers() const { return Conspicuous_; }

    // The stripe wipe of the last mode switch: OuterWidth() / 8 steps of 8
    // pixels. AdvanceWipe takes some steps now, FinishWipe ends it and shows
    // the new picture; tests use them to stop the timer's work at any point.
    bool WipeInProgress() const { return WipeStepsLeft_ > 0; }
    int WipeStepsLeft() const { return WipeStepsLeft_; }
    void AdvanceWipe(int steps);
    void FinishWipe();

    // After a load that left the puzzle record empty: shows the welcome text
    // at once, whatever mode was shown.
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

    // The review's picture: builds and shows the photo (pair 4) while
    // CurrentMode() stays the result screen under it, whose scene does not
    // animate; the next SwitchMode ends it. False on failure, as for SwitchMode.
    bool ShowReviewPicture();

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
    bool ForwardKey(const QKeyEvent& event);
    // Puts the marker frames, the focus frame and the cursor where the
    // overlay says; markers wait while the stripe moves.
    void PlaceMarkers();
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
    void PaintReview(QPainter& painter, QPoint scroll);
    void PaintPause(QPainter& painter);
    // The hint's frame, with the painter in picture coordinates.
    void PaintHintRing(QPainter& painter, QPoint scroll);

    TPuzzleData& Puzzle_;
    TPlayOverlay Overlay_;
    std::array<TMarkerFrame*, kMaxDiffs> OuterFrames_{};
    std::array<TMarkerFrame*, kMaxDiffs> InnerFrames_{};
    TMarkerFocusFrame* FocusFrame_ = nullptr;
    bool DragCursorShown_ = false;
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

}  // namespace vexa
