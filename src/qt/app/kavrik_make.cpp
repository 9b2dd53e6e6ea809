// 写真から問題を作る: the application's side. The photo and the options are
// asked on the UI thread, the maker runs on a worker thread behind a progress
// dialog, and the puzzle it made is written beside the player's own puzzles
// and played as any file named from outside.
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "app/make_options_dialog.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "framework/message_box.h"
#include "framework/open_dialog.h"
#include "framework/status_bar.h"
#include "framework/window_placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <random>

namespace vexa {

namespace {

constexpr int kMaxSameNames = 999;

QString NameFor(const QString& base, int n) {
    return n == 1 ? base + QStringLiteral(".VX") : QStringLiteral("%1-%2.VX").arg(base).arg(n);
}

// The photo's base name, cut so that the longest name tried still fits the
// player's name buffer.
QString BaseNameFor(const QString& folder, const QString& photoPath) {
    QString base = QFileInfo(photoPath).completeBaseName();
    if (base.isEmpty()) base = QStringLiteral("写真");
    const QDir dir(folder);
    while (base.size() > 1 && QFile::encodeName(dir.filePath(NameFor(base, kMaxSameNames))).size() > kMaxFileNameBytes) {
        base.chop(1);
        if (base.back().isHighSurrogate()) base.chop(1);
    }
    return base;
}

// Writes `bytes` to `folder` as <base>.VX, or <base>-2.VX, -3 ... where a
// name is taken. NewOnly creates the file only if no file of that name exists
// in the same step, so not even a race replaces a file. Empty on failure.
QString WriteNewPuzzle(const QString& folder, const QString& photoPath, const std::vector<std::uint8_t>& bytes) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    const QString base = BaseNameFor(folder, photoPath);
    for (int n = 1; n <= kMaxSameNames; ++n) {
        const QFileInfo target(QDir(folder).filePath(NameFor(base, n)));
        QFile file(target.filePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (target.exists() || target.isSymLink()) continue;
            return {};
        }
        const auto size = static_cast<qint64>(bytes.size());
        if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
            file.remove();  // a part of a puzzle is no puzzle
            return {};
        }
        file.close();
        if (file.error() != QFileDevice::NoError) {
            file.remove();
            return {};
        }
        return target.filePath();
    }
    return {};
}

std::uint64_t DrawSeed() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

}  // namespace

void TKavrikApp::RegisterMaker() {
    Commands_.SetHandler(CmMakeFromPhoto, [this] { CmMakePuzzle(); });
    // One puzzle at a time.
    Commands_.SetEnabler(CmMakeFromPhoto, [this](TCommandState& s) { s.Enabled = Making_ == nullptr; });
}

void TKavrikApp::SetupMaker() { InstallAccelerators(Frame_, Commands_, kMakeKeys); }

void TKavrikApp::CmMakePuzzle() {
    if (!Frame_ || Making_) return;
    QByteArray photo;
    if (RunOpenDialog(Frame_, photo, PhotoDialogFilters()) != 1) return;
    TMakeOptionsDialog ask(Frame_);
    CentreOn(&ask, Frame_);
    if (RunMakeOptionsDialog(ask) != QDialog::Accepted) return;
    authoring::MakeOptions options;
    options.differences = ask.Differences();
    options.difficulty = ask.Difficulty();
    options.seed = DrawSeed();

    Making_ = new TPhotoMaking(Maker, QFile::decodeName(photo).toStdString(), options, this);
    connect(Making_, &TPhotoMaking::Finished, this, &TKavrikApp::EvMade);

    // Window-modal: the frame repaints and the clock's ticks wait, as for any box.
    auto* progress = new QProgressDialog(QStringLiteral("写真から問題を作っています..."),
                                         QStringLiteral("キャンセル"), 0, 100, Frame_);
    progress->setWindowTitle(kCaption);
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    connect(progress, &QProgressDialog::canceled, Making_, [making = Making_, progress] {
        making->Cancel();
        progress->setLabelText(QStringLiteral("中止しています..."));
    });
    // The maker reports through a counter; the dialog reads it a few times a second.
    auto* poll = new QTimer(progress);
    poll->setInterval(100);
    connect(poll, &QTimer::timeout, progress, [this, progress] {
        if (Making_) progress->setValue(Making_->Percent());
    });
    MakingProgress_ = progress;
    Making_->Start();
    poll->start();
    progress->show();
    Commands_.Refresh();
}

void TKavrikApp::StopMaking() {
    if (MakingProgress_) {
        MakingProgress_->hide();
        MakingProgress_->deleteLater();  // it may be running its own setValue
        MakingProgress_ = nullptr;
    }
    if (!Making_) return;
    TPhotoMaking* making = Making_;
    Making_ = nullptr;
    delete making;  // cancels and waits; its late Finished goes with it
    Commands_.Refresh();
}

void TKavrikApp::EvMade() {
    if (!Making_) return;
    TPhotoMaking* making = Making_;
    Making_ = nullptr;
    making->deleteLater();  // its signal is being delivered now
    if (MakingProgress_) {
        MakingProgress_->hide();
        MakingProgress_->deleteLater();
        MakingProgress_ = nullptr;
    }
    Commands_.Refresh();

    // Taken now: the ready question below runs an event loop of its own.
    const authoring::MakeResult made = std::move(making->Result());
    const int asked = making->Options().differences;
    const QString photo = QString::fromStdString(making->PhotoPath());
    if (made.failure == authoring::MakeFailure::Cancelled) return;
    if (made.failure != authoring::MakeFailure::None) {
        ShowMessage(Frame_, MakeFailureText(made.failure));
        return;
    }
    const QString folder = QFile::decodeName(QByteArray::fromStdString(LibraryPaths.Places.MyPuzzles));
    const QString written = WriteNewPuzzle(folder, photo, made.puzzle);
    if (written.isEmpty()) {
        ShowMessage(Frame_, kMsgMadeNotWritten.arg(QDir::toNativeSeparators(folder)));
        return;
    }
    LoadNamedFile(QFile::encodeName(written), true);
    if (made.differences < asked && Running() && Status_)
        Status_->ShowNote(kMadeFewerFormat.arg(made.differences));
}

}  // namespace vexa
