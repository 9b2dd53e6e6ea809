#include "view/bit_window.h"

#include "framework/message_box.h"
#include "view/answer_marker.h"
#include "view/marker_focus.h"
#include "viewcore/marker_rules.h"
#include "viewcore/view_rules.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace vexa {

namespace {

const char kWelcomeText[] =
    "\n"
    "       データを読み込んでください       \n"
    "\n"
    " ファイルメニューを使うか、F12キーを押すか\n"
    "一番左のボタンでデータを読み込んでください。\n"
    " 問題ファイルをドロップすることもできます。\n"
    "     .VXの拡張子と関連付けると便利です。\n"
    "\n"
    "\n"
    "          Vexa for 32Bit Windows             \n"
    "              Linux / Qt 6 版              \n";

}  // namespace

QString WelcomeText() { return QString::fromUtf8(kWelcomeText); }

TBitWindow::TBitWindow(TPuzzleData& puzzle, QWidget* parent)
    : QAbstractScrollArea(parent), Puzzle_(puzzle) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setRange(0, 0);
        bar->setSingleStep(1);
    }
    HScrollHeight_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, horizontalScrollBar());
    VScrollWidth_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());

    for (int i = 0; i < kMaxDiffs; ++i) {
        OuterFrames_[i] = new TMarkerFrame(kMarkerSide, kMarkerOuterColour, viewport());
        InnerFrames_[i] = new TMarkerFrame(kMarkerSide - 2, kMarkerInnerColour, viewport());
        OuterFrames_[i]->hide();
        InnerFrames_[i]->hide();
    }
    FocusFrame_ = new TMarkerFocusFrame(kMarkerSide, viewport());
    FocusFrame_->hide();
    setFocusPolicy(Qt::StrongFocus);  // the arrow keys and Tab come here
    DragCursor_ = MakeDragCursor();

    Layout_.Width = PictureWidth_;
    Layout_.Height = PictureHeight_;

    WipeTimer_.setInterval(kWipeTickMs);
    connect(&WipeTimer_, &QTimer::timeout, this, &TBitWindow::StepWipeOnTimer);
}

TBitWindow::~TBitWindow() {
    WipeTimer_.stop();
    ReleasePicture(PhotoScreen_);
    ReleasePicture(ModeScreen_);
    ReleasePicture(SpareScreen_);
    ReleasePicture(BaseScreen_);
}

bool TBitWindow::SwitchMode(ViewMode mode, bool pair) {
    const bool pairable = mode == ViewMode::Scene || mode == ViewMode::Photo;
    return BuildAndShow(mode, mode, pair && pairable);
}

bool TBitWindow::ShowReviewPicture() { return BuildAndShow(ViewMode::Photo, CurrentMode_, false); }

bool TBitWindow::BuildAndShow(ViewMode shown, ViewMode mode, bool pair) {
    // A pair animates the scene as the mode's picture, with the photo beside it.
    const ViewMode pictures = pair ? ViewMode::Scene : shown;
    // The wipe moves what the screen shows now: the last painted picture,
    // which may still be the welcome text when two switches follow each
    // other (a load), never a picture that was not yet on the screen.
    QImage oldScreen;
    if (CurrentMode_ != ViewMode::None && isVisible() && !viewport()->size().isEmpty()) oldScreen = ScreenShown();
    FinishWipe();

    const QString message =
        BuildModePictures(Puzzle_, pictures, PictureWidth_, PictureHeight_, BaseScreen_, SpareScreen_);
    if (!message.isEmpty()) return Fail(message);
    ReleasePicture(PhotoScreen_);
    PhotoWidth_ = PhotoHeight_ = 0;
    if (pair) {
        TOffscreenPicture unused;
        const QString photoMessage =
            BuildModePictures(Puzzle_, ViewMode::Photo, PhotoWidth_, PhotoHeight_, PhotoScreen_, unused);
        ReleasePicture(unused);
        if (!photoMessage.isEmpty()) return Fail(photoMessage);
    }
    // Only a scene's own pictures animate: the photo under a review opens none.
    Tracks_.OpenScene(SceneOf(pictures), PictureWidth_, PictureHeight_);

    ReleasePicture(ModeScreen_);
    if (!CreateOffscreen(ModeScreen_, PictureWidth_, PictureHeight_))
        return Fail(QStringLiteral("指定モード用の仮想画面を作れません"));
    if (!ModeScreen_.Image.isNull() && !BaseScreen_.Image.isNull()) {
        QPainter painter(&ModeScreen_.Image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), BaseScreen_.Image,
                          QRect(0, 0, PictureWidth_, PictureHeight_));
    }

    // A result screen is a picture to see whole: it opens at its top-left,
    // not at the place the photo was scrolled to.
    if (IsResult(pictures)) {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    }
    // Scroll ranges follow a plain picture at the next resize, as they always
    // did; a zoomed picture or a pair has them now, as a fitted frame may not
    // resize at all.
    const bool relayout = Pair_ || pair || Zoom_ != TZoom{};
    Pair_ = pair;
    if (CurrentMode_ != ViewMode::None && !oldScreen.isNull()) StartWipe(std::move(oldScreen));
    CurrentMode_ = mode;
    if (relayout)
        UpdateLayout();
    else
        ComputeLayout();  // the frame's fit reads the content's size
    PlaceMarkers();  // hidden while the stripe moves
    viewport()->update();
    return true;
}

