// What the picture view shows. The modes are also the ids of the commands that
// ask for them, and the three result screens are the results a puzzle keeps:
// the numbers are stored in the settings file as text, so they never change.
// Each mode names a picture pair of the puzzle, so the modes live beside the
// puzzle record, below the settings, the view rules and game play that use them.
#pragma once

#include <optional>

namespace vexa {

enum class ViewMode : int {
    None = 0,            // nothing shown: the welcome text
    OutlineScene = 202,  // pair 0 with the differences outlined
    Scene = 203,         // scene 0: the current scene (pair 0), animated
    FewFound = 204,      // scene 1: fewer than half found
    HalfFound = 205,     // scene 2: at least half, not all
    AllFound = 206,      // scene 3: all found
    Photo = 207,         // the photo data (pair 4) with the markers
    OutlinePhoto = 208,  // pair 4 with the differences outlined
};

inline constexpr ViewMode kFirstViewMode = ViewMode::OutlineScene;
inline constexpr ViewMode kLastViewMode = ViewMode::OutlinePhoto;

// The number behind a mode: its command id and its stored form.
constexpr int ModeNumber(ViewMode mode) { return static_cast<int>(mode); }

// The mode of a number from 202 to 208, or nothing.
constexpr std::optional<ViewMode> ModeFromNumber(int number) {
    if (number < ModeNumber(kFirstViewMode) || number > ModeNumber(kLastViewMode)) return std::nullopt;
    return static_cast<ViewMode>(number);
}

// The picture pair a mode shows (0..4), -1 for None and any other value.
constexpr int PairOf(ViewMode mode) {
    switch (mode) {
    case ViewMode::OutlineScene:
    case ViewMode::Scene: return 0;
    case ViewMode::FewFound: return 1;
    case ViewMode::HalfFound: return 2;
    case ViewMode::AllFound: return 3;
    case ViewMode::Photo:
    case ViewMode::OutlinePhoto: return 4;
    case ViewMode::None: break;
    }
    return -1;
}

// The animated scene a mode shows (0..3), -1 when it shows none.
constexpr int SceneOf(ViewMode mode) {
    switch (mode) {
    case ViewMode::Scene: return 0;
    case ViewMode::FewFound: return 1;
    case ViewMode::HalfFound: return 2;
    case ViewMode::AllFound: return 3;
    default: return -1;
    }
}
constexpr bool IsSceneMode(ViewMode mode) { return SceneOf(mode) >= 0; }

// The mode that animates scene 0..3; None for any other number.
constexpr ViewMode SceneMode(int scene) {
    switch (scene) {
    case 0: return ViewMode::Scene;
    case 1: return ViewMode::FewFound;
    case 2: return ViewMode::HalfFound;
    case 3: return ViewMode::AllFound;
    default: return ViewMode::None;
    }
}

// Only the photo shows the answer markers (and lets them be dragged).
constexpr bool ShowsMarkers(ViewMode mode) { return mode == ViewMode::Photo; }

// The two modes that draw the difference rectangles over their picture.
constexpr bool OutlinesDifferences(ViewMode mode) {
    return mode == ViewMode::OutlineScene || mode == ViewMode::OutlinePhoto;
}

// --- Results -----------------------------------------------------------------

// A judged challenge's result is the result screen shown for it.
constexpr bool IsResult(ViewMode mode) {
    return mode == ViewMode::FewFound || mode == ViewMode::HalfFound || mode == ViewMode::AllFound;
}

// The result for `foundCount` of `diffCount` differences; half is
// diffCount / 2, truncated.
constexpr ViewMode ResultForCount(int foundCount, int diffCount) {
    if (foundCount < diffCount / 2) return ViewMode::FewFound;
    if (foundCount < diffCount) return ViewMode::HalfFound;
    return ViewMode::AllFound;
}

// The best-result order: FewFound < HalfFound < AllFound. A stored record
// that verifies but holds another number (only a hand-made one can) ranks
// below FewFound when its number is lower and above AllFound when it is
// higher, so that such a record is kept or replaced as it always was.
constexpr int ResultRank(ViewMode result) {
    switch (result) {
    case ViewMode::FewFound: return 1;
    case ViewMode::HalfFound: return 2;
    case ViewMode::AllFound: return 3;
    default: return ModeNumber(result) < ModeNumber(ViewMode::FewFound) ? 0 : 4;
    }
}

// Whether `result` beats the best result kept so far.
constexpr bool IsBetterResult(ViewMode result, ViewMode best) { return ResultRank(result) > ResultRank(best); }

}  // namespace vexa
