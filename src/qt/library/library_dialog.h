// 問題集: the puzzle list. Groups of puzzle files with a thumbnail of each
// photo, the title, the number of differences and the best result, overall
// progress at the top, a sort order and a title filter. Return or a
// double-click on a puzzle closes the list with that puzzle chosen; the
// caller plays it. Thumbnails are made on worker threads while the list shows.
#pragma once

#include "library/library_list.h"
#include "library/library_places.h"
#include "library/library_scan.h"
#include "library/thumbnail_cache.h"

#include <QByteArray>
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vexa {

class TLibraryDialog : public QDialog {
    Q_OBJECT
public:
    TLibraryDialog(const TLibraryPaths& paths, std::string settingsPath, QWidget* parent);
    ~TLibraryDialog() override;

    // The puzzle chosen (its path's bytes), once the dialog was accepted.
    const QByteArray& ChosenPath() const { return Chosen_; }

    // Asks for a folder to add; tests answer it. Empty: nothing chosen.
    std::function<QString(QWidget* parent)> ChooseFolder;

    // Waits (running events) until every summary has arrived; for tests and
    // the benchmark.
    void WaitForSummaries();
    bool AllSummarised() const { return Pending_ == 0; }

    // What the list holds and shows, for tests.
    const std::vector<TLibraryEntry>& Entries() const { return Entries_; }
    QTreeWidget* Tree() const { return Tree_; }
    QLineEdit* Filter() const { return Filter_; }
    QComboBox* Sort() const { return Sort_; }
    QLabel* Progress() const { return Progress_; }
    // The entry a row shows, -1 for a heading or nothing.
    int EntryOf(const QTreeWidgetItem* item) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Reload();
    void StartScan();
    void TakeSummary(std::size_t index, TPuzzleSummary summary);
    void ShowEntry(std::size_t index);
    void Arrange();
    void ArrangeSoon();
    void Select(QTreeWidgetItem* item);
    void ScrollToCurrent();
    void StepOverHeading(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void UpdateProgress();
    void Activate(QTreeWidgetItem* item);
    void AddFolderClicked();
    void RemoveFolderClicked();
    void UpdateButtons();

    TLibraryPaths Paths_;
    std::string SettingsPath_;
    TLibraryState State_;
    TThumbnailCache Cache_;
    std::vector<TLibraryEntry> Entries_;
    std::vector<QTreeWidgetItem*> Items_;   // one per entry
    std::vector<QTreeWidgetItem*> Headings_; // one per group shown
    std::vector<TLibraryFolder> Folders_;
    std::size_t Pending_ = 0;
    unsigned Generation_ = 0;  // of the scan whose summaries count
    bool ArrangePending_ = false;
    QByteArray Chosen_;

    QLabel* Progress_ = nullptr;
    QLineEdit* Filter_ = nullptr;
    QComboBox* Sort_ = nullptr;
    QTreeWidget* Tree_ = nullptr;
    QPushButton* Play_ = nullptr;
    QPushButton* RemoveFolder_ = nullptr;
    // Last, so that the workers stop before anything they report to goes.
    std::unique_ptr<TLibraryScan> Scan_;
};

// Runs the dialog modally and returns its result; tests answer it through
// the hook instead. Pass {} to remove the hook.
int RunLibraryDialog(TLibraryDialog& dialog);
void SetLibraryDialogHook(std::function<int(TLibraryDialog&)> hook);

}  // namespace vexa