bool TBitWindow::Fail(const QString& message) {
    ShowMessage(this, message, QMessageBox::Ok);
    CurrentMode_ = ViewMode::None;
    Pair_ = false;
    ReleasePicture(PhotoScreen_);
    viewport()->update();
    return false;
}

QPoint TBitWindow::MarkerPosition(int i) const {
    if (i < 0 || i >= kMaxDiffs) return {};
    return OuterFrames_[i]->pos();
}

QPoint TBitWindow::InnerMarkerPosition(int i) const {
    if (i < 0 || i >= kMaxDiffs) return {};
    return InnerFrames_[i]->pos();
}

bool TBitWindow::MarkerVisible(int i) const {
    if (i < 0 || i >= kMaxDiffs) return false;
    return !OuterFrames_[i]->isHidden();
}

QPoint TBitWindow::ScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

int TBitWindow::XRange() const { return horizontalScrollBar()->maximum(); }
int TBitWindow::YRange() const { return verticalScrollBar()->maximum(); }

// ---- painting

void TBitWindow::paintEvent(QPaintEvent* event) {
    // Painted through a copy of the screen, which the next wipe starts from.
    const QSize size = viewport()->size();
    const qreal ratio = viewport()->devicePixelRatioF();
    if (Shown_.isNull() || Shown_.size() != size * ratio || Shown_.devicePixelRatio() != ratio) {
        QImage grown(size * ratio, QImage::Format_RGB32);
        grown.setDevicePixelRatio(ratio);
        grown.fill(viewport()->palette().color(QPalette::Base));
        if (!Shown_.isNull()) QPainter(&grown).drawImage(QPoint(0, 0), Shown_);
        Shown_ = std::move(grown);
    }
    {
        QPainter painter(&Shown_);
        painter.setClipRegion(event->region());
        PaintClient(painter, event->rect());
    }
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), Shown_);
}

QImage TBitWindow::ScreenShown() {
    if (!Shown_.isNull()) return Shown_.copy();
    // Nothing painted yet: the screen shows the background.
    const qreal ratio = viewport()->devicePixelRatioF();
    QImage blank(viewport()->size() * ratio, QImage::Format_RGB32);
    blank.setDevicePixelRatio(ratio);
    blank.fill(viewport()->palette().color(QPalette::Base));
    return blank;
}

void TBitWindow::ShowWelcomeIfEmpty() {
    if (Puzzle_.Loaded) return;
    FinishWipe();
    if (!Plain()) {
        // The welcome page is never scaled nor paired.
        Pair_ = false;
        ReleasePicture(PhotoScreen_);
        UpdateLayout();
    }
    viewport()->update();
}

