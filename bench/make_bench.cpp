// Making a puzzle from a photo, end to end (read, regions, edits with their
// checks, JPEG storage, result screens, the file's bytes). Peak memory of the
// process is reported as a counter (MiB).
#include "photo_picture.h"

#include "authoring/make_puzzle.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <sys/resource.h>

#include <string>

namespace {

std::string PhotoFile(int width, int height) {
    const std::string path = QDir::temp().filePath(QStringLiteral("vexa-make-bench-%1x%2.png").arg(width).arg(height)).toStdString();
    const vexa::bench::RgbPicture picture = vexa::bench::PhotoPicture(width, height, true);
    QImage(picture.Pixels.data(), width, height, width * 3, QImage::Format_RGB888).save(QString::fromStdString(path));
    return path;
}

void BM_MakePuzzle(benchmark::State& state) {
    const std::string path = PhotoFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    vexa::authoring::MakeOptions options;
    options.seed = 1;
    int made = 0;
    for (auto _ : state) {
        const vexa::authoring::MakeResult result = vexa::authoring::MakePuzzle(path, options);
        made = result.differences;
        benchmark::DoNotOptimize(result.puzzle.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["differences"] = made;
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    QDir().remove(QString::fromStdString(path));
}
BENCHMARK(BM_MakePuzzle)->Args({512, 512})->Args({2268, 1512})->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
    // Result screens are drawn with fonts; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
