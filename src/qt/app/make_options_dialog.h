// 写真から問題を作る's small dialog: how many differences (3 to 10) and how
// hard they are to find, before the work starts.
#pragma once

#include "authoring/make_puzzle.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QSpinBox;

namespace vexa {

class TMakeOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TMakeOptionsDialog(QWidget* parent);

    int Differences() const;
    authoring::Difficulty Difficulty() const;

    QSpinBox* DifferencesBox() const { return Differences_; }
    QComboBox* DifficultyBox() const { return Difficulty_; }

private:
    QSpinBox* Differences_;
    QComboBox* Difficulty_;
};

// Runs the dialog modally, or hands it to the test hook; returns its result.
int RunMakeOptionsDialog(TMakeOptionsDialog& dialog);
// Tests answer the dialog through this hook instead of its modal loop. Pass {} to remove it.
void SetMakeOptionsDialogHook(std::function<int(TMakeOptionsDialog&)> hook);

}  // namespace vexa
