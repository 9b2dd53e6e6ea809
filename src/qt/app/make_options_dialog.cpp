#include "app/make_options_dialog.h"

#include "framework/message_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace vexa {

namespace {
std::function<int(TMakeOptionsDialog&)>& Hook() {
    static std::function<int(TMakeOptionsDialog&)> hook;
    return hook;
}
}  // namespace

int RunMakeOptionsDialog(TMakeOptionsDialog& dialog) { return Hook() ? Hook()(dialog) : dialog.exec(); }

void SetMakeOptionsDialogHook(std::function<int(TMakeOptionsDialog&)> hook) { Hook() = std::move(hook); }

TMakeOptionsDialog::TMakeOptionsDialog(QWidget* parent)
    : QDialog(parent), Differences_(new QSpinBox(this)), Difficulty_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("写真から問題を作る"));
    Differences_->setRange(authoring::kMinMadeDifferences, authoring::kMaxMadeDifferences);
    Differences_->setValue(authoring::kDefaultMadeDifferences);
    // In the order of authoring::Difficulty.
    Difficulty_->addItems({QStringLiteral("やさしい"), QStringLiteral("ふつう"), QStringLiteral("むずかしい")});
    Difficulty_->setCurrentIndex(static_cast<int>(authoring::Difficulty::Normal));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("間違いの数(&N):"), Differences_);
    form->addRow(QStringLiteral("難しさ(&D):"), Difficulty_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // Wide enough for the title bar, which adds the program's name to the title.
    const QString caption = windowTitle() + QStringLiteral(" — ") + kCaption;
    setFixedSize(std::max(sizeHint().width(), CaptionWidth(font(), caption)), sizeHint().height());
}

int TMakeOptionsDialog::Differences() const { return Differences_->value(); }

authoring::Difficulty TMakeOptionsDialog::Difficulty() const {
    switch (Difficulty_->currentIndex()) {
    case 0: return authoring::Difficulty::Easy;
    case 2: return authoring::Difficulty::Hard;
    default: return authoring::Difficulty::Normal;
    }
}

}  // namespace vexa
