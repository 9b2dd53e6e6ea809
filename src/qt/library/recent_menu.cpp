#include "library/recent_menu.h"

#include "library/library_state.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <sys/stat.h>

namespace vexa {

void FillRecentMenu(QMenu* menu, const std::string& statePath, int hintId,
                    const std::function<void(const QByteArray&)>& open) {
    menu->clear();
    const TLibraryState state = LoadLibraryState(statePath);
    int n = 0;
    for (const std::string& path : state.Recent) {
        const QByteArray bytes = QByteArray::fromStdString(path);
        QString name = QFileInfo(QFile::decodeName(bytes)).fileName();
        // "&1" to "&8": the digit chooses the item from the keyboard.
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(name.replace('&', "&&")));
        action->setToolTip(QFile::decodeName(bytes));
        action->setProperty("hintId", hintId);
        struct stat st {};
        action->setEnabled(::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode));
        QObject::connect(action, &QAction::triggered, menu, [open, bytes] {
            if (open) open(bytes);
        });
    }
    if (n == 0) menu->addAction(QStringLiteral("(なし)"))->setEnabled(false);
}

void KeepRecentMenu(QMenu* menu, std::string statePath, int hintId, std::function<void(const QByteArray&)> open) {
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, statePath, hintId, open] {
        FillRecentMenu(menu, statePath, hintId, open);
    });
    FillRecentMenu(menu, statePath, hintId, open);
}

}  // namespace vexa
