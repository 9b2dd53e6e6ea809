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

}  // namespace vexa
