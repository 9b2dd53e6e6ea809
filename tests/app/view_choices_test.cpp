// 並べて表示 and the zoom through the player's keys and menu: where their
// items sit, the frame fitted to what shows, the hint's frame at the zoom,
// and the choices kept in the settings file for the next run.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/hint_texts.h"
#include "play/hint.h"
#include "viewcore/pair_layout.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

namespace vexa::test {
namespace {

class ViewChoicesTest : public AppTest {
protected:
    // Wider than the frame's narrowest (its menu bar), small enough to be
    // fitted at 150 % on the test's 800 x 800 screen.
    static constexpr int kWidth = 480, kHeight = 270;

    void StartGame() {
        TPuzzleData record;
        FillThreeDifferences(record, "zoom", "zoom", kWidth, kHeight);
        record.BasePictures[4] = Dib24(kWidth, kHeight, [](int, int) { return 0x3070A0u; });
        App->PendingFile = QFile::encodeName(SaveRecord(QStringLiteral("zoom.VX"), record));
        Start();
        ASSERT_EQ(App->Running(), 1);
    }
    bool CtrlKey(int key) { return qt_sendShortcutOverrideEvent(App->Frame(), 0, key, Qt::ControlModifier); }
    QByteArray Settings() const {
        QFile file(QString::fromStdString(App->SettingsPath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The view is exactly as large as what it shows (the frame was fitted).
    void ExpectFitted() {
        EXPECT_EQ(App->View()->width(), App->View()->ContentWidth());
        EXPECT_EQ(App->View()->height(), App->View()->ContentHeight());
    }
    QImage Painted() {
        App->View()->FinishWipe();
        return App->View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(ViewChoicesTest, TheViewMenuEndsWithThePairAndTheZoomBeforeTheMinimisingPause) {
    Start();
    QMenu* view = App->Frame()->menuBar()->actions().at(4)->menu();
    QStringList items;
    for (QAction* a : view->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    const QStringList want = {
        QStringLiteral("ツールバー(&T)"), QStringLiteral("ステータスバー(&S)"), QStringLiteral("-"),
        QStringLiteral("最下段に感応型ヘルプ(&F)"), QStringLiteral("-"), QStringLiteral("目立つマーカー"),
        QStringLiteral("-"), QStringLiteral("並べて表示(&B)\tF6"), QStringLiteral("拡大(&I)\tCtrl++"),
        QStringLiteral("縮小(&O)\tCtrl+-"), QStringLiteral("実際のサイズ(&A)\tCtrl+0"),
        QStringLiteral("ウィンドウに合わせる(&W)"), QStringLiteral("-"), QStringLiteral("最小化で一時停止"),
    };
    EXPECT_EQ(items, want);
    EXPECT_TRUE(App->Commands().Action(CmSideBySide)->isCheckable());
    EXPECT_FALSE(App->Commands().Action(CmSideBySide)->isChecked()) << "off at first";
    for (int id : {CmSideBySide, CmZoomIn, CmZoomOut, CmZoomActual, CmZoomFit}) EXPECT_FALSE(HintText(id).isEmpty());
}

TEST_F(ViewChoicesTest, F6ShowsTheSceneAndThePhotoTogetherFittedAndKeepsTheChoice) {
    StartGame();
    ExpectFitted();
    ASSERT_TRUE(Key(Qt::Key_F6));
    EXPECT_TRUE(App->View()->ShowsPair());
    EXPECT_TRUE(App->Commands().Action(CmSideBySide)->isChecked());
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene) << "F8 stays chosen";
    // Wide pictures on the test's square screen go one above the other.
    EXPECT_EQ(App->View()->ContentWidth(), kWidth);
    EXPECT_EQ(App->View()->ContentHeight(), 2 * kHeight + kPairGap);
    ExpectFitted();
    App->View()->FinishWipe();
    EXPECT_TRUE(App->View()->MarkerVisible(0)) << "the markers lie on the photo";
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(0, kHeight + kPairGap));
    EXPECT_TRUE(Settings().contains("\r\nSideBySide=1\r\n"));

    // F9 keeps both; F6 again shows the photo alone.
    ASSERT_TRUE(Key(Qt::Key_F9));
    EXPECT_TRUE(App->View()->ShowsPair());
    ASSERT_TRUE(Key(Qt::Key_F6));
    EXPECT_FALSE(App->View()->ShowsPair());
    EXPECT_EQ(App->View()->ContentWidth(), kWidth);
    ExpectFitted();
    EXPECT_TRUE(Settings().contains("\r\nSideBySide=0\r\n"));
}

TEST_F(ViewChoicesTest, ZoomKeysStepFitTheFrameScaleTheHintAndAreKeptForTheNextRun) {
    StartGame();
    ASSERT_TRUE(Key(Qt::Key_F9));
    struct Step {
        int key;
        double scale;
    };
    const Step steps[] = {{Qt::Key_Plus, 1.25}, {Qt::Key_Equal, 1.5}, {Qt::Key_Minus, 1.25},
                          {Qt::Key_0, 1.0},     {Qt::Key_Plus, 1.25}, {Qt::Key_Plus, 1.5}, {Qt::Key_Plus, 2.0}};
    for (const Step& s : steps) {
        ASSERT_TRUE(CtrlKey(s.key));
        EXPECT_DOUBLE_EQ(App->View()->Scale(), s.scale);
        EXPECT_EQ(App->View()->ContentWidth(), static_cast<int>(kWidth * s.scale));
        if (s.scale <= 1.5) ExpectFitted();
    }
    // At 200 % the frame fills the screen and the view scrolls.
    EXPECT_GT(App->View()->XRange(), 0);
    EXPECT_TRUE(Settings().contains("\r\nZoom=200\r\n"));

    // The hint's frame is drawn at the zoom: 34 picture pixels left of the
    // difference at 40..69 x 30..59, so 68 screen pixels.
    ASSERT_TRUE(Key(Qt::Key_H));
    const QRgb ring = Painted().pixel(12, 90);
    EXPECT_TRUE(qRed(ring) > 200 && qGreen(ring) > 150 && qBlue(ring) < 90) << std::hex << ring;

    // ウィンドウに合わせる keeps the frame and fills the view.
    const QSize frame = App->Frame()->size();
    ASSERT_TRUE(App->Commands().Execute(CmZoomFit));
    EXPECT_TRUE(App->Commands().Action(CmZoomFit)->isChecked());
    EXPECT_EQ(App->Frame()->size(), frame);
    EXPECT_TRUE(App->View()->ContentWidth() == App->View()->width() ||
                App->View()->ContentHeight() == App->View()->height());
    EXPECT_TRUE(Settings().contains("\r\nZoom=fit\r\n"));

    // The next run starts at the kept zoom.
    App->Commands().Execute(CmZoomOut);
    const double kept = App->View()->Scale();
    const std::string path = App->SettingsPath();
    App.reset();
    App = std::make_unique<TKavrikApp>(path);
    App->LibraryPaths = {{Dir.filePath(QStringLiteral("my-puzzles")).toStdString(), {}},
                         Dir.filePath(QStringLiteral("state/vexa/library")).toStdString(),
                         Dir.filePath(QStringLiteral("cache/vexa/thumbnails")).toStdString()};
    StartGame();
    EXPECT_DOUBLE_EQ(App->View()->Scale(), kept);
}

}  // namespace
}  // namespace vexa::test
