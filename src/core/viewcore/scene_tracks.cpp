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
        const Block& table = puzzle.Tables[scene * kTracksPerScene + t];
        // A wait of 0 or less never counts back to 0: the track has stopped.
        if (TrackWait[t] <= 0) continue;
        if (--TrackWait[t] != 0) continue;

        int p = TrackPos[t];
        int records = 0;
        std::int64_t pixels = 0;
        // Stops this track's tick where it is, to go on from there next tick.
        const auto pause = [&] {
            TrackPos[t] = p;
            TrackWait[t] = 1;
        };
        for (;;) {
            // A track without any "W" would loop forever; after a whole pass
            // over its records it stops instead.
            if (TrackVisited[t] >= n) {
                TrackWait[t] = 0;
                TrackPos[t] = 0;
                TrackRow[t] = 0;
                TrackVisited[t] = 0;
                break;
            }
            if (records == kMaxTrackRecordsPerTick) {
                pause();
                break;
            }
            if (p >= n || p < 0) p = 0;
            const TAnimRecord r = RecordAt(table, p);
            ++records;
            if (r.Command == kWait) {
                TrackWait[t] = r.Width;
                TrackPos[t] = p + 1;
                TrackVisited[t] = 0;
                break;
            }
            if (std::optional<TScenePiece> piece = PieceOf(r)) {
                if (piece->Width > 0 && piece->Height > 0) {
                    // Whole rows while the tick's pixels last. Only the
                    // columns and rows on the picture cost; a row draws at
                    // most 32767 pixels, so a fresh tick draws at least one.
                    const int from = TrackRow[t];
                    const int rowsLeft = piece->Height - from;
                    const TSpan cols = DrawnSpan(piece->SourceX, piece->DestX, piece->Width, PictureWidth_);
                    const TSpan lines = DrawnSpan(piece->SourceY, piece->DestY, piece->Height, PictureHeight_);
                    const std::int64_t rowCost = cols.End - cols.First;
                    // Costly rows from `from` on, and the free ones before them.
                    const std::int64_t costly = std::max(0LL, lines.End - std::max<long long>(from, lines.First));
                    const std::int64_t freeBefore = std::max(0LL, lines.First - from);
                    const std::int64_t affordable =
                        rowCost == 0 ? costly : (kMaxTrackPixelsPerTick - pixels) / rowCost;
                    const int rows = affordable >= costly
                                         ? rowsLeft
                                         : static_cast<int>(std::min<std::int64_t>(rowsLeft, freeBefore + affordable));
                    if (rows <= 0) {
                        pause();
                        break;
                    }
                    const std::int64_t paid = std::min<std::int64_t>(costly, affordable);
                    TScenePiece band = *piece;
                    band.DestY += TrackRow[t];
                    band.SourceY += TrackRow[t];
                    band.Height = rows;
                    draw(band);
                    pixels += (rows == rowsLeft ? costly : paid) * rowCost;
                    if (rows < rowsLeft) {
                        TrackRow[t] += rows;
                        pause();
                        break;
                    }
                    TrackRow[t] = 0;
                } else {
                    draw(*piece);  // nothing to copy; the view clips it away
                }
            }
            ++TrackVisited[t];
            ++p;
        }
        work.Records += records;
        work.Pixels += pixels;
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
