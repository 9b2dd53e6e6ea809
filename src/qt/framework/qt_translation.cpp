#include "framework/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vexa {

bool InstallQtTranslation(QCoreApplication& app) {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), dir)) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    installed = translator;
    // Layout direction and number forms follow the interface's language.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return true;
}

}  // namespace vexa
