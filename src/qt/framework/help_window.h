// The help window: the bundled Japanese manual in a browser window owned by
// the frame.
#pragma once

#include <QTextBrowser>

namespace vexa {

class THelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    // `settingsPath` is the settings file chosen at start; the manual names it
    // where it tells where results are kept.
    explicit THelpWindow(QWidget* owner, const QString& settingsPath = QString());
};

// Where the README of an installed copy lies: <prefix>/share/doc/vexa/README.md
// beside the program's <prefix>/bin (`programDir`, by default the running
// program's folder) when it is there, else the system-wide place.
QString InstalledReadme(const QString& programDir = QString());

}  // namespace vexa
