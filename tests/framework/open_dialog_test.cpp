#include "framework/open_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace vexa {
namespace {

struct HookReset {
    ~HookReset() { SetOpenDialogHook({}); }
};

TEST(OpenDialog, OffersPuzzleFilterFirstAndReturnsTheChosenPath) {
    HookReset reset;
    QTemporaryDir dir;
    const QString chosen = dir.path() + QStringLiteral("/問題.VX");
    struct Case {
        const char* name;
        int dialogResult;
        QString dialogName;
        int wantResult;
        QString wantName;
    };
    const Case cases[] = {
        {"OK with a file", 1, chosen, 1, chosen},
        {"cancelled", 0, QString(), 0, QString()},
        {"OK without a name", 1, QString(), 0, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList filters;
        QString selected;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        SetOpenDialogHook([&](QFileDialog& dialog, QString& name) {
            filters = dialog.nameFilters();
            selected = dialog.selectedNameFilter();
            mode = dialog.fileMode();
            name = c.dialogName;
            return c.dialogResult;
        });
        QByteArray name = "left over";
        EXPECT_EQ(RunOpenDialog(nullptr, name), c.wantResult);
        EXPECT_EQ(name, QFile::encodeName(c.wantName));
        EXPECT_EQ(filters, (QStringList{QStringLiteral("間違い探しデータ(*.VX)"), QStringLiteral("全てのﾌｧｲﾙ (*.*)")}));
        EXPECT_EQ(selected, QStringLiteral("間違い探しデータ(*.VX)"));
        EXPECT_EQ(mode, QFileDialog::ExistingFile);
    }
}

// The names the dialog lists in `dir` with `filter` selected (as the user
// would choose it), once its model has filled in the background.
QStringList Listed(const QString& dir, const QString& filter, int atLeast) {
    QStringList listed;
    SetOpenDialogHook([&](QFileDialog& dialog, QString&) {
        dialog.setDirectory(dir);
        dialog.selectNameFilter(filter);
        emit dialog.filterSelected(filter);  // what choosing it in the box sends
        auto* model = dialog.findChild<QFileSystemModel*>();
        if (!model) return 0;
        const QModelIndex root = model->index(dir);
        QElapsedTimer waited;
        waited.start();
        while (model->rowCount(root) < atLeast && waited.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        for (int r = 0; r < model->rowCount(root); ++r) {
            const QModelIndex index = model->index(r, 0, root);
            if (model->flags(index) & Qt::ItemIsEnabled) listed << model->fileName(index);
        }
        return 0;
    });
    QByteArray name;
    RunOpenDialog(nullptr, name);
    listed.sort();
    return listed;
}

TEST(OpenDialog, AllFilesListsEveryFileAndNothingIsWritten) {
    HookReset reset;
    QTemporaryDir dir;
    for (const char* name : {"upper.VX", "README", "notes.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(Listed(dir.path(), OpenDialogFilters().last(), 3), (QStringList{"README", "notes.txt", "upper.VX"}));
    EXPECT_EQ(Listed(dir.path(), OpenDialogFilters().first(), 1), (QStringList{"upper.VX"}));
    // Qt's dialog keeps no history of its own in the user's configuration.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(config + "/QtProject.conf"));
    EXPECT_TRUE(QDir(config).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(OpenDialog, PuzzleFilterListsExtensionsInAnyCase) {
    HookReset reset;
    QTemporaryDir dir;
    for (const char* name : {"upper.VX", "lower.vx", "mixed.Vx", "other.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // The puzzle filter is the one the dialog opens with.
    const QStringList listed = Listed(dir.path(), OpenDialogFilters().first(), 3);
    EXPECT_EQ(listed, (QStringList{"lower.vx", "mixed.Vx", "upper.VX"}));
}

}  // namespace
}  // namespace vexa
