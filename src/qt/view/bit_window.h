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
// Zoom and pair: the view's content holds the mode's picture drawn at
// Scale(), or, for a pair, the scene and the photo side by side or one above
// the other with a small gap; the markers, outlines, review and hint are
// drawn at the same scale on the photo.
//
// Coordinates: "client" coordinates are those of the viewport (the area inside
// the scroll bars); content coordinates = client + ScrollPosition(); picture
// coordinates are a picture's own pixels, = content coordinates at 100 % and
// without a pair. Game play only ever sees picture pixels of the picture the
// markers lie on (Place, and the points handed to Input).
#pragma once

#include "play/play_overlay.h"
#include "puzzle/puzzle_data.h"
#include "puzzle/view_mode.h"
#include "viewcore/scene_tracks.h"
#include "viewcore/view_layout.h"
#include "viewcore/view_rules.h"
#include "viewcore/zoom.h"
#include "view/offscreen_picture.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

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
    // With `pair` (the scene or the photo only), the scene animates beside
    // the photo and the markers lie on the photo, whichever of the two the
    // mode names.
    bool SwitchMode(ViewMode mode, bool pair = false);
    bool ShowsPair() const { return Pair_; }

    // The zoom: a step or the fit into the view (see viewcore/zoom.h). The
    // welcome page and the pause screen are never scaled. SetZoom keeps the
    // scroll position; AnchorAt and ScrollToAnchor keep a point in place
    // across a zoom and the frame's fit that follows it.
    void SetZoom(const TZoom& zoom);
    const TZoom& Zoom() const { return Zoom_; }
    double Scale() const { return Layout_.Scale; }
    struct TAnchor {
        double PictureX = 0, PictureY = 0;  // on the picture the markers lie on
        QPoint Client;
    };
    TAnchor AnchorAt(QPoint client) const;
    void ScrollToAnchor(const TAnchor& anchor);
    // The content's size at the zoom: what the frame's fit makes room for.
    int ContentWidth() const { return Layout_.Width; }
    int ContentHeight() const { return Layout_.Height; }

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
        // Ctrl+wheel: `notches` up (positive) or down, at the pointer.
        std::function<void(double notches, QPoint client)> ZoomWheel;
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
    // For game play, in picture pixels of the picture the markers lie on:
    // the top-left of its visible part (its own top-left while the view
    // shows it whole from there on) and its size.
    TViewPlace Place() const;
    // Current scroll position (XPos, YPos) in pixels.
    QPoint ScrollPosition() const;
    // Scrolls as little as it takes to show `area` (picture coordinates on
    // the picture the markers lie on), as far as the scroll ranges reach.
    void ScrollToShow(const QRect& area);
    // Scroll ranges as last set from the view's size.
    int XRange() const;
    int YRange() const;

    // Markers drawn with a black-and-white outline instead of grey and black.
    void SetConspicuousMarkers(bool on);
    bool ConspicuousMarkers() const { return Conspicuous_; }

    // The stripe wipe of the last mode switch: OuterWidth() / 8 steps of 8
    // pixels (wider steps, as many fewer, at a zoom). AdvanceWipe takes some steps now, FinishWipe ends it and shows
    // the new picture; tests use them to stop the timer's work at any point.
    bool WipeInProgress() const { return WipeStepsLeft_ > 0; }
    int WipeStepsLeft() const { return WipeStepsLeft_; }
    void AdvanceWipe(int steps);
    void FinishWipe();

    // After a load that left the puzzle record empty: shows the welcome text
    // at once, whatever mode was shown.
    void ShowWelcomeIfEmpty();

    // The offscreen pictures (empty QImage when absent). PhotoScreen holds
    // the photo beside the scene of a pair.
    const TOffscreenPicture& BaseScreen() const { return BaseScreen_; }
    const TOffscreenPicture& SpareScreen() const { return SpareScreen_; }
    const TOffscreenPicture& ModeScreen() const { return ModeScreen_; }
    const TOffscreenPicture& PhotoScreen() const { return PhotoScreen_; }

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
    void wheelEvent(QWheelEvent* event) override;

private:
    // Recomputes the layout at the zoom and the view's size, and the scroll
    // ranges from it.
    void UpdateLayout();
    // The layout alone, scroll ranges untouched.
    void ComputeLayout();
    // At 100 % without a pair the content is the picture itself, as the
    // view always had it.
    bool Plain() const { return !Pair_ && Layout_.Scale == 1.0; }
    // Where the picture the markers lie on starts in the content, and its size.
    QPoint MarkerOrigin() const;
    QPoint MainOrigin() const { return QPoint(Layout_.MainX, Layout_.MainY); }
    int MarkerPictureWidth() const { return Pair_ ? PhotoWidth_ : PictureWidth_; }
    int MarkerPictureHeight() const { return Pair_ ? PhotoHeight_ : PictureHeight_; }
    // A client point as game play counts it: picture pixels minus Place().Scroll.
    TPoint PlayPoint(QPoint client) const;
    // A rectangle of the picture starting at `origin`, in client coordinates,
    // grown to whole pixels (and one more for the smoothing when scaled).
    QRect ClientRectOf(const QRect& picture, QPoint origin) const;
    // The part of the marker picture in sight, in its pixels, with `margin`
    // pixels more on each side.
    QRect VisiblePictureRect(int margin) const;
    void DrawPicture(QPainter& painter, const QImage& image, int width, int height, QPoint origin,
                     const QRect& contentClip) const;
    void PaintOutlines(QPainter& painter, const QRect& visible);
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
    // SwitchMode's work: builds the pictures of `shown` (of the scene and the
    // photo for a pair) and shows them as `mode`.
    bool BuildAndShow(ViewMode shown, ViewMode mode, bool pair);
    // With the painter in the marker picture's pixels; `visible` is the part
    // of it in sight.
    void PaintReview(QPainter& painter, const QRect& visible);
    void PaintHintRing(QPainter& painter, const QRect& visible);
    void PaintPause(QPainter& painter);

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
    TOffscreenPicture PhotoScreen_;
    TSceneTracks Tracks_;
    bool Pair_ = false;
    TZoom Zoom_;
    TViewLayout Layout_;
    double WheelZoomNotches_ = 0;

    ViewMode CurrentMode_ = ViewMode::None;
    int PictureWidth_ = 500;
    int PictureHeight_ = 350;
    int PhotoWidth_ = 0;  // of a pair's photo
    int PhotoHeight_ = 0;
    int OuterWidth_ = 0;
    int OuterHeight_ = 0;

    QImage Shown_;       // what the screen shows: every paint goes through it
    QImage WipeScreen_;  // what the screen shows while the stripe moves
    QTimer WipeTimer_;
    QElapsedTimer WipeClock_;
    int WipeStepsTotal_ = 0;
    int WipeStripe_ = kWipeStripe;  // the stripe's width and step, at the zoom
    int WipeStepsLeft_ = 0;
    // The whole wipe takes about this long, however many steps it has.
    static constexpr int kWipeDurationMs = 240;
    static constexpr int kWipeTickMs = 8;
};

// The text the view paints while no puzzle is loaded.
QString WelcomeText();

}  // namespace vexa
