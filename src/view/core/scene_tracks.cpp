#include "view/core/scene_tracks.h"

#include <algorithm>

namespace vexa {

namespace {

constexpr int kFirstSceneMode = 203;
constexpr int kLastSceneMode = 206;

enum : std::int16_t { kCopy = 'C', kRestore = 'R', kSpare = 'T', kWait = 'W' };

}  // namespace

void TSceneTracks::OpenScene(TPuzzleData& puzzle, int scene) {
    puzzle.OpenSceneTables(scene);
    TrackWait.fill(1);
    TrackPos.fill(0);
}

void TSceneTracks::Step(const TPuzzleData& puzzle, int currentMode,
                        const std::function<void(const TScenePiece&)>& draw) {
    if (currentMode < kFirstSceneMode || currentMode > kLastSceneMode) return;
    const int scene = currentMode - kFirstSceneMode;
    if (!puzzle.SceneOpen || puzzle.AnimatedScene != scene) return;

    for (int t = 0; t < kTracksPerScene; ++t) {
        const int n = puzzle.TableCounts[scene * kTracksPerScene + t];
        // OpenSceneTables leaves a table closed when its block is too short.
        if (n <= 0 || puzzle.SceneTables[t] == nullptr) continue;
        // A wait of 0 or less never counts back to 0: the track has stopped.
        if (TrackWait[t] <= 0) continue;
        if (--TrackWait[t] != 0) continue;

        int p = TrackPos[t];
        // A track without any "W" would loop forever within one tick; after a
        // whole pass over its records it stops instead.
        for (int visited = 0;; ++visited, ++p) {
            if (visited == n) {
                TrackWait[t] = 0;
                TrackPos[t] = 0;
                break;
            }
            if (p >= n || p < 0) p = 0;
            const TAnimRecord r = puzzle.SceneRecord(t, p);
            switch (r.Command) {
            case kCopy:
                draw({r.DestX, r.DestY, r.SourceX, r.SourceY, r.Width, r.Height, TPieceSource::Base});
                break;
            case kRestore:
                draw({r.DestX, r.DestY, r.DestX, r.DestY, r.Width, r.Height, TPieceSource::Base});
                break;
            case kSpare:
                draw({r.DestX, r.DestY, r.SourceX, r.SourceY, r.Width, r.Height, TPieceSource::Spare});
                break;
            case kWait:
                TrackWait[t] = r.Width;
                TrackPos[t] = p + 1;
                break;
            default:
                break;  // unknown commands are skipped
            }
            if (r.Command == kWait) break;
        }
    }
}

std::optional<TScenePiece> ClipPieceToSource(const TScenePiece& piece, int sourceWidth,
                                             int sourceHeight) {
    if (piece.Width <= 0 || piece.Height <= 0) return std::nullopt;
    // 64-bit so that corners near the int limits cannot overflow.
    const long long left = std::max<long long>(piece.SourceX, 0);
    const long long top = std::max<long long>(piece.SourceY, 0);
    const long long right = std::min<long long>(static_cast<long long>(piece.SourceX) + piece.Width,
                                                sourceWidth);
    const long long bottom = std::min<long long>(
        static_cast<long long>(piece.SourceY) + piece.Height, sourceHeight);
    if (left >= right || top >= bottom) return std::nullopt;
    TScenePiece out = piece;
    out.DestX = static_cast<int>(piece.DestX + (left - piece.SourceX));
    out.DestY = static_cast<int>(piece.DestY + (top - piece.SourceY));
    out.SourceX = static_cast<int>(left);
    out.SourceY = static_cast<int>(top);
    out.Width = static_cast<int>(right - left);
    out.Height = static_cast<int>(bottom - top);
    return out;
}

}  // namespace vexa
