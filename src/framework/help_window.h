// The help window: the bundled Japanese manual in a browser window owned by
// the frame.
#pragma once

#include <QTextBrowser>

namespace vexa {

inline constexpr const char* kManualUrl = "qrc:/help/manual.html";

class THelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* owner);
};

}  // namespace vexa
