#include "framework/help_window.h"

#include "framework/message_box.h"

#include <QUrl>

// The manual lives in a resource of a static library, which the linker keeps
// only when something names it.
static void InitManualResource() { Q_INIT_RESOURCE(vexa); }

namespace vexa {

THelpWindow::THelpWindow(QWidget* owner) : QTextBrowser(owner) {
    InitManualResource();
    setWindowFlag(Qt::Window, true);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("ヘルプ - ") + kCaption);
    setOpenExternalLinks(false);
    setSource(QUrl(QString::fromLatin1(kManualUrl)));
    resize(600, 560);
}

}  // namespace vexa
