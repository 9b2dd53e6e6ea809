// The application object as the window around game play: message boxes on
// the frame, the two status fields, the picture view, key state and clock.
#include "app/kavrik_app.h"

#include "framework/decorated_frame.h"
#include "framework/message_box.h"
#include "framework/status_bar.h"
#include "view/bit_window.h"

#include <QGuiApplication>

#include <chrono>

namespace vexa {

void TKavrikApp::ShowMessage(const std::string& text) {
    vexa::ShowMessage(Frame, QString::fromStdString(text), QMessageBox::Ok);
}

TAnswer TKavrikApp::AskYesNoCancel(const std::string& text) {
    const QMessageBox::StandardButton answer =
        vexa::ShowMessage(Frame, QString::fromStdString(text),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return TAnswer::Yes;
    if (answer == QMessageBox::No) return TAnswer::No;
    // Escape or the close button: a dialog with a Cancel button answers Cancel.
    return TAnswer::Cancel;
}

void TKavrikApp::SetCountField(const std::string& text) {
    if (CountField) CountField->SetText(QString::fromStdString(text));
}

void TKavrikApp::SetTimeField(const std::string& text) {
    if (TimeField) TimeField->SetText(QString::fromStdString(text));
}

bool TKavrikApp::SwitchMode(ViewMode mode) { return View && View->SwitchMode(mode); }

ViewMode TKavrikApp::CurrentMode() const { return View ? View->CurrentMode() : ViewMode::None; }

void TKavrikApp::ShowMarkers(bool gather) {
    if (View) View->ShowMarkers(gather);
}

TPoint TKavrikApp::MarkerCentre(int index) const { return View ? View->MarkerCentre(index) : TPoint{}; }

void TKavrikApp::AnimateStep() {
    if (View) View->AnimateStep();
}

std::string TKavrikApp::WelcomeText() const { return vexa::WelcomeText().toStdString(); }

void TKavrikApp::FitToPicture() {
    if (Frame && View) vexa::FitToPicture(Frame, View);
}

bool TKavrikApp::IsFrameActive() const { return Frame && Frame->isActiveWindow(); }

bool TKavrikApp::IsShiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool TKavrikApp::IsRightButtonHeld() const {
    return QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
}

std::int64_t TKavrikApp::Now() const {
    if (Clock) return Clock();
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace vexa
