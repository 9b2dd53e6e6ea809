// A scripted stand-in for the window around game play: it logs every call
// as one line (of the overlays only the pause screen's coming and going),
// keeps the last overlay, a settable clock, key state and view place, and
// plays the view's mode switch including its failure (its own message, mode
// None; the record is left alone).
#pragma once

#include "play/load_into_play.h"
#include "play/play_state.h"
#include "view_mode_names.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vexa::testing {

class FakePlayHost : public IPlayHost {
public:
    FakePlayHost() = default;

    void ShowMessage(const std::string& text) override {
        if (std::find_if(Log.begin(), Log.end(), [](const std::string& l) { return l.rfind("message ", 0) == 0; }) ==
            Log.end())
            OverlayAtFirstMessage = Overlay;
        Log.push_back("message " + text);
    }
    TAnswer AskYesNoCancel(const std::string& text) override {
        Log.push_back("ask " + text);
        return Answer;
    }
    void SetCountField(const std::string& text) override { Log.push_back("count " + text); }
    void SetTimeField(const std::string& text) override { Log.push_back("time " + text); }
    // Kept, not logged: hints overwrite the message field freely.
    void SetMessageField(const std::string& text) override { MessageField = text; }
    // Kept, not logged: they go with the time field and the marker keys.
    void SetTimeFieldWarning(bool on) override { TimeWarning = on; }
    void ScrollToShow(TPoint corner, int width, int height) override {
        ShownArea = TDiffRect{corner.X, corner.Y, corner.X + width, corner.Y + height};
    }
    bool SwitchMode(ViewMode mode, bool pair) override {
        Log.push_back("switch " + ModeName(mode) + (pair ? " pair" : ""));
        if (FailingModes.count(mode)) {
            Log.push_back("message view failure");
            Mode = ViewMode::None;
            return false;
        }
        Mode = mode;
        return true;
    }
    ViewMode CurrentMode() const override { return Mode; }
    bool ShowReviewPicture() override {
        Log.push_back("review");
        if (FailingReview) {
            Log.push_back("message view failure");
            Mode = ViewMode::None;
            return false;
        }
        return true;
    }
    void ShowOverlay(const TPlayOverlay& overlay) override {
        if (overlay.Paused != Overlay.Paused) Log.push_back(overlay.Paused ? "paused" : "resumed");
        Overlay = overlay;
    }
    TViewPlace ViewPlace() const override { return Place; }
    void AnimateStep() override { ++AnimateSteps; }
    std::string WelcomeText() const override { return "welcome"; }
    void FitToPicture() override { Log.push_back("fit"); }
    bool IsFrameActive() const override { return FrameActive; }
    bool IsShiftHeld() const override { return Shift; }
    bool IsRightButtonHeld() const override { return RightButton; }
    std::int64_t Now() const override { return Clock; }

    // Takes the lines logged so far.
    std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }

    std::vector<std::string> Log;
    std::set<ViewMode> FailingModes;
    bool FailingReview = false;
    TPlayOverlay Overlay;  // what the view was last handed to draw
    TPlayOverlay OverlayAtFirstMessage;  // what it drew when the first box of the log came up
    std::string MessageField;
    bool TimeWarning = false;
    std::optional<TDiffRect> ShownArea;  // the last area the view was to scroll to
    ViewMode Mode = ViewMode::None;
    TViewPlace Place{{0, 0}, 500, 350};  // scroll position and picture size
    TAnswer Answer = TAnswer::No;
    bool FrameActive = true;
    bool Shift = false;
    bool RightButton = false;
    std::int64_t Clock = 1'000'000;
    int AnimateSteps = 0;
};

// The fake's log line for the time field showing `seconds` left.
inline std::string TimeLeftLine(int seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "time 残り時間　%3d", seconds);
    return text;
}

// A puzzle as the loader would leave it.
struct FakePuzzle {
    std::vector<TDiffRect> Rects;
    const char* Section = "Sec";
    TLoadError Failure = TLoadError::None;  // why the loader fails, if it does
};

inline TPuzzleLoader FakeLoader(const FakePuzzle& fake) {
    return [fake](TPuzzleData& record, TPuzzleSideValues& side, const std::string&) {
        if (fake.Failure != TLoadError::None) return fake.Failure;
        record.DiffCount = static_cast<std::int16_t>(fake.Rects.size());
        for (std::size_t i = 0; i < fake.Rects.size() && i < record.DiffRects.size(); ++i)
            record.DiffRects[i] = fake.Rects[i];
        std::snprintf(side.CurrentSection, sizeof side.CurrentSection, "%s", fake.Section);
        record.Loaded = 1;
        return TLoadError::None;
    };
}

// A settings file in a private folder that goes away with the object.
class SettingsFile {
public:
    SettingsFile() {
        dir_ = std::filesystem::temp_directory_path() /
               ("vexa-play-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
    }
    ~SettingsFile() { std::filesystem::remove_all(dir_); }
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    std::string Path() const { return (dir_ / "vexa.Ini").string(); }
    // The file's bytes, or nothing when there is no file.
    std::optional<std::string> Bytes() const {
        std::ifstream in(Path(), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    static inline int counter_ = 0;
    std::filesystem::path dir_;
};

// The record, its side values, the host and the game over them, with a
// settings file of its own.
struct PlayFixture {
    PlayFixture() : Game{Puzzle, Side, Host, Settings.Path(), {}} {}

    // Loads `fake` and drops the log of the load.
    void Load(const FakePuzzle& fake) {
        Game.LoadPuzzle = FakeLoader(fake);
        LoadIntoPlay(Game, "puzzle.VX");
        Host.TakeLog();
    }

    // Puts marker i's top-left corner at `corner` in picture coordinates.
    void PlaceMarker(int i, TPoint corner) { Game.State.Markers.Corners.at(i) = corner; }
    // Whether every marker lies at the view's top-left corner, as gathering leaves them.
    bool Gathered() const {
        for (const TPoint& corner : Game.State.Markers.Corners)
            if (!(corner == Host.Place.Scroll)) return false;
        return true;
    }

    SettingsFile Settings;
    TPuzzleData Puzzle;
    TPuzzleSideValues Side;
    FakePlayHost Host;
    TGamePlay Game;
};

}  // namespace vexa::testing
