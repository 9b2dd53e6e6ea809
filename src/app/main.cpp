// Program entry: one copy per user, the settings path, the optional puzzle
// named on the command line, then the application object's run.
#include "app/kavrik_app.h"
#include "framework/message_box.h"
#include "framework/single_instance.h"
#include "play/settings_path.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Handed to a running copy as it stands: bytes, before Qt sees the arguments.
    const QByteArray handedFile = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    QApplication qapp(argc, argv);
    QApplication::setApplicationDisplayName(vexa::kCaption);

    vexa::TSingleInstance instance;
    if (!instance.TryBecomeFirst()) {
        instance.AskFirstToShow(handedFile);
        return 1;
    }

    const vexa::TSettingsPathResult settings =
        vexa::MakeSettingsPath(vexa::CurrentProgramPath(), vexa::DefaultSettingsFallbackDir());

    vexa::TKavrikApp app(settings.Path);
    const QStringList args = QApplication::arguments();  // Qt's own options removed
    if (args.size() >= 2) app.PendingFile = args.at(1);
    QObject::connect(&instance, &vexa::TSingleInstance::ShowRequested, &app, &vexa::TKavrikApp::ShowFrame);
    QObject::connect(&instance, &vexa::TSingleInstance::FileHandedOver, &app, &vexa::TKavrikApp::OpenHandedFile);
    return app.Run();
}
