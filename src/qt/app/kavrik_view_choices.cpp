// 並べて表示 and the zoom: their commands and keys, Ctrl+wheel, and the
// choices kept in the display options. Game play owns the pair (it decides
// when the scene and the photo show together); the view owns the scale.
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "play/show_mode.h"
#include "settings/display_options.h"
#include "view/bit_window.h"

#include <QCursor>

#include <cmath>
#include <cstdlib>

namespace vexa {

void TKavrikApp::RegisterViewChoices() {
    TCommandTable& c = Commands_;
    c.SetHandler(CmSideBySide, [this] { CmSwitchSideBySide(); });
    c.SetEnabler(CmSideBySide, [this](TCommandState& s) { s.Checked = Game_.State.SideBySide; }, true);
    c.SetHandler(CmZoomIn, [this] { ZoomBySteps(1); });
    c.SetHandler(CmZoomOut, [this] { ZoomBySteps(-1); });
    c.SetHandler(CmZoomActual, [this] { ApplyZoom(TZoom{false, 100}); });
    c.SetHandler(CmZoomFit, [this] { ApplyZoom(TZoom{true, 100}); });
    c.SetEnabler(CmZoomFit, [this](TCommandState& s) { s.Checked = View_ && View_->Zoom().Fit; }, true);
}

void TKavrikApp::SetupViewChoices() {
    InstallAccelerators(Frame_, Commands_, kViewKeys);
    Game_.State.SideBySide = ReadSideBySide(SettingsPath());
    if (const std::optional<TZoom> zoom = ParseZoom(ReadZoomText(SettingsPath()))) View_->SetZoom(*zoom);
    View_->Input.ZoomWheel = [this](double notches, QPoint client) {
        ZoomBySteps(static_cast<int>(notches), client);
    };
}

void TKavrikApp::CmSwitchSideBySide() {
    if (SwitchSideBySide(Game_)) Host_.FitToPicture();
    Commands_.Refresh();
}

void TKavrikApp::ZoomBySteps(int steps, std::optional<QPoint> client) {
    if (!View_ || steps == 0) return;
    double scale = View_->Scale();
    for (int i = 0; i < std::abs(steps); ++i) scale = (steps > 0 ? ZoomInStep(scale) : ZoomOutStep(scale)) / 100.0;
    ApplyZoom(TZoom{false, static_cast<int>(std::lround(scale * 100))}, client);
}

void TKavrikApp::ApplyZoom(const TZoom& zoom, std::optional<QPoint> client) {
    if (!View_) return;
    if (!client) {
        // A command from the keyboard or the menu keeps the point under the
        // pointer when the pointer is over the picture, else the top-left.
        const QPoint pointer = View_->viewport()->mapFromGlobal(QCursor::pos());
        client = View_->viewport()->rect().contains(pointer) ? pointer : QPoint(0, 0);
    }
    const TBitWindow::TAnchor anchor = View_->AnchorAt(*client);
    View_->SetZoom(zoom);
    if (!zoom.Fit) Host_.FitToPicture();
    View_->ScrollToAnchor(anchor);
    // Kept for this run even when the file cannot be written; no message.
    WriteZoomText(SettingsPath(), FormatZoom(zoom));
    Commands_.Refresh();
}

}  // namespace vexa