void TBitWindow::PaintClient(QPainter& painter, const QRect& clip) {
    const QColor background = viewport()->palette().color(QPalette::Base);
    if (!WipeScreen_.isNull()) {
        painter.fillRect(clip, background);
        painter.drawImage(QPoint(0, 0), WipeScreen_);
        return;
    }
    painter.fillRect(clip, background);
    if (Overlay_.Paused && Puzzle_.Loaded) {
        PaintPause(painter);
        return;
    }
    const QPoint scroll = ScrollPosition();
    painter.translate(-scroll);  // draw in content coordinates from here on

    if (!Puzzle_.Loaded) {
        painter.setPen(viewport()->palette().color(QPalette::Text));
        painter.drawText(QRect(QPoint(0, 0), viewport()->size()),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, WelcomeText());
        return;
    }
    const QRect contentClip = clip.translated(scroll);
    DrawPicture(painter, ModeScreen_.Image, PictureWidth_, PictureHeight_, MainOrigin(), contentClip);
    if (Pair_) DrawPicture(painter, PhotoScreen_.Image, PhotoWidth_, PhotoHeight_, MarkerOrigin(), contentClip);

    // What lies over the picture is drawn in its pixels, at its scale.
    painter.translate(MarkerOrigin());
    painter.scale(Layout_.Scale, Layout_.Scale);
    // Edges far beyond the client area are pulled in to just beyond it, so
    // that rectangles from the file cannot overflow the painter's coordinates.
    const QRect visible = VisiblePictureRect(2);
    if (Overlay_.Outlined > 0) PaintReview(painter, visible);
    if (Overlay_.Hint.Shown) PaintHintRing(painter, visible);
    if (OutlinesDifferences(CurrentMode_)) PaintOutlines(painter, visible);
}

void TBitWindow::PaintOutlines(QPainter& painter, const QRect& visible) {
    const int x0 = visible.left(), x1 = visible.right() + 1, y0 = visible.top(), y1 = visible.bottom() + 1;
    for (int i = 0; i < Puzzle_.DiffsInPlay(); ++i) {
        const std::optional<TDiffRect> d = DiffRectWithin(Puzzle_.DiffRects[i], x0, y0, x1, y1);
        if (!d) continue;
        // An outline covering columns Left and Right-1, rows Top and Bottom-1.
        const int w = d->Right - d->Left, h = d->Bottom - d->Top;
        painter.fillRect(d->Left, d->Top, w, 1, Qt::black);
        painter.fillRect(d->Left, d->Bottom - 1, w, 1, Qt::black);
        painter.fillRect(d->Left, d->Top, 1, h, Qt::black);
        painter.fillRect(d->Right - 1, d->Top, 1, h, Qt::black);
    }
}

// ---- scene animation

struct TBitWindow::PieceBatch {
    std::optional<QPainter> Painter;  // opened on the first piece drawn
    std::vector<QRect> Dirty;         // in picture coordinates
    QRect Bounds;
};

void TBitWindow::AnimateStep() {
    // The scroll position is read once per tick, as every piece of the tick
    // lands on the same screen.
    const QPoint scroll = ScrollPosition();
    PieceBatch batch;
    // A pair animates its scene whichever of the two the mode names.
    const ViewMode animated = Pair_ ? ViewMode::Scene : CurrentMode_;
    Tracks_.Step(Puzzle_, animated, [&](const TScenePiece& piece) { BlitInto(piece, batch); });
    FinishBatch(batch, scroll);
}

bool TBitWindow::BlitPiece(const TScenePiece& piece, QPoint scroll) {
    PieceBatch batch;
    const bool drawn = BlitInto(piece, batch);
    FinishBatch(batch, scroll);
    return drawn;
}

bool TBitWindow::BlitInto(const TScenePiece& piece, PieceBatch& batch) {
    const TOffscreenPicture& source = piece.Source == TPieceSource::Spare ? SpareScreen_ : BaseScreen_;
    if (!source.Exists() || source.Image.isNull()) return false;
    // Qt would draw the whole rest of the source for an empty size, and reads
    // nothing sensible outside it; clip as a device-to-device copy does.
    const std::optional<TScenePiece> clipped = ClipPieceToSource(piece, source.Width(), source.Height());
    if (!clipped) return true;
    const TScenePiece& p = *clipped;
    const QRect dest(p.DestX, p.DestY, p.Width, p.Height);
    if (!ModeScreen_.Image.isNull()) {
        if (!batch.Painter) {
            batch.Painter.emplace(&ModeScreen_.Image);
            batch.Painter->setCompositionMode(QPainter::CompositionMode_Source);
        }
        batch.Painter->drawImage(dest.topLeft(), source.Image, QRect(p.SourceX, p.SourceY, p.Width, p.Height));
    }
    batch.Dirty.push_back(dest);
    batch.Bounds |= dest;
    return true;
}

