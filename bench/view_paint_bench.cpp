// The picture view's paint path at a zoom: a detailed 1024 x 768 photo shown
// in a 1280 x 1000 or 800 x 600 view at 100, 200 and 400 % and at the fit;
// a full repaint of the viewport, a 40-pixel scroll with the repaint of the
// strip it uncovers, and the scene beside the photo. Each case is timed per
// repaint (manual time, wall clock) and counts the paint events that really
// reached the view, so a case that stops painting shows up as an error
// instead of as a fast figure.
//
// Before the cases run, the peak memory of the process is read across a
// switch from 100 % to 400 % and a paint there: the view scales only what
// it paints, so the growth stays near a viewport's worth of pixels, far
// from the 48 MiB a scaled copy of the whole picture would take.
#include "photo_picture.h"
#include "view/bit_window.h"
#include "view_fixtures.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QScrollBar>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace vexa {
namespace {

constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 768;
constexpr int kScrollStep = 40;
constexpr int kFit = 0;  // as a zoom argument: the fit into the view

const Block& PhotoDib() {
    static const Block dib = [] {
        const bench::RgbPicture picture = bench::PhotoPicture(kPictureWidth, kPictureHeight, true);
        return test::Dib24Of(kPictureWidth, kPictureHeight, [&](int x, int y) {
            const unsigned char* p = &picture.Pixels[(static_cast<std::size_t>(y) * kPictureWidth + x) * 3];
            return qRgb(p[0], p[1], p[2]);
        });
    }();
    return dib;
}

// Counts the paint events the view handles and the pixels they cover.
class CountingView : public TBitWindow {
public:
    using TBitWindow::TBitWindow;
    long long Paints = 0;
    long long PaintedPixels = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++Paints;
        for (const QRect& r : event->region()) PaintedPixels += static_cast<long long>(r.width()) * r.height();
        TBitWindow::paintEvent(event);
    }
};

// Every pair shows the photo; the view shows it as the photo mode (with the
// scene beside it for `pair`), shown, at its size and zoom.
struct PaintView {
    TPuzzleData Puzzle;
    std::unique_ptr<CountingView> View;

    PaintView(int viewWidth, int viewHeight, int percent, bool pair) {
        for (int p = 0; p < kPairCount; ++p)
            test::SetPair(Puzzle, p, PhotoDib(), kPictureWidth, kPictureHeight);
        View = std::make_unique<CountingView>(Puzzle);
        if (!View->SwitchMode(ViewMode::Photo, pair)) return;
        View->SetZoom(percent == kFit ? TZoom{true, 100} : TZoom{false, percent});
        View->resize(viewWidth, viewHeight);
        View->show();
        QCoreApplication::processEvents();  // scroll bars come and go on a queued signal
        View->FinishWipe();
        View->viewport()->repaint();
    }
    bool Ok() const { return View->CurrentMode() == ViewMode::Photo; }
    QWidget* Viewport() const { return View->viewport(); }
};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Each repaint is timed; the slowest one is kept, since a frame is late
// whenever one is.
struct Timer {
    double Slowest = 0;
    void Stop(benchmark::State& state, Clock::time_point start) {
        const double s = Seconds(start);
        Slowest = std::max(Slowest, s);
        state.SetIterationTime(s);
    }
};

void Report(benchmark::State& state, const PaintView& v, const Timer& timer, long long paints, long long pixels) {
    const double n = static_cast<double>(state.iterations());
    state.counters["max_ms"] = timer.Slowest * 1000.0;
    const QSize size = v.Viewport()->size();
    state.counters["paints"] = static_cast<double>(paints) / n;
    state.counters["painted"] = static_cast<double>(pixels) / n / (size.width() * size.height());
    state.counters["scale"] = v.View->Scale();
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()) + " viewport");
    if (paints < state.iterations()) state.SkipWithError("the view's paintEvent did not run on every repaint");
}

// (a) The whole viewport, painted at once as an expose does.
void BM_Repaint(benchmark::State& state, int viewW, int viewH, int percent, bool pair) {
    PaintView v(viewW, viewH, percent, pair);
    if (!v.Ok()) return state.SkipWithError("the photo mode did not build");
    // Somewhere in the middle of the content, as after some scrolling.
    v.View->horizontalScrollBar()->setValue(v.View->horizontalScrollBar()->maximum() / 2);
    v.View->verticalScrollBar()->setValue(v.View->verticalScrollBar()->maximum() / 2);
    QCoreApplication::processEvents();
    const long long paints0 = v.View->Paints, pixels0 = v.View->PaintedPixels;
    Timer timer;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        v.Viewport()->repaint();
        timer.Stop(state, start);
    }
    Report(state, v, timer, v.View->Paints - paints0, v.View->PaintedPixels - pixels0);
}

