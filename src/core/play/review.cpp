#include "play/review.h"

#include "play/play_messages.h"
#include "play/show_mode.h"

#include <cstdio>

namespace vexa {

std::string ScoreText(int found, int count) {
    char text[64];
    std::snprintf(text, sizeof text, kScoreFormat, found, count);
    return text;
}

bool ReviewEnabled(const TGamePlay& game) {
    const TPlayState& state = game.State;
    if (!game.Puzzle.Loaded || state.Running || !state.LastJudgement.Valid) return false;
    return state.Reviewing() || IsResult(game.Host.CurrentMode());
}

void ToggleReview(TGamePlay& game) {
    if (!ReviewEnabled(game)) return;
    TPlayState& state = game.State;
    IPlayHost& host = game.Host;
    // The review lies over the result screen: the view's mode is still the
    // result, and switching to it again shows it afresh.
    const bool shown = state.Reviewing() ? ShowMode(game, host.CurrentMode()) : ShowReview(game);
    if (!shown) return;
    host.FitToPicture();
    host.SetMessageField(ScoreText(state.LastJudgement.FoundCount, state.LastJudgement.DiffCount));
}

}  // namespace vexa
