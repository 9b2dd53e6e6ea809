// vexa-demo-gen OUTDIR: draws the demo puzzle's pictures into OUTDIR and
// writes the manifest that `vexa-tool pack` turns into the puzzle file.
#include "demo_art.h"

#include <QGuiApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vexa-demo-gen OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const demo::Pair scene = demo::DrawScene();
    scene.base.save(out.filePath("scene.png"));
    scene.spare.save(out.filePath("scene-spare.png"));
    demo::DrawPhoto().save(out.filePath("photo.png"));
    for (int k = 1; k <= 3; ++k) {
        const demo::Pair r = demo::DrawResultScreen(k);
        r.base.save(out.filePath(QString("result%1.png").arg(k)));
        r.spare.save(out.filePath(QString("result%1-spare.png").arg(k)));
    }
    return 0;
}