// (b) One step of 40 pixels down (or right), then the events that follow
// it: the view shifts what it shows and repaints the strip uncovered. At the
// end of the range it starts again from the top, untimed.
void BM_Scroll(benchmark::State& state, int viewW, int viewH, int percent, bool horizontal) {
    PaintView v(viewW, viewH, percent, false);
    if (!v.Ok()) return state.SkipWithError("the photo mode did not build");
    QScrollBar* bar = horizontal ? v.View->horizontalScrollBar() : v.View->verticalScrollBar();
    if (bar->maximum() < kScrollStep) return state.SkipWithError("nothing to scroll at this zoom");
    long long paints = 0, pixels = 0;
    Timer timer;
    for (auto _ : state) {
        if (bar->value() + kScrollStep > bar->maximum()) {
            bar->setValue(0);
            QCoreApplication::processEvents();
        }
        const long long paints0 = v.View->Paints, pixels0 = v.View->PaintedPixels;
        const Clock::time_point start = Clock::now();
        bar->setValue(bar->value() + kScrollStep);
        QCoreApplication::processEvents();
        timer.Stop(state, start);
        paints += v.View->Paints - paints0;
        pixels += v.View->PaintedPixels - pixels0;
    }
    Report(state, v, timer, paints, pixels);
}

std::string ZoomName(int percent) { return percent == kFit ? "fit" : std::to_string(percent) + "%"; }

// Wall time per repaint; the CPU column is the whole process's, Qt's
// painting threads included.
void Timed(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
}

void RegisterCases() {
    struct Size {
        int W, H;
    };
    for (const Size s : {Size{1280, 1000}, Size{800, 600}}) {
        const std::string size = std::to_string(s.W) + "x" + std::to_string(s.H);
        for (int percent : {100, 200, 400, kFit})
            Timed(benchmark::RegisterBenchmark(("Repaint/" + size + "/" + ZoomName(percent)).c_str(), BM_Repaint,
                                               s.W, s.H, percent, false));
        Timed(benchmark::RegisterBenchmark(("RepaintPair/" + size + "/200%").c_str(), BM_Repaint, s.W, s.H, 200,
                                           true));
        for (int percent : {100, 200, 400})
            for (bool horizontal : {false, true}) {
                // The picture fits a 1280 x 1000 view whole at 100 %: no scroll bars.
                if (percent == 100 && s.W >= kPictureWidth) continue;
                Timed(benchmark::RegisterBenchmark(
                    ("Scroll/" + size + "/" + ZoomName(percent) + (horizontal ? "/right" : "/down")).c_str(),
                    BM_Scroll, s.W, s.H, percent, horizontal));
            }
    }
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The peak memory after a paint at 100 % and after a paint at 400 % at a few
// places; run first, before any case has raised the peak.
void ReportZoomMemory() {
    PaintView v(1280, 1000, 100, false);
    if (!v.Ok()) return;
    const double at100 = PeakMiB();
    v.View->SetZoom(TZoom{false, 400});
    QCoreApplication::processEvents();
    for (int step = 0; step <= 4; ++step) {
        v.View->horizontalScrollBar()->setValue(v.View->horizontalScrollBar()->maximum() * step / 4);
        v.View->verticalScrollBar()->setValue(v.View->verticalScrollBar()->maximum() * step / 4);
        v.Viewport()->repaint();
    }
    const double at400 = PeakMiB();
    const double scaledCopy = 4.0 * kPictureWidth * 4 * kPictureHeight * 4 / (1024.0 * 1024.0);
    char text[160];
    std::snprintf(text, sizeof text, "%.1f MiB at 100 %%, %.1f MiB at 400 %% (+%.1f; a scaled copy would be %.0f)",
                  at100, at400, at400 - at100, scaledCopy);
    benchmark::AddCustomContext("peak_memory", text);
}

}  // namespace
}  // namespace vexa

int main(int argc, char** argv) {
    // Widgets painted into memory; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    vexa::ReportZoomMemory();
    vexa::RegisterCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
