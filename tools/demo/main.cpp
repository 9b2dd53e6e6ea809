// vexa-demo-gen OUTDIR: draws the demo puzzle's pictures into OUTDIR and
// writes manifest.json, which `vexa-tool pack` turns into the puzzle file.
// The output depends only on the drawing code, Qt and the Japanese font, so
// the bundled demo can be checked against a fresh run.
#include "demo_art.h"
#include "manifest_text.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vexa-demo-gen OUTDIR\n", stderr);
        return 2;
    }
    demo::PuzzleArt art;
    art.pairs = {demo::DrawScene(), demo::DrawResultScreen(1), demo::DrawResultScreen(2), demo::DrawResultScreen(3)};
    art.photo = demo::DrawPhoto();
    art.differences = demo::Differences();
    // Mixed storage, as real puzzles have it: 2x2 JPEG for the scene and the
    // photo, grey JPEG, 1x1 JPEG, and an 8-bit DIB for the last screen.
    art.encodings = {
        QJsonObject{{"quality", 90}, {"sampling", "2x2"}},
        QJsonObject{{"quality", 88}, {"sampling", "grey"}},
        QJsonObject{{"quality", 90}, {"sampling", "1x1"}},
        QJsonObject{},
        QJsonObject{{"quality", 90}, {"sampling", "2x2"}, {"restart", 4}},
    };
    const demo::PuzzleTexts texts{QStringLiteral("はじめての間違い探し"), QStringLiteral("Vexaデモ"),
                                  QStringLiteral("湖のほとりの村")};
    return demo::WritePuzzle(QDir(QString::fromLocal8Bit(argv[1])), texts, art) ? 0 : 1;
}
