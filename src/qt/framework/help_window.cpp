#include "framework/help_window.h"

#include "framework/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    html.replace(QStringLiteral("{{README_PATH}}"), InstalledReadme().toHtmlEscaped());
    setHtml(html);
    resize(600, 560);
}

QString InstalledReadme(const QString& programDir) {
    // An installed copy keeps it in <prefix>/share/doc/vexa beside <prefix>/bin.
    const QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    const QString beside = QDir::cleanPath(dir + QStringLiteral("/../share/doc/vexa/README.md"));
    if (QFileInfo::exists(beside)) return beside;
    return QStringLiteral("/usr/share/doc/vexa/README.md");
}

}  // namespace vexa
