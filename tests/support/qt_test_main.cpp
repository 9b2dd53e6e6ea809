// Entry point for the Qt test programs: headless platform and private
// runtime/config folders, so tests neither collide nor touch a user's files.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    QTemporaryDir configDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
