#include "framework/help_window.h"

#include "framework/window_placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(HelpWindow, ManualNamesTheSettingsFileInUse) {
    QWidget owner;
    struct Case {
        QString have;
        QString want;
    };
    for (const Case& c : {Case{"/home/ユーザー/.config/vexa/vexa.Ini", "/home/ユーザー/.config/vexa/vexa.Ini"},
                          Case{"/tmp/a<b>&c.Ini", "/tmp/a<b>&c.Ini"},
                          Case{"", "まだ決まっていません"}}) {
        THelpWindow help(&owner, c.have);
        const QString text = help.toPlainText();
        EXPECT_TRUE(text.contains(c.want)) << c.have.toStdString();
        EXPECT_FALSE(text.contains("{{")) << "no placeholder left";
        EXPECT_TRUE(text.contains("vexa-tool check")) << "the authoring section is there";
        EXPECT_TRUE(text.contains(InstalledReadme())) << "the manual points to the README";
    }
}

TEST(HelpWindow, ReadmeOfAnInstalledCopyLiesUnderItsPrefix) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    EXPECT_EQ(InstalledReadme(prefix.filePath("bin")), "/usr/share/doc/vexa/README.md");
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/doc/vexa"));
    QFile readme(prefix.filePath("share/doc/vexa/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    EXPECT_EQ(InstalledReadme(prefix.filePath("bin")), QFileInfo(readme).absoluteFilePath());
}

// Opened from the frame, the help window sits centred on it, within the screen.
TEST(HelpWindow, CentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 80, 500, 400);
    THelpWindow help(&owner);
    help.resize(300, 200);
    CentreOn(&help, &owner);
    EXPECT_EQ(help.geometry().center(), owner.geometry().center());
}

}  // namespace
}  // namespace vexa::test
