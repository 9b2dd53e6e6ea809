// Qt's own texts (standard buttons, the file dialog) in Japanese, whatever
// the user's locale: the player's interface is Japanese throughout.
#pragma once

class QCoreApplication;

namespace vexa {

// Loads Qt's Japanese catalogue into `app` once; true when it was found.
bool InstallQtTranslation(QCoreApplication& app);

}  // namespace vexa
