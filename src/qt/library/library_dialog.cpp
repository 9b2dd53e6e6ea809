#include "library/library_dialog.h"

#include "framework/window_placement.h"
#include "play/play_messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStringDecoder>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <thread>

namespace vexa {

namespace {

enum Column { TitleColumn, CountColumn, ResultColumn };
constexpr int kEntryRole = Qt::UserRole + 1;

QString FromBytes(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

QString FromShiftJis(const std::string& bytes) {
    QStringDecoder decoder("Shift_JIS");
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString HeadingText(const TLibraryFolder& folder) {
    switch (folder.Group) {
    case TLibraryGroup::MyPuzzles: return QStringLiteral("自分の問題");
    case TLibraryGroup::AddedFolder: return QStringLiteral("追加したフォルダ: %1").arg(FromBytes(folder.Path));
    case TLibraryGroup::LastFolder:
        return QStringLiteral("最後に遊んだ問題のフォルダ: %1").arg(FromBytes(folder.Path));
    case TLibraryGroup::Bundled: return QStringLiteral("付属の問題");
    }
    return {};
}

QPixmap ThumbnailPixmap(const TThumbnail& t) {
    if (t.Empty()) {
        QPixmap blank(kThumbnailBox, kThumbnailBox * 3 / 4);
        blank.fill(Qt::transparent);
        return blank;
    }
    const QImage image(t.Rgb.data(), t.Width, t.Height, t.Width * 3, QImage::Format_RGB888);
    return QPixmap::fromImage(image.copy());
}

std::function<int(TLibraryDialog&)>& DialogHook() {
    static std::function<int(TLibraryDialog&)> hook;
    return hook;
}

}  // namespace

int RunLibraryDialog(TLibraryDialog& dialog) { return DialogHook() ? DialogHook()(dialog) : dialog.exec(); }

void SetLibraryDialogHook(std::function<int(TLibraryDialog&)> hook) { DialogHook() = std::move(hook); }

TLibraryDialog::TLibraryDialog(const TLibraryPaths& paths, std::string settingsPath, QWidget* parent)
    : QDialog(parent), Paths_(paths), SettingsPath_(std::move(settingsPath)), Cache_(paths.CacheFolder) {
    setWindowTitle(QStringLiteral("問題集"));
    ChooseFolder = [](QWidget* owner) {
        return QFileDialog::getExistingDirectory(owner, QStringLiteral("フォルダを追加"));
    };

    Progress_ = new QLabel(this);
    Filter_ = new QLineEdit(this);
    Filter_->setPlaceholderText(QStringLiteral("題名で絞り込む"));
    Filter_->setClearButtonEnabled(true);
    Sort_ = new QComboBox(this);
    Sort_->addItems({QStringLiteral("名前順"), QStringLiteral("結果順"), QStringLiteral("日付順")});
    auto* filterLabel = new QLabel(QStringLiteral("絞り込み(&T):"), this);
    filterLabel->setBuddy(Filter_);
    auto* sortLabel = new QLabel(QStringLiteral("並べ方(&S):"), this);
    sortLabel->setBuddy(Sort_);

    Tree_ = new QTreeWidget(this);
    Tree_->setColumnCount(3);
    Tree_->setHeaderLabels({QStringLiteral("題名"), QStringLiteral("間違い"), QStringLiteral("結果")});
    Tree_->setIconSize(QSize(kThumbnailBox, kThumbnailBox));
    Tree_->setRootIsDecorated(false);
    Tree_->setItemsExpandable(false);
    Tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree_->header()->setStretchLastSection(false);
    Tree_->header()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    Tree_->header()->setSectionResizeMode(CountColumn, QHeaderView::ResizeToContents);
    Tree_->header()->setSectionResizeMode(ResultColumn, QHeaderView::ResizeToContents);
    Tree_->installEventFilter(this);

    auto* addFolder = new QPushButton(QStringLiteral("フォルダを追加(&A)..."), this);
    RemoveFolder_ = new QPushButton(QStringLiteral("フォルダを外す(&R)"), this);
    Play_ = new QPushButton(QStringLiteral("遊ぶ(&P)"), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton* b : {addFolder, RemoveFolder_, Play_, close}) b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(Filter_, 1);
    top->addWidget(sortLabel);
    top->addWidget(Sort_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(addFolder);
    bottom->addWidget(RemoveFolder_);
    bottom->addStretch(1);
    bottom->addWidget(Play_);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Progress_);
    layout->addLayout(top);
    layout->addWidget(Tree_, 1);
    layout->addLayout(bottom);

    connect(Filter_, &QLineEdit::textChanged, this, &TLibraryDialog::Arrange);
    connect(Sort_, &QComboBox::currentIndexChanged, this, &TLibraryDialog::Arrange);
    connect(Tree_, &QTreeWidget::itemActivated, this, &TLibraryDialog::Activate);
    connect(Tree_, &QTreeWidget::currentItemChanged, this, &TLibraryDialog::StepOverHeading);
    connect(Tree_, &QTreeWidget::currentItemChanged, this, &TLibraryDialog::UpdateButtons);
    connect(Play_, &QPushButton::clicked, this, [this] { Activate(Tree_->currentItem()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(addFolder, &QPushButton::clicked, this, &TLibraryDialog::AddFolderClicked);
    connect(RemoveFolder_, &QPushButton::clicked, this, &TLibraryDialog::RemoveFolderClicked);

    resize(QSize(720, 600));
    if (parent) {
        const QSize largest = LargestSizeOnScreen(parent);
        if (largest.isValid()) resize(size().boundedTo(largest));
    }
    Reload();
}

TLibraryDialog::~TLibraryDialog() { Scan_.reset(); }

void TLibraryDialog::Reload() {
    Scan_.reset();
    State_ = LoadLibraryState(Paths_.StateFile);
    Folders_ = LibraryFolders(Paths_.Places, State_);
    Entries_ = ListLibrary(Folders_);
    Tree_->clear();
    Headings_.clear();
    Items_.clear();
    QFont headingFont = Tree_->font();
    headingFont.setBold(true);
    for (const TLibraryFolder& folder : Folders_) {
        auto* heading = new QTreeWidgetItem(Tree_, {HeadingText(folder)});
        // Not selectable (StepOverHeading moves the arrow keys past it), but
        // enabled, since a disabled item disables its rows.
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setFirstColumnSpanned(true);
        heading->setFont(TitleColumn, headingFont);
        heading->setExpanded(true);
        Headings_.push_back(heading);
    }
    for (std::size_t i = 0; i < Entries_.size(); ++i) {
        auto* item = new QTreeWidgetItem;
        item->setData(TitleColumn, kEntryRole, static_cast<qulonglong>(i));
        item->setTextAlignment(CountColumn, Qt::AlignCenter);
        Items_.push_back(item);
        ShowEntry(i);
    }
    Arrange();
    const std::vector<std::size_t> shown = ArrangeLibrary(Entries_, static_cast<TLibrarySort>(Sort_->currentIndex()),
                                                          Filter_->text().toStdString());
    const int row = InitialSelection(Entries_, shown, State_.LastPlayed);
    if (row >= 0) Select(Items_[shown[static_cast<std::size_t>(row)]]);
    Tree_->setFocus();
    UpdateButtons();
    StartScan();
}

void TLibraryDialog::StartScan() {
    Pending_ = Entries_.size();
    UpdateProgress();
    if (Entries_.empty()) return;
    std::vector<std::string> paths;
    for (const TLibraryEntry& e : Entries_) paths.push_back(e.Path);
    // Thumbnails come side by side on every core; each is handed to the
    // window's thread to be shown.
    // A summary still queued from before a reload names an old entry: the
    // generation tells it apart.
    const unsigned generation = ++Generation_;
    Scan_ = std::make_unique<TLibraryScan>(
        std::move(paths), Paths_.CacheFolder.empty() ? nullptr : &Cache_, 0,
        [this, generation](std::size_t index, TPuzzleSummary summary) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, index, s = std::move(summary)]() mutable {
                    if (generation == Generation_) TakeSummary(index, std::move(s));
                },
                Qt::QueuedConnection);
        });
}

void TLibraryDialog::TakeSummary(std::size_t index, TPuzzleSummary summary) {
    if (index >= Entries_.size() || Entries_[index].Summarised) return;
    TLibraryEntry& e = Entries_[index];
    e.Summary = std::move(summary);
    e.Summarised = true;
    if (!e.Unreadable()) {
        e.Result = ReadLibraryResult(SettingsPath_, e.Summary.Section);
        const QString title = FromShiftJis(e.Summary.Title);
        if (!title.isEmpty()) e.DisplayTitle = title.toStdString();
    }
    ShowEntry(index);
    --Pending_;
    UpdateProgress();
    // Titles and results take part in the filter and the result order.
    if (!Filter_->text().isEmpty() || Sort_->currentIndex() == static_cast<int>(TLibrarySort::Result)) ArrangeSoon();
}

void TLibraryDialog::ShowEntry(std::size_t index) {
    const TLibraryEntry& e = Entries_[index];
    QTreeWidgetItem* item = Items_[index];
    const QString fileName = FromBytes(e.FileName);
    item->setIcon(TitleColumn, ThumbnailPixmap(e.Summary.Thumbnail));
    if (!e.Summarised) {
        item->setText(TitleColumn, fileName);
        item->setText(CountColumn, QString());
        item->setText(ResultColumn, QString());
        return;
    }
    if (e.Unreadable()) {
        const QString message = QString::fromUtf8(LoadErrorText(e.Summary.Error));
        item->setText(TitleColumn, fileName + QStringLiteral("\n") + message);
        item->setToolTip(TitleColumn, message);
        item->setText(CountColumn, QStringLiteral("-"));
        item->setText(ResultColumn, QStringLiteral("読めません"));
        for (int c = 0; c < 3; ++c) item->setForeground(c, QApplication::palette().brush(QPalette::Disabled, QPalette::Text));
        return;
    }
    const QString title = QString::fromStdString(e.DisplayTitle);
    item->setText(TitleColumn, title == fileName ? title : title + QStringLiteral("\n") + fileName);
    item->setToolTip(TitleColumn, FromBytes(e.Path));
    item->setText(CountColumn, QString::number(e.Summary.DiffCount));
    item->setText(ResultColumn, QString::fromUtf8(LibraryResultText(e.Result)));
}

void TLibraryDialog::ArrangeSoon() {
    if (ArrangePending_) return;
    ArrangePending_ = true;
    QTimer::singleShot(0, this, [this] {
        ArrangePending_ = false;
        Arrange();
    });
}

void TLibraryDialog::Arrange() {
    const int current = EntryOf(Tree_->currentItem());
    const std::vector<std::size_t> shown = ArrangeLibrary(Entries_, static_cast<TLibrarySort>(Sort_->currentIndex()),
                                                          Filter_->text().toStdString());
    for (QTreeWidgetItem* heading : Headings_) heading->takeChildren();
    std::vector<int> counts(Headings_.size(), 0);
    for (std::size_t i : shown) {
        const auto folder = static_cast<std::size_t>(Entries_[i].FolderIndex);
        Headings_[folder]->addChild(Items_[i]);
        ++counts[folder];
    }
    for (std::size_t f = 0; f < Headings_.size(); ++f) {
        Headings_[f]->setHidden(counts[f] == 0);
        Headings_[f]->setExpanded(true);
    }
    // The selection stays on its puzzle while that is shown, else the first.
    QTreeWidgetItem* select = nullptr;
    if (current >= 0 && Items_[static_cast<std::size_t>(current)]->parent())
        select = Items_[static_cast<std::size_t>(current)];
    else if (!shown.empty())
        select = Items_[shown.front()];
    Select(select);
    UpdateButtons();
}

void TLibraryDialog::Select(QTreeWidgetItem* item) {
    Tree_->setCurrentItem(item);
    ScrollToCurrent();
}

void TLibraryDialog::ScrollToCurrent() {
    QTreeWidgetItem* item = Tree_->currentItem();
    if (!item) return;
    // The first row of a group brings its heading into view with it.
    QTreeWidgetItem* heading = item->parent();
    if (heading && heading->indexOfChild(item) == 0) {
        if (Tree_->indexOfTopLevelItem(heading) == 0) Tree_->scrollToTop();
        else Tree_->scrollToItem(heading);
    }
    Tree_->scrollToItem(item);
}

void TLibraryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &TLibraryDialog::ScrollToCurrent);
}

void TLibraryDialog::StepOverHeading(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    // The arrow keys land on a heading now and then: go on to the next row
    // in the same direction.
    if (!current || EntryOf(current) >= 0 || current->parent()) return;
    const bool down = previous && Tree_->visualItemRect(previous).top() < Tree_->visualItemRect(current).top();
    QTreeWidgetItem* next = down ? Tree_->itemBelow(current) : Tree_->itemAbove(current);
    while (next && EntryOf(next) < 0) next = down ? Tree_->itemBelow(next) : Tree_->itemAbove(next);
    // After the key's own selection update is done.
    QTimer::singleShot(0, this, [this, current, target = next ? next : previous] {
        if (Tree_->currentItem() != current) return;
        Select(target);
        if (target) target->setSelected(true);
    });
}

void TLibraryDialog::UpdateProgress() {
    const TLibraryProgress p = CountProgress(Entries_);
    QString text = QStringLiteral("全問正解 %1 / %2 問").arg(p.Solved).arg(p.Total);
    if (Pending_ > 0)
        text += QStringLiteral("　（読み込み中 %1 / %2）").arg(Entries_.size() - Pending_).arg(Entries_.size());
    Progress_->setText(text);
}

int TLibraryDialog::EntryOf(const QTreeWidgetItem* item) const {
    if (!item) return -1;
    const QVariant v = item->data(TitleColumn, kEntryRole);
    return v.isValid() ? static_cast<int>(v.toULongLong()) : -1;
}

void TLibraryDialog::Activate(QTreeWidgetItem* item) {
    const int index = EntryOf(item);
    if (index < 0) return;
    const TLibraryEntry& e = Entries_[static_cast<std::size_t>(index)];
    // An unreadable file says why in its row; there is nothing to play.
    if (e.Unreadable()) return;
    Chosen_ = QByteArray::fromStdString(e.Path);
    accept();
}

void TLibraryDialog::UpdateButtons() {
    const int index = EntryOf(Tree_->currentItem());
    Play_->setEnabled(index >= 0 && !Entries_[static_cast<std::size_t>(index)].Unreadable());
    RemoveFolder_->setEnabled(index >= 0 &&
                              Entries_[static_cast<std::size_t>(index)].Group == TLibraryGroup::AddedFolder);
}

void TLibraryDialog::AddFolderClicked() {
    const QString folder = ChooseFolder ? ChooseFolder(this) : QString();
    if (folder.isEmpty()) return;
    if (AddFolder(State_, QFile::encodeName(folder).toStdString())) {
        SaveLibraryState(Paths_.StateFile, State_);
        Reload();
    }
}

void TLibraryDialog::RemoveFolderClicked() {
    const int index = EntryOf(Tree_->currentItem());
    if (index < 0) return;
    const TLibraryEntry& e = Entries_[static_cast<std::size_t>(index)];
    if (e.Group != TLibraryGroup::AddedFolder) return;
    if (RemoveFolder(State_, Folders_[static_cast<std::size_t>(e.FolderIndex)].Path)) {
        SaveLibraryState(Paths_.StateFile, State_);
        Reload();
    }
}

void TLibraryDialog::WaitForSummaries() {
    while (Pending_ > 0) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::yield();
    }
    QApplication::processEvents();
}

bool TLibraryDialog::eventFilter(QObject* watched, QEvent* event) {
    // Typing in the list goes to the filter, and the list keeps the focus.
    if (watched == Tree_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && key->key() == Qt::Key_Backspace && !Filter_->text().isEmpty()) {
            Filter_->backspace();
            return true;
        }
        const QString text = key->text();
        if (plain && !text.isEmpty() && text.at(0).isPrint()) {
            Filter_->insert(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vexa
