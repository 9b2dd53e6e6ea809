// One photo in, a fair puzzle out: finds regions worth changing, edits some of
// them, verifies every edit as a player would see it after JPEG storage, and
// packs the scene, the photo and three result screens into a .VX file.
//
// Shared by `vexa-tool make` and the player's "写真から問題を作る". The work is
// deterministic: the same photo bytes, options and seed give the same bytes.
// It may run on any thread; text is drawn on QImage only, so a QGuiApplication
// must exist (the tool makes one on the offscreen platform).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vexa::authoring {

enum class Difficulty { Easy, Normal, Hard };

inline constexpr int kMinMadeDifferences = 3;
inline constexpr int kMaxMadeDifferences = 10;
inline constexpr int kDefaultMadeDifferences = 7;

struct MakeOptions {
    int differences = kDefaultMadeDifferences;  // kMinMadeDifferences..kMaxMadeDifferences
    Difficulty difficulty = Difficulty::Normal;
    std::uint64_t seed = 0;
    std::string title;    // UTF-8; empty: taken from the photo's file name
    std::string section;  // UTF-8; empty: derived from the photo's content
};

// Why a photo could not be used; the caller words the message (the tool in
// English, the player in Japanese).
enum class MakeFailure {
    None,
    Unreadable,  // not a picture this build can read
    TooSmall,    // too few pixels to hold the differences asked for
    TooFlat,     // too little detail or contrast for a fair difference
    BadOption,   // title or section cannot be stored (Shift-JIS limits)
    Cancelled,   // the progress callback asked to stop
};

// One kept difference: where it is in the photo (right and bottom outside)
// and which kind of edit made it ("remove", "recolour", "add", "mirror",
// "resize", "detail").
struct MadeEdit {
    int left = 0, top = 0, right = 0, bottom = 0;
    std::string kind;
};

struct MakeResult {
    MakeFailure failure = MakeFailure::None;
    std::string detail;                // English detail for a failure or a note (fewer differences made)
    std::vector<std::uint8_t> puzzle;  // the .VX file's bytes when failure == None
    int differences = 0;               // differences in the puzzle (may be fewer than asked)
    std::string title;                 // UTF-8, as stored
    std::string section;               // UTF-8, as stored
    std::vector<MadeEdit> edits;       // the differences, in reading order
};

// Called now and then with 0..100; returning false stops the work (Cancelled).
using MakeProgress = std::function<bool(int percent)>;

// The words for a failure's reason, in English ("too small", ...).
const char* FailureName(MakeFailure failure);

// From a photo's file (JPEG, PNG, ...; EXIF orientation honoured).
MakeResult MakePuzzle(const std::string& photoPath, const MakeOptions& options,
                      const MakeProgress& progress = {});

}  // namespace vexa::authoring
