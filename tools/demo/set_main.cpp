// vexa-set-gen OUTDIR: draws the bundled set into OUTDIR/NAME/ (pictures and
// manifest.json for `vexa-tool pack`), one folder per puzzle. Like the demo,
// the output depends only on the drawing code, Qt and the Japanese font.
#include "manifest_text.h"
#include "set_art.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vexa-set-gen OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int i = 0; i < demo::kSetSize; ++i) {
        const demo::SetPuzzle puzzle = demo::DrawSetPuzzle(i);
        demo::PuzzleArt art;
        art.pairs = {demo::Pair{puzzle.scene, QImage(), {}}, demo::DrawResultScreen(1), demo::DrawResultScreen(2),
                     demo::DrawResultScreen(3)};
        art.photo = puzzle.photo;
        art.differences = puzzle.differences;
        // Full-resolution colour keeps each change within a block of its rectangle.
        const QJsonObject photoLike{{"quality", 92}, {"sampling", "1x1"}};
        art.encodings = {photoLike, QJsonObject{{"quality", 88}, {"sampling", "grey"}},
                         QJsonObject{{"quality", 90}, {"sampling", "1x1"}}, QJsonObject{}, photoLike};
        const demo::PuzzleTexts texts{puzzle.title, puzzle.section, puzzle.extraText};
        ok = demo::WritePuzzle(QDir(out.filePath(puzzle.name)), texts, art) && ok;
        std::printf("%s\n", qPrintable(puzzle.name));
    }
    return ok ? 0 : 1;
}
