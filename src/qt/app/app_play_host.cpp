#include "app/app_play_host.h"

#include "app/frame_fit.h"
#include "app/kavrik_app.h"

#include "framework/decorated_frame.h"
#include "framework/message_box.h"
#include "framework/status_bar.h"
#include "view/bit_window.h"

#include <QGuiApplication>

#include <chrono>

namespace vexa {

void TAppPlayHost::ShowMessage(const std::string& text) {
    vexa::ShowMessage(App_.Frame(), QString::fromStdString(text), QMessageBox::Ok);
}

TAnswer TAppPlayHost::AskYesNoCancel(const std::string& text) {
    const QMessageBox::StandardButton answer =
        vexa::ShowMessage(App_.Frame(), QString::fromStdString(text),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return TAnswer::Yes;
    if (answer == QMessageBox::No) return TAnswer::No;
    // Escape or the close button: a dialog with a Cancel button answers Cancel.
    return TAnswer::Cancel;
}

void TAppPlayHost::SetCountField(const std::string& text) {
    if (App_.CountField()) App_.CountField()->SetText(QString::fromStdString(text));
}

void TAppPlayHost::SetTimeField(const std::string& text) {
    if (App_.TimeField()) App_.TimeField()->SetText(QString::fromStdString(text));
}

void TAppPlayHost::SetTimeFieldWarning(bool on) {
    if (App_.TimeField()) App_.TimeField()->SetWarning(on);
}

void TAppPlayHost::ScrollToShow(TPoint corner, int width, int height) {
    if (App_.View()) App_.View()->ScrollToShow(QRect(corner.X, corner.Y, width, height));
}

void TAppPlayHost::SetMessageField(const std::string& text) {
    if (App_.StatusBar()) App_.StatusBar()->ShowNote(QString::fromStdString(text));
}

bool TAppPlayHost::ShowReviewPicture() { return App_.View() && App_.View()->ShowReviewPicture(); }

void TAppPlayHost::ShowOverlay(const TPlayOverlay& overlay) {
    if (App_.View()) App_.View()->ShowOverlay(overlay);
}

TViewPlace TAppPlayHost::ViewPlace() const { return App_.View() ? App_.View()->Place() : TViewPlace{}; }

bool TAppPlayHost::SwitchMode(ViewMode mode, bool pair) { return App_.View() && App_.View()->SwitchMode(mode, pair); }

ViewMode TAppPlayHost::CurrentMode() const { return App_.View() ? App_.View()->CurrentMode() : ViewMode::None; }

void TAppPlayHost::AnimateStep() {
    if (App_.View()) App_.View()->AnimateStep();
}

std::string TAppPlayHost::WelcomeText() const { return vexa::WelcomeText().toStdString(); }

void TAppPlayHost::FitToPicture() {
    if (App_.Frame() && App_.View()) vexa::FitToPicture(App_.Frame(), *App_.View(), App_.FitExtras());
}

bool TAppPlayHost::IsFrameActive() const { return App_.Frame() && App_.Frame()->isActiveWindow(); }

bool TAppPlayHost::IsShiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool TAppPlayHost::IsRightButtonHeld() const {
    return QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
}

std::int64_t TAppPlayHost::Now() const {
    if (App_.Clock) return App_.Clock();
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace vexa
