#include "framework/help_window.h"

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
    }
}

}  // namespace
}  // namespace vexa::test
