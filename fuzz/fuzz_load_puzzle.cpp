// libFuzzer target: any bytes as a .VX file. Besides the sanitizers' checks:
// the loader gives one of its messages or a loaded record, every loaded DIB
// is drawn or refused in bounds, and a loaded puzzle written back loads to the
// same bytes again.
//
// The puzzle sources are compiled into this file so that they carry the
// fuzzer's coverage instrumentation and the sanitizers (the build compiles
// the decoder's sources in beside it).
#include "../src/puzzle/puzzle_data.cpp"
#include "../src/puzzle/puzzle_file.cpp"
#include "../src/puzzle/puzzle_writer.cpp"
#include "../src/view/core/dib_pixels.cpp"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vexa::TPuzzleData record;
    record.Reset();
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    const char* message = vexa::LoadPuzzleBytes(record, side, data, size, &sources);
    if (message) {
        if (message != vexa::kMsgBadData && message != vexa::kMsgDiskError && message != vexa::kMsgNoMemory)
            std::abort();
        if (record.Loaded != 0 || record.DiffCount > vexa::kMaxDiffs) std::abort();
        return 0;
    }
    if (record.Loaded != 1 || record.DiffCount > vexa::kMaxDiffs) std::abort();
    if (::strnlen(record.Title, sizeof record.Title) == sizeof record.Title ||
        ::strnlen(record.SectionName, sizeof record.SectionName) == sizeof record.SectionName ||
        ::strnlen(side.ExtraText, sizeof side.ExtraText) == sizeof side.ExtraText)
        std::abort();
    for (int i = 0; i < vexa::kPictureCount; ++i) {
        const vexa::Block& block = vexa::PictureOf(record, i);
        // Huge claimed pictures only cost time here; the reader's tests cover its cap.
        if (block.size() >= 12) {
            std::int32_t w, h;
            std::memcpy(&w, block.data() + 4, 4);
            std::memcpy(&h, block.data() + 8, 4);
            if (std::abs(static_cast<std::int64_t>(w) * h) > (std::int64_t{1} << 20)) continue;
        }
        vexa::DibPixels pixels;
        if (vexa::DecodeDibPixels(block.data(), block.size(), pixels) &&
            pixels.Argb.size() != static_cast<std::size_t>(pixels.Width) * pixels.Height)
            std::abort();
    }

    const std::vector<std::uint8_t> written = vexa::SerializePuzzle(record, side, sources);
    record.Reset();
    vexa::TPuzzleSideValues side2;
    vexa::TPictureSources sources2;
    if (vexa::LoadPuzzleBytes(record, side2, written.data(), written.size(), &sources2) != nullptr) std::abort();
    if (vexa::SerializePuzzle(record, side2, sources2) != written) std::abort();
    return 0;
}
