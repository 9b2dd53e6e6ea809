// Window-free stepping of the five animation tracks of the shown scene.
//
// A track is one animation table read as a little program: "C" copies a piece
// of the base picture, "R" restores the base picture under a piece, "T" copies
// a piece of the spare picture, "W" ends the track's work for this tick and
// waits Width ticks. The view calls Step once per timer tick and draws the
// pieces it yields, on screen and into its mode picture.
#pragma once

#include "puzzle/view_mode.h"
#include "puzzle/puzzle_data.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace vexa {

enum class TPieceSource { Base, Spare };

// One rectangle to copy from a source picture to picture coordinates.
struct TScenePiece {
    int DestX = 0, DestY = 0;
    int SourceX = 0, SourceY = 0;
    int Width = 0, Height = 0;
    TPieceSource Source = TPieceSource::Base;
    friend bool operator==(const TScenePiece&, const TScenePiece&) = default;
};

// What one tick did: records read and the pixels the pieces handed out really
// draw (clipped to the picture, see OpenScene), over all tracks.
struct TTickWork {
    int Records = 0;
    std::int64_t Pixels = 0;
};

// A tick's work is bounded per track, whatever the table holds: at most this
// many records are read, and pieces that draw at most this many pixels handed
// out (a larger piece goes out in bands of whole rows). Only what lands on
// the picture counts: a piece far larger than it costs no more than it. A track that reaches
// either bound before its next "W" carries on where it stopped on the next
// tick. Ordinary tables, a few pieces between waits, never reach them.
inline constexpr int kMaxTrackRecordsPerTick = 256;
inline constexpr std::int64_t kMaxTrackPixelsPerTick = std::int64_t{1} << 21;

class TSceneTracks {
public:
    // Opens the tables of `scene` (0..3; any other number opens none) and
    // restarts every track at its first record, acting on the next tick.
    // The pieces are drawn from and onto pictures of `pictureWidth` x
    // `pictureHeight`; without a size every pixel of a piece counts.
    void OpenScene(int scene, int pictureWidth = kNoPictureBound, int pictureHeight = kNoPictureBound);
    static constexpr int kNoPictureBound = 0x7FFFFFFF;
    // The scene whose tables are open, -1 when none is.
    int OpenedScene() const { return Scene_; }

    // Advances every track of the scene of `currentMode` by one tick and hands
    // each piece to `draw`, track 0 first. Does nothing unless currentMode is a
    // scene mode whose scene is the open one: a tick may arrive in the middle
    // of a mode switch. A track plays only while its table holds TableCounts
    // records; a record that was reset has none.
    TTickWork Step(const TPuzzleData& puzzle, ViewMode currentMode,
                   const std::function<void(const TScenePiece&)>& draw);

    // Index of the record at which each track continues, and ticks left before
    // it acts again (0 or less: the track has stopped).
    std::array<std::int32_t, kTracksPerScene> TrackPos{};
    std::array<std::int32_t, kTracksPerScene> TrackWait{};
    // Rows of the piece at TrackPos already drawn, when a tick's bound fell
    // inside it; records read since the track's last "W" (a whole pass
    // without one stops the track).
    std::array<std::int32_t, kTracksPerScene> TrackRow{};
    std::array<std::int32_t, kTracksPerScene> TrackVisited{};

private:
    int Scene_ = -1;
    int PictureWidth_ = kNoPictureBound;
    int PictureHeight_ = kNoPictureBound;
};

// Clips a piece to a source picture of `sourceWidth` x `sourceHeight`, moving
// the destination along with the source corner, as a device-to-device copy
// does. Empty when nothing of it remains (including Width or Height <= 0).
std::optional<TScenePiece> ClipPieceToSource(const TScenePiece& piece, int sourceWidth,
                                             int sourceHeight);

}  // namespace vexa
