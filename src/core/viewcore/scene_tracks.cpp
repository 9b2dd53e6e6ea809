#include "viewcore/scene_tracks.h"

#include <algorithm>

namespace vexa {

namespace {

enum : std::int16_t { kCopy = 'C', kRestore = 'R', kSpare = 'T', kWait = 'W' };

// The number of records track `track` of `scene` plays: its count, or 0 when
// the table is empty or its block is too short for the count.
int TrackLength(const TPuzzleData& puzzle, int scene, int track) {
    const int t = scene * kTracksPerScene + track;
    const int n = puzzle.TableCounts[t];
    if (n <= 0 || puzzle.Tables[t].size() < static_cast<std::size_t>(n) * kAnimRecordBytes) return 0;
    return n;
}

// Record `index` of a table that holds more than `index` records.
TAnimRecord RecordAt(const Block& table, int index) {
    return ReadAnimRecord(table.data() + static_cast<std::size_t>(index) * kAnimRecordBytes);
}

}  // namespace

void TSceneTracks::OpenScene(int scene, int pictureWidth, int pictureHeight) {
    Scene_ = scene >= 0 && scene < kTableCount / kTracksPerScene ? scene : -1;
    PictureWidth_ = std::max(pictureWidth, 0);
    PictureHeight_ = std::max(pictureHeight, 0);
    TrackWait.fill(1);
    TrackPos.fill(0);
    TrackRow.fill(0);
    TrackVisited.fill(0);
}

namespace {

std::optional<TScenePiece> PieceOf(const TAnimRecord& r) {
    switch (r.Command) {
    case kCopy: return TScenePiece{r.DestX, r.DestY, r.SourceX, r.SourceY, r.Width, r.Height, TPieceSource::Base};
    case kRestore: return TScenePiece{r.DestX, r.DestY, r.DestX, r.DestY, r.Width, r.Height, TPieceSource::Base};
    case kSpare: return TScenePiece{r.DestX, r.DestY, r.SourceX, r.SourceY, r.Width, r.Height, TPieceSource::Spare};
    default: return std::nullopt;
    }
}

// The offsets o in [0, length) at which both source + o and dest + o lie in
// [0, size): the part of a piece's extent that really draws, along one axis.
struct TSpan {
    long long First = 0, End = 0;  // empty when First >= End
};
TSpan DrawnSpan(int source, int dest, int length, int size) {
    const long long first = std::max({0LL, -static_cast<long long>(source), -static_cast<long long>(dest)});
    const long long end = std::min({static_cast<long long>(length), size - static_cast<long long>(source),
                                    size - static_cast<long long>(dest)});
    return TSpan{first, std::max(first, end)};
}

// One track's part of TSceneTracks.
struct TrackState {
    std::int32_t& Pos;
    std::int32_t& Wait;
    std::int32_t& Row;
    std::int32_t& Visited;

    // Counts the wait down: whether the track acts on this tick. A wait of
    // 0 or less never counts back to 0: the track has stopped.
    bool ActsNow() { return Wait > 0 && --Wait == 0; }
    // Ends the track for good.
    void Stop() {
        Wait = 0;
        Pos = 0;
        Row = 0;
        Visited = 0;
    }
    // Ends this tick's work at record p, to go on from there next tick.
    void Pause(int p) {
        Pos = p;
        Wait = 1;
    }
};

enum class PieceDrawn { Whole, Partly };

// Draws the rows of `piece` the track has not drawn yet, in one band of
// whole rows while the tick's pixels last; `pixels` counts the tick's pixels
// so far. Only the columns and rows that land on the picture cost; a row
// costs at most 32767 pixels, so a fresh tick draws at least one. Partly when
// the bound fell inside the piece (the track's Row then says how far it got).
PieceDrawn DrawBand(const TScenePiece& piece, TrackState& track, std::int64_t& pixels, int pictureWidth,
                    int pictureHeight, const std::function<void(const TScenePiece&)>& draw) {
    const int from = track.Row;
    const int rowsLeft = piece.Height - from;
    const TSpan cols = DrawnSpan(piece.SourceX, piece.DestX, piece.Width, pictureWidth);
    const TSpan lines = DrawnSpan(piece.SourceY, piece.DestY, piece.Height, pictureHeight);
    const std::int64_t rowCost = cols.End - cols.First;
    // Costly rows from `from` on, and the free ones before them.
    const std::int64_t costly = std::max(0LL, lines.End - std::max<long long>(from, lines.First));
    const std::int64_t freeBefore = std::max(0LL, lines.First - from);
    const std::int64_t affordable = rowCost == 0 ? costly : (kMaxTrackPixelsPerTick - pixels) / rowCost;
    const int rows = affordable >= costly
                         ? rowsLeft
                         : static_cast<int>(std::min<std::int64_t>(rowsLeft, freeBefore + affordable));
    if (rows <= 0) return PieceDrawn::Partly;
    TScenePiece band = piece;
    band.DestY += from;
    band.SourceY += from;
    band.Height = rows;
    draw(band);
    pixels += (rows == rowsLeft ? costly : std::min<std::int64_t>(costly, affordable)) * rowCost;
    if (rows < rowsLeft) {
        track.Row += rows;
        return PieceDrawn::Partly;
    }
    track.Row = 0;
    return PieceDrawn::Whole;
}

// One tick of a track of n records from `table`: reads records from where
// the track stands up to its next "W" or a bound of the tick.
TTickWork RunTrack(const Block& table, int n, TrackState& track, int pictureWidth, int pictureHeight,
                   const std::function<void(const TScenePiece&)>& draw) {
    TTickWork work;
    int p = track.Pos;
    for (;;) {
        // A track without any "W" would loop forever; after a whole pass
        // over its records it stops instead.
        if (track.Visited >= n) {
            track.Stop();
            break;
        }
        if (work.Records == kMaxTrackRecordsPerTick) {
            track.Pause(p);
            break;
        }
        if (p >= n || p < 0) p = 0;
        const TAnimRecord r = RecordAt(table, p);
        ++work.Records;
        if (r.Command == kWait) {
            track.Wait = r.Width;
            track.Pos = p + 1;
            track.Visited = 0;
            break;
        }
        if (std::optional<TScenePiece> piece = PieceOf(r)) {
            if (piece->Width <= 0 || piece->Height <= 0) {
                draw(*piece);  // nothing to copy; the view clips it away
            } else if (DrawBand(*piece, track, work.Pixels, pictureWidth, pictureHeight, draw) == PieceDrawn::Partly) {
                track.Pause(p);
                break;
            }
        }
        ++track.Visited;
        ++p;
    }
    return work;
}

}  // namespace

TTickWork TSceneTracks::Step(const TPuzzleData& puzzle, ViewMode currentMode,
                             const std::function<void(const TScenePiece&)>& draw) {
    TTickWork work;
    const int scene = SceneOf(currentMode);
    if (scene < 0 || scene != Scene_) return work;
    for (int t = 0; t < kTracksPerScene; ++t) {
        // Read afresh each tick, so that no table is read past its block.
        const int n = TrackLength(puzzle, scene, t);
        if (n <= 0) continue;
        TrackState track{TrackPos[t], TrackWait[t], TrackRow[t], TrackVisited[t]};
        if (!track.ActsNow()) continue;
        const TTickWork done = RunTrack(puzzle.Tables[scene * kTracksPerScene + t], n, track, PictureWidth_, PictureHeight_, draw);
        work.Records += done.Records;
        work.Pixels += done.Pixels;
    }
    return work;
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
