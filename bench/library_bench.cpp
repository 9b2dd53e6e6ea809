// Listing 200 puzzles as the puzzle list does (folders, files, summaries with
// thumbnails on every core, results from the settings file): cold, with an
// empty thumbnail cache, and warm, from the cache a first listing left.
// The puzzles are copies of the bundled set and the demo.
//   build-release/bench/vexa_bench --benchmark_filter=Library
#include "library/library_list.h"
#include "library/library_scan.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPuzzles = 200;

// A scratch folder with kPuzzles puzzle files, made once.
const fs::path& PuzzleFolder() {
    static const fs::path folder = [] {
        const fs::path dir = fs::temp_directory_path() / ("vexa-library-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir / "puzzles");
        std::vector<fs::path> sources{fs::path(VEXA_SOURCE_DIR) / "resources/demo/demo.VX"};
        for (const auto& e : fs::directory_iterator(fs::path(VEXA_SOURCE_DIR) / "resources/puzzles"))
            sources.push_back(e.path());
        for (int i = 0; i < kPuzzles; ++i)
            fs::copy_file(sources[static_cast<std::size_t>(i) % sources.size()],
                          dir / "puzzles" / ("p" + std::to_string(1000 + i) + ".VX"),
                          fs::copy_options::overwrite_existing);
        std::atexit([] { fs::remove_all(PuzzleFolder()); });
        return dir;
    }();
    return folder;
}

// What the list does before it can show every row complete.
std::size_t ListAll(const std::string& cacheFolder) {
    const fs::path& dir = PuzzleFolder();
    std::vector<vexa::TLibraryEntry> entries =
        vexa::ListLibrary(vexa::LibraryFolders({(dir / "puzzles").string(), {}}, {}));
    const vexa::TThumbnailCache cache(cacheFolder);
    std::vector<std::string> paths;
    for (const auto& e : entries) paths.push_back(e.Path);
    {
        vexa::TLibraryScan scan(paths, &cache, 0, [&](std::size_t i, vexa::TPuzzleSummary s) {
            entries[i].Summary = std::move(s);  // each index is written by one worker only
            entries[i].Summarised = true;
        });
        scan.Wait();
    }
    vexa::ReadLibraryResults(entries, (dir / "vexa.Ini").string());
    return entries.size();
}

void BM_LibraryCold(benchmark::State& state) {
    const std::string cache = (PuzzleFolder() / "cache-cold").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(cache);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ListAll(cache));
    }
}
BENCHMARK(BM_LibraryCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_LibraryWarm(benchmark::State& state) {
    const std::string cache = (PuzzleFolder() / "cache-warm").string();
    ListAll(cache);
    for (auto _ : state) benchmark::DoNotOptimize(ListAll(cache));
}
BENCHMARK(BM_LibraryWarm)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
