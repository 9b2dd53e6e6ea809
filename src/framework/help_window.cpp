#include "framework/help_window.h"

#include "framework/message_box.h"

#include <QFile>

// The manual lives in a resource of a static library, which the linker keeps
// only when something names it.
static void InitManualResource() { Q_INIT_RESOURCE(vexa); }

namespace vexa {

THelpWindow::THelpWindow(QWidget* owner, const QString& settingsPath) : QTextBrowser(owner) {
    InitManualResource();
    setWindowFlag(Qt::Window, true);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("ヘルプ - ") + kCaption);
    setOpenExternalLinks(false);
    QFile manual(QStringLiteral(":/help/manual.html"));
    QString html = manual.open(QIODevice::ReadOnly) ? QString::fromUtf8(manual.readAll()) : QString();
    html.replace(QStringLiteral("{{SETTINGS_PATH}}"),
                 settingsPath.isEmpty() ? QStringLiteral("（まだ決まっていません）") : settingsPath.toHtmlEscaped());
    setHtml(html);
    resize(600, 560);
}

}  // namespace vexa