void TBitWindow::FinishBatch(PieceBatch& batch, QPoint scroll) {
    batch.Painter.reset();  // ModeScreen is complete before the screen shows it
    // The screen shows ModeScreen at the scroll position; repainting the
    // pieces' rectangles puts them there. Past a few pieces one rectangle
    // around them all costs less than a region of many.
    constexpr std::size_t kSeparateRects = 16;
    if (Plain()) {
        if (batch.Dirty.size() > kSeparateRects) {
            viewport()->update(batch.Bounds.translated(-scroll));
            return;
        }
        for (const QRect& r : batch.Dirty) viewport()->update(r.translated(-scroll));
        return;
    }
    if (batch.Dirty.size() > kSeparateRects) {
        viewport()->update(ClientRectOf(batch.Bounds, MainOrigin()));
        return;
    }
    for (const QRect& r : batch.Dirty) viewport()->update(ClientRectOf(r, MainOrigin()));
}

// ---- the stripe wipe

void TBitWindow::StartWipe(QImage oldScreen) {
    // A zoomed screen wipes with a stripe as much wider, in as many fewer steps.
    WipeStripe_ = Plain() ? kWipeStripe : ScaledLength(kWipeStripe, Layout_.Scale);
    const int steps = WipeStepCount(OuterWidth_) * kWipeStripe / WipeStripe_;
    if (steps <= 0) return;  // the stripe would be painted over at once
    WipeScreen_ = std::move(oldScreen);
    {
        QPainter painter(&WipeScreen_);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::white);
        painter.drawRect(0, 0, WipeStripe_ - 1, std::max(OuterHeight_, 1) - 1);
    }
    WipeStepsTotal_ = WipeStepsLeft_ = steps;
    WipeClock_.start();
    WipeTimer_.start();
    viewport()->update();
}

void TBitWindow::ApplyWipeSteps(int steps) {
    // Each step moves the screen right by 8 pixels; the strip uncovered at the
    // left keeps what it showed, so the stripe is copied along.
    const int width = WipeScreen_.width();
    const int shift = std::max(1, qRound(WipeStripe_ * WipeScreen_.devicePixelRatio()));
    for (int s = 0; s < steps; ++s) {
        if (width > shift) {
            for (int row = 0; row < WipeScreen_.height(); ++row) {
                auto* line = reinterpret_cast<QRgb*>(WipeScreen_.scanLine(row));
                std::memmove(line + shift, line, sizeof(QRgb) * (width - shift));
            }
        }
    }
    WipeStepsLeft_ -= steps;
}

void TBitWindow::StepWipeOnTimer() {
    if (!WipeInProgress()) {
        WipeTimer_.stop();
        return;
    }
    const qint64 due64 = WipeClock_.elapsed() * WipeStepsTotal_ / kWipeDurationMs;
    const int due = static_cast<int>(std::min<qint64>(due64, WipeStepsTotal_));
    const int done = WipeStepsTotal_ - WipeStepsLeft_;
    AdvanceWipe(std::max(due - done, 0));
}

void TBitWindow::AdvanceWipe(int steps) {
    if (!WipeInProgress()) return;
    ApplyWipeSteps(std::clamp(steps, 0, WipeStepsLeft_));
    if (WipeStepsLeft_ == 0)
        FinishWipe();
    else
        viewport()->update();
}

void TBitWindow::FinishWipe() {
    WipeTimer_.stop();
    const bool wasWiping = !WipeScreen_.isNull();
    WipeScreen_ = QImage();
    WipeStepsLeft_ = WipeStepsTotal_ = 0;
    if (!wasWiping) return;
    PlaceMarkers();  // the markers held back during the wipe come up
    viewport()->update();
}

// ---- size and scrolling

void TBitWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    OuterWidth_ = width();
    OuterHeight_ = height();
    EvSize();
}

void TBitWindow::EvSize() { UpdateLayout(); }

bool TBitWindow::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        // A page is the client extent in that direction.
        horizontalScrollBar()->setPageStep(std::max(viewport()->width(), 1));
        verticalScrollBar()->setPageStep(std::max(viewport()->height(), 1));
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TBitWindow::scrollContentsBy(int dx, int dy) {
    FinishWipe();
    // Moves the picture and the markers with it; only the uncovered part is
    // repainted.
    viewport()->scroll(dx, dy);
}

// ---- markers

void TBitWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && Input.Press) Input.Press(PlayPoint(at));
    event->accept();
}

void TBitWindow::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TBitWindow::mouseReleaseEvent(QMouseEvent* event) {
    // Qt's implicit grab keeps the release with the view.
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && Input.Release) Input.Release(PlayPoint(at));
    event->accept();
}

}  // namespace vexa
