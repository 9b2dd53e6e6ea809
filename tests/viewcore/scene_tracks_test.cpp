#include "viewcore/scene_tracks.h"

#include "picture_builders.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vexa {
namespace {

TAnimRecord Rec(char command, int sx, int sy, int dx, int dy, int w, int h) {
    auto s = [](int v) { return static_cast<std::int16_t>(v); };
    return TAnimRecord{s(command), s(sx), s(sy), s(dx), s(dy), s(w), s(h)};
}
TAnimRecord Wait(int ticks) { return Rec('W', 0, 0, 0, 0, ticks, 0); }

// Stores `records` as table scene * 5 + track, 14 little-endian bytes each.
void PutTable(TPuzzleData& puzzle, int scene, int track, const std::vector<TAnimRecord>& records) {
    const int t = scene * kTracksPerScene + track;
    Block bytes;
    for (const TAnimRecord& r : records)
        test::AppendRecord(bytes, r.Command, r.SourceX, r.SourceY, r.DestX, r.DestY, r.Width, r.Height);
    puzzle.Tables[t] = bytes;
    puzzle.TableCounts[t] = static_cast<std::int16_t>(records.size());
}

struct Drawn {
    int Tick;
    TScenePiece Piece;
    friend bool operator==(const Drawn&, const Drawn&) = default;
};

std::vector<Drawn> PlayTicks(TSceneTracks& tracks, const TPuzzleData& puzzle, ViewMode mode, int ticks) {
    std::vector<Drawn> out;
    for (int tick = 1; tick <= ticks; ++tick)
        tracks.Step(puzzle, mode, [&](const TScenePiece& p) { out.push_back({tick, p}); });
    return out;
}

const TScenePiece kCopyPiece{30, 40, 10, 20, 5, 6, TPieceSource::Base};
const TScenePiece kRestorePiece{30, 40, 30, 40, 5, 6, TPieceSource::Base};
const TScenePiece kSparePiece{7, 8, 1, 2, 3, 4, TPieceSource::Spare};
const TAnimRecord kCopy = Rec('C', 10, 20, 30, 40, 5, 6);
const TAnimRecord kRestore = Rec('R', 99, 99, 30, 40, 5, 6);
const TAnimRecord kSpare = Rec('T', 1, 2, 7, 8, 3, 4);

TEST(SceneTracks, PlaysTracksOverTicks) {
    struct Case {
        std::string name;
        std::vector<std::vector<TAnimRecord>> have;  // tables of tracks 0.. of the scene
        int ticks;
        std::vector<Drawn> want;
    };
    const std::vector<Case> cases = {
        {"copy and restore every five ticks",
         {{kCopy, Wait(5), kRestore, Wait(5)}},
         20,
         {{1, kCopyPiece}, {6, kRestorePiece}, {11, kCopyPiece}, {16, kRestorePiece}}},
        {"pieces between two waits are drawn in one tick",
         {{kCopy, kSpare, Wait(2)}},
         5,
         {{1, kCopyPiece}, {1, kSparePiece}, {3, kCopyPiece}, {3, kSparePiece},
          {5, kCopyPiece}, {5, kSparePiece}}},
        {"wait 0 stops the track", {{kCopy, Wait(0), kRestore, Wait(1)}}, 20, {{1, kCopyPiece}}},
        {"negative wait stops the track", {{kCopy, Wait(-3), kRestore, Wait(1)}}, 20, {{1, kCopyPiece}}},
        {"unknown commands are skipped",
         {{Rec('X', 0, 0, 0, 0, 1, 1), kCopy, Rec(0, 0, 0, 0, 0, 1, 1), Wait(1)}},
         3,
         {{1, kCopyPiece}, {2, kCopyPiece}, {3, kCopyPiece}}},
        {"a track without a wait plays one pass and stops",
         {{kCopy, kSpare}},
         10,
         {{1, kCopyPiece}, {1, kSparePiece}}},
        {"a track of unknown commands only stops without drawing", {{Rec('Z', 0, 0, 0, 0, 0, 0)}}, 5, {}},
        {"tracks act in track order, empty tracks stay idle",
         {{}, {kSpare, Wait(3)}, {}, {kCopy, Wait(2)}},
         3,
         {{1, kSparePiece}, {1, kCopyPiece}, {3, kCopyPiece}}},
        {"a scene of empty tables never changes", {{}, {}, {}, {}, {}}, 10, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int scene : {0, 2}) {
            TPuzzleData puzzle;
            for (int track = 0; track < static_cast<int>(c.have.size()); ++track)
                if (!c.have[track].empty()) PutTable(puzzle, scene, track, c.have[track]);
            TSceneTracks tracks;
            tracks.OpenScene(scene);
            EXPECT_EQ(PlayTicks(tracks, puzzle, SceneMode(scene), c.ticks), c.want) << "scene " << scene;
        }
    }
}

TEST(SceneTracks, AnimatesOnlyTheOpenSceneOfTheCurrentMode) {
    struct Case {
        std::string name;
        int openScene;  // -1: none opened
        bool resetAfterOpen;
        ViewMode mode;
        bool wantDrawn;
    };
    const std::vector<Case> cases = {
        {"open scene shown", 1, false, ViewMode::FewFound, true},
        {"no mode", 1, false, ViewMode::None, false},
        {"outlined scene", 1, false, ViewMode::OutlineScene, false},
        {"photo", 1, false, ViewMode::Photo, false},
        {"outlined photo", 1, false, ViewMode::OutlinePhoto, false},
        {"mode of another scene than the open one", 0, false, ViewMode::FewFound, false},
        {"nothing opened yet", -1, false, ViewMode::Scene, false},
        {"record reset after opening", 1, true, ViewMode::FewFound, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        for (int scene = 0; scene < 4; ++scene) PutTable(puzzle, scene, 0, {kCopy, Wait(1)});
        TSceneTracks tracks;
        tracks.TrackWait.fill(1);
        if (c.openScene >= 0) tracks.OpenScene(c.openScene);
        if (c.resetAfterOpen) puzzle.Reset();
        EXPECT_EQ(!PlayTicks(tracks, puzzle, c.mode, 2).empty(), c.wantDrawn);
    }
}

TEST(SceneTracks, ReopeningASceneRestartsItsTracks) {
    TPuzzleData puzzle;
    PutTable(puzzle, 0, 0, {kCopy, Wait(2), kRestore, Wait(2)});
    TSceneTracks tracks;
    tracks.OpenScene(0);
    ASSERT_EQ(PlayTicks(tracks, puzzle, ViewMode::Scene, 3), (std::vector<Drawn>{{1, kCopyPiece}, {3, kRestorePiece}}));
    // Over to the photo: the tracks stand still.
    EXPECT_TRUE(PlayTicks(tracks, puzzle, ViewMode::Photo, 4).empty());
    // Back to the scene: it starts again at its first record on the first tick.
    tracks.OpenScene(0);
    EXPECT_EQ(PlayTicks(tracks, puzzle, ViewMode::Scene, 1), (std::vector<Drawn>{{1, kCopyPiece}}));
}

TEST(SceneTracks, SkipsTablesShorterThanTheirCount) {
    TPuzzleData puzzle;
    PutTable(puzzle, 0, 0, {kCopy, Wait(1)});
    puzzle.TableCounts[0] = 3;  // claims more records than the block holds
    PutTable(puzzle, 0, 1, {kSpare, Wait(1)});
    puzzle.TableCounts[2] = -4;
    TSceneTracks tracks;
    tracks.OpenScene(0);
    EXPECT_EQ(PlayTicks(tracks, puzzle, ViewMode::Scene, 1), (std::vector<Drawn>{{1, kSparePiece}}));
}

TEST(SceneTracks, OpeningASceneTakesItsOwnTablesAndReadsSignedFields) {
    TPuzzleData puzzle;
    // 'T', source (-2, 2), destination (3, 4), 5 x -32768, little-endian.
    const Block record{'T', 0, 0xFE, 0xFF, 2, 0, 3, 0, 4, 0, 5, 0, 0x00, 0x80};
    for (int t : {0, 2, 19}) {
        puzzle.TableCounts[t] = 1;
        puzzle.Tables[t] = record;
    }
    const TScenePiece want{3, 4, -2, 2, 5, -32768, TPieceSource::Spare};
    TSceneTracks tracks;
    tracks.OpenScene(3);
    EXPECT_EQ(tracks.OpenedScene(), 3);
    EXPECT_EQ(PlayTicks(tracks, puzzle, ViewMode::AllFound, 1), (std::vector<Drawn>{{1, want}}))
        << "only table 19, track 4 of scene 3";
    tracks.OpenScene(0);
    EXPECT_EQ(PlayTicks(tracks, puzzle, ViewMode::Scene, 1), (std::vector<Drawn>{{1, want}, {1, want}}))
        << "tables 0 and 2, tracks 0 and 2 of scene 0";
    tracks.OpenScene(4);
    EXPECT_EQ(tracks.OpenedScene(), -1);
}

// A hostile scene: every track a full table (32,767 records) and no "W".
TEST(SceneTracks, HostileTablesCostABoundedAmountPerTick) {
    constexpr int kRecords = 32767;
    struct Case {
        std::string name;
        TAnimRecord have;  // every record of every track
        int wantTicks;     // until all tracks have made their one pass and stopped
    };
    const std::vector<Case> cases = {
        {"unknown commands", Rec('X', 0, 0, 0, 0, 1, 1), (kRecords + kMaxTrackRecordsPerTick - 1) / kMaxTrackRecordsPerTick},
        {"small pieces", Rec('C', 0, 0, 5, 5, 8, 8), (kRecords + kMaxTrackRecordsPerTick - 1) / kMaxTrackRecordsPerTick},
        // 4096 x 4096 each: eight ticks a piece.
        {"whole-scene pieces", Rec('T', 0, 0, 0, 0, 4096, 4096), kRecords * 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        for (int track = 0; track < kTracksPerScene; ++track)
            PutTable(puzzle, 1, track, std::vector<TAnimRecord>(kRecords, c.have));
        TSceneTracks tracks;
        tracks.OpenScene(1);
        std::int64_t pixels = 0;
        int ticks = 0;
        for (;;) {
            std::int64_t drawn = 0;
            int pieces = 0;
            const TTickWork work = tracks.Step(puzzle, ViewMode::FewFound, [&](const TScenePiece& p) {
                drawn += std::int64_t{p.Width} * p.Height;
                ++pieces;
            });
            if (work.Records == 0) break;
            ++ticks;
            ASSERT_LE(work.Records, kTracksPerScene * kMaxTrackRecordsPerTick) << "tick " << ticks;
            ASSERT_LE(pieces, kTracksPerScene * kMaxTrackRecordsPerTick) << "tick " << ticks;
            ASSERT_LE(drawn, kTracksPerScene * kMaxTrackPixelsPerTick) << "tick " << ticks;
            ASSERT_EQ(work.Pixels, drawn);
            pixels += drawn;
        }
        // Nothing was lost on the way: one whole pass of every track.
        EXPECT_EQ(ticks, c.wantTicks);
        const std::int64_t area = c.have.Command == 'X' ? 0 : std::int64_t{c.have.Width} * c.have.Height;
        EXPECT_EQ(pixels, area * kRecords * kTracksPerScene);
        EXPECT_EQ(tracks.TrackWait, (std::array<std::int32_t, kTracksPerScene>{}));
    }
}

TEST(SceneTracks, ALargePieceGoesOutInBandsAndTheTrackCarriesOn) {
    TPuzzleData puzzle;
    // 3000 x 1500 = 4.5 M pixels: three bands of 699 rows (699 * 3000 <= 2 M).
    const TAnimRecord big = Rec('R', 0, 0, 10, 20, 3000, 1500);
    PutTable(puzzle, 0, 0, {big, kCopy, Wait(2)});
    TSceneTracks tracks;
    tracks.OpenScene(0);
    const auto band = [](int y, int h) { return TScenePiece{10, 20 + y, 10, 20 + y, 3000, h, TPieceSource::Base}; };
    const std::vector<Drawn> want = {
        {1, band(0, 699)}, {2, band(699, 699)}, {3, band(1398, 102)}, {3, kCopyPiece},
        // The wait counts from the tick that reached it.
        {5, band(0, 699)},
    };
    EXPECT_EQ(PlayTicks(tracks, puzzle, ViewMode::Scene, 5), want);
}

TEST(SceneTracks, OnlyThePixelsOnThePictureCountAgainstATicksBound) {
    struct Case {
        std::string name;
        int pictureW, pictureH;
        TAnimRecord have;      // then a wait
        int wantTicks;         // until the piece is all handed out
        std::int64_t wantPixels;  // counted, over all ticks
    };
    const std::vector<Case> cases = {
        // A "restore all" record far wider than the picture draws the picture once.
        {"restore all, 32767 wide", 640, 480, Rec('R', 0, 0, 0, 0, 32767, 2000), 1, 640 * 480},
        {"rows above and below the picture are free", 100, 50, Rec('R', 0, 0, 0, -5000, 100, 10000), 1, 100 * 50},
        {"source off the picture draws nothing", 100, 50, Rec('C', 200, 0, 0, 0, 30, 30), 1, 0},
        {"destination partly off", 100, 50, Rec('C', 0, 0, 90, 40, 30, 30), 1, 10 * 10},
        // On a picture as large as the piece it still goes out in bands.
        {"whole 4096 x 4096 picture", 4096, 4096, Rec('R', 0, 0, 0, 0, 4096, 4096), 8, 4096 * 4096},
        {"no picture size: every pixel counts", TSceneTracks::kNoPictureBound, TSceneTracks::kNoPictureBound,
         Rec('R', 0, 0, 0, 0, 32767, 2000), 32, std::int64_t{32767} * 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        PutTable(puzzle, 0, 0, {c.have, Wait(1000)});
        TSceneTracks tracks;
        tracks.OpenScene(0, c.pictureW, c.pictureH);
        int ticks = 0, rows = 0;
        std::int64_t pixels = 0;
        while (rows < c.have.Height && ticks < 100) {
            const TTickWork work = tracks.Step(puzzle, ViewMode::Scene, [&](const TScenePiece& p) { rows += p.Height; });
            ASSERT_LE(work.Pixels, kMaxTrackPixelsPerTick);
            pixels += work.Pixels;
            ++ticks;
        }
        EXPECT_EQ(rows, c.have.Height) << "every row handed out once";
        EXPECT_EQ(ticks, c.wantTicks);
        EXPECT_EQ(pixels, c.wantPixels);
    }
}

TEST(ClipPieceToSource, ClipsSourceAndShiftsDestination) {
    struct Case {
        std::string name;
        TScenePiece have;
        std::optional<TScenePiece> want;
    };
    const auto P = [](int dx, int dy, int sx, int sy, int w, int h) {
        return TScenePiece{dx, dy, sx, sy, w, h, TPieceSource::Spare};
    };
    // Source picture 100 x 50.
    const std::vector<Case> cases = {
        {"inside", P(5, 6, 10, 20, 30, 20), P(5, 6, 10, 20, 30, 20)},
        {"whole picture", P(0, 0, 0, 0, 100, 50), P(0, 0, 0, 0, 100, 50)},
        {"past right and bottom", P(5, 6, 90, 40, 30, 30), P(5, 6, 90, 40, 10, 10)},
        {"before left and top", P(5, 6, -3, -4, 10, 10), P(8, 10, 0, 0, 7, 6)},
        {"larger than the picture", P(0, 0, -10, -10, 200, 200), P(10, 10, 0, 0, 100, 50)},
        {"zero width", P(5, 6, 10, 20, 0, 20), std::nullopt},
        {"negative height", P(5, 6, 10, 20, 10, -1), std::nullopt},
        {"wholly right of the picture", P(5, 6, 100, 0, 10, 10), std::nullopt},
        {"wholly above the picture", P(5, 6, 0, -10, 10, 10), std::nullopt},
        {"extreme values", P(32767, 32767, 32767, -32768, 32767, 32767), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClipPieceToSource(c.have, 100, 50), c.want);
    }
}

}  // namespace
}  // namespace vexa
