// An application object with a private settings path, its frame shown on the
// offscreen platform, message boxes and the open dialog answered by hooks,
// and small puzzle files written by the test.
#pragma once

#include "app/kavrik_app.h"
#include "framework/decorated_frame.h"
#include "framework/message_box.h"
#include "framework/open_dialog.h"
#include "picture_builders.h"
#include "puzzle/puzzle_writer.h"
#include "view/bit_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// Runs the shortcut map for a key press, as a real key would.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace vexa::test {

// A w x h 24-bit DIB of one colour; `claimHeight` lets the header lie.
inline Block SolidDib(int w, int h, std::uint8_t grey, int claimHeight = 0) {
    Block b = Dib24(w, h, [grey](int, int) { return std::uint32_t{grey} * 0x010101u; });
    if (claimHeight) PutLe(b, 8, static_cast<std::uint32_t>(claimHeight), 4);
    return b;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([this](QWidget* owner, const QString& text, QMessageBox::StandardButtons) {
            Messages << text;
            Owners.push_back(owner);
            return Answers.isEmpty() ? QMessageBox::Ok : Answers.takeFirst();
        });
        App = std::make_unique<TKavrikApp>(Dir.filePath(QStringLiteral("vexa.Ini")).toStdString());
        // The puzzle list keeps its state and thumbnails in the test's folder.
        App->LibraryPaths = {{Dir.filePath(QStringLiteral("my-puzzles")).toStdString(), {}},
                             Dir.filePath(QStringLiteral("state/vexa/library")).toStdString(),
                             Dir.filePath(QStringLiteral("cache/vexa/thumbnails")).toStdString()};
    }

    void TearDown() override {
        App.reset();
        SetMessageBoxHook({});
        SetOpenDialogHook({});
    }

    void Start() {
        App->InitInstance();
        QApplication::setActiveWindow(App->Frame());
        QApplication::processEvents();
    }

    // A puzzle of `diffs` differences whose five pairs are w x h; a broken
    // pair 0 claims more rows than its picture holds.
    QString WritePuzzle(const QString& name, int diffs = 3, int w = 120, int h = 90, bool brokenScene = false) {
        TPuzzleData record;
        TPuzzleSideValues side;
        std::strcpy(record.Title, "test");
        std::strcpy(record.SectionName, "TEST");
        record.DiffCount = static_cast<std::int16_t>(diffs);
        for (int i = 0; i < diffs; ++i) record.DiffRects[i] = TDiffRect{10 * i, 5, 10 * i + 8, 13};
        for (int p = 0; p < kPairCount; ++p) {
            record.BasePictures[p] = SolidDib(w, h, static_cast<std::uint8_t>(40 * p + 20),
                                              p == 0 && brokenScene ? 60000 : 0);
            record.PairSizes[p] = TPairSize{static_cast<std::int16_t>(w), static_cast<std::int16_t>(h)};
        }
        const QString path = QDir(Dir.path()).filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(WritePuzzleFile(path.toStdString(), record, side));
        return path;
    }

    // Fills an empty record with three differences away from the corner where
    // the markers gather, on five solid w x h pairs of different greys.
    static void FillThreeDifferences(TPuzzleData& record, const char* title, const char* section, int w, int h) {
        std::strcpy(record.Title, title);
        std::strcpy(record.SectionName, section);
        record.DiffCount = 3;
        record.DiffRects[0] = TDiffRect{40, 30, 70, 60};
        record.DiffRects[1] = TDiffRect{150, 40, 190, 80};
        record.DiffRects[2] = TDiffRect{100, 120, 140, 160};
        for (int p = 0; p < kPairCount; ++p) {
            record.BasePictures[p] = SolidDib(w, h, static_cast<std::uint8_t>(30 * p + 20));
            record.PairSizes[p] = TPairSize{static_cast<std::int16_t>(w), static_cast<std::int16_t>(h)};
        }
    }

    // Writes `record` as `name` in the test's folder and returns its path.
    QString SaveRecord(const QString& name, const TPuzzleData& record) {
        const QString path = Dir.filePath(name);
        TPuzzleSideValues side;
        EXPECT_TRUE(WritePuzzleFile(path.toStdString(), record, side));
        return path;
    }

    bool Key(int key) { return qt_sendShortcutOverrideEvent(App->Frame(), 0, key, Qt::NoModifier); }

    QTemporaryDir Dir;
    std::unique_ptr<TKavrikApp> App;
    QStringList Messages;
    std::vector<QWidget*> Owners;
    QList<QMessageBox::StandardButton> Answers;
};

}  // namespace vexa::test
