// Program entry: one copy per user, the settings path, the optional puzzle
// named on the command line, then the application object's run.
#include "app/command_line.h"
#include "app/kavrik_app.h"
#include "framework/message_box.h"
#include "framework/qt_translation.h"
#include "framework/single_instance.h"
#include "settings/profile_file.h"
#include "settings/settings_path.h"
#include "settings/settings_saver.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // `--help` and `--version` alone answer on the terminal; any other first
    // argument is the puzzle, whatever it looks like.
    const vexa::TCommandLine line = vexa::ParseCommandLine(argc, argv);
    if (line.Request != vexa::TCommandLine::Run) {
        std::fputs(vexa::CommandLineAnswer(line.Request).c_str(), stdout);
        return 0;
    }

    // Qt sees the program name only, so that none of its own options
    // (-reverse, -style, ...) can take the puzzle argument.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication qapp(qtArgc, qtArgv);
    QApplication::setApplicationDisplayName(vexa::kCaption);
    vexa::InstallQtTranslation(qapp);

    vexa::TSingleInstance instance;
    if (!instance.TryBecomeFirst()) {
        instance.AskFirstToShow(line.PendingFile);
        return 1;
    }

    const vexa::TSettingsPathResult settings =
        vexa::MakeSettingsPath(vexa::CurrentProgramPath(), vexa::DefaultSettingsFallbackDir());

    // A save cut short by a kill is finished before anything reads the file;
    // later saves run beside the window, so a big file never holds it up.
    vexa::RecoverProfileFile(settings.Path);
    vexa::SetSettingsSavesInBackground(true);

    vexa::TKavrikApp app(settings.Path);
    app.PendingFile = line.PendingFile;  // the name's bytes as given
    QObject::connect(&instance, &vexa::TSingleInstance::ShowRequested, &app, &vexa::TKavrikApp::ShowFrame);
    QObject::connect(&instance, &vexa::TSingleInstance::FileHandedOver, &app, &vexa::TKavrikApp::OpenHandedFile);
    const int status = app.Run();
    vexa::WaitForSettingsSaves();  // the last result reaches the disk before the program ends
    return status;
}
