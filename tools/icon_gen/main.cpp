// vexa-icon-gen DIR: writes the program icon as DIR/<n>x<n>/apps/vexa.png
// for the desktop's icon theme, from the same drawing as the window icon.
#include "framework/button_faces.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vexa-icon-gen DIR\n", stderr);
        return 2;
    }
    const QIcon icon = vexa::ProgramIcon();
    for (int size : {32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QDir().mkpath(dir);
        if (!icon.pixmap(size, size).save(dir + "/vexa.png", "PNG")) {
            std::fprintf(stderr, "cannot write %s/vexa.png\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
