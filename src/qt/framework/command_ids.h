// Command ids shared by the menu, the accelerators, the control bar and the
// hint table.
#pragma once

#include "puzzle/view_mode.h"

namespace vexa {

enum TCommandId : int {
    CmOpen = 24332,
    CmExit = 24310,
    CmGather = 210,
    CmFit = 201,
    // The mode commands are the view modes they show.
    CmModeOutlineScene = ModeNumber(ViewMode::OutlineScene),
    CmModeScene = ModeNumber(ViewMode::Scene),
    CmModeResult1 = ModeNumber(ViewMode::FewFound),
    CmModeResult2 = ModeNumber(ViewMode::HalfFound),
    CmModeResult3 = ModeNumber(ViewMode::AllFound),
    CmModePhoto = ModeNumber(ViewMode::Photo),
    CmModeOutlinePhoto = ModeNumber(ViewMode::OutlinePhoto),
    CmHelp = 209,
    CmJudge = 211,
    CmHintMode = 222,
    CmBarPlace = 223,
    CmStatusBar = 32040,
    CmToolBar = 32041,
    // 目立つマーカー in the 表示 menu: markers with a black-and-white outline.
    CmConspicuousMarkers = 231,
    // Beside the described commands: pause and the review of a judgement.
    CmPause = 232,
    CmReview = 233,
    // 問題集 (the puzzle list) and 最近使ったファイル in the ファイル menu.
    CmLibrary = 234,
    CmRecentFiles = 235,
    // 最小化で一時停止 in the 表示 menu: minimising pauses a running challenge.
    CmPauseOnMinimise = 236,
    // 並べて表示 and the zoom in the 表示 menu.
    CmSideBySide = 237,
    CmZoomIn = 238,
    CmZoomOut = 239,
    CmZoomActual = 240,
    CmZoomFit = 241,
    // ヒント in the モード変更 menu: marks a difference not yet covered.
    CmHint = 242,
    // 写真から問題を作る in the ファイル menu: makes a puzzle from a photo and plays it.
    CmMakeFromPhoto = 243,
};

constexpr bool IsModeCommand(int id) { return ModeFromNumber(id).has_value(); }

// The mode a mode command shows; None for any other command.
constexpr ViewMode ModeOfCommand(int id) { return ModeFromNumber(id).value_or(ViewMode::None); }

// The mode commands are one unbroken run of ids, and no other command falls
// inside it: IsModeCommand and the handler loop over the run rely on both.
static_assert(CmModeOutlinePhoto - CmModeOutlineScene == 6 && CmModeScene == CmModeOutlineScene + 1 &&
              CmModeResult1 == CmModeScene + 1 && CmModeResult2 == CmModeResult1 + 1 &&
              CmModeResult3 == CmModeResult2 + 1 && CmModePhoto == CmModeResult3 + 1);
static_assert(!IsModeCommand(CmFit) && !IsModeCommand(CmHelp) && !IsModeCommand(CmGather) &&
              !IsModeCommand(CmJudge));
static_assert(!IsModeCommand(CmPause) && !IsModeCommand(CmReview) && !IsModeCommand(CmPauseOnMinimise) &&
              !IsModeCommand(CmHint));
static_assert(!IsModeCommand(CmSideBySide) && !IsModeCommand(CmZoomIn) && !IsModeCommand(CmZoomOut) &&
              !IsModeCommand(CmZoomActual) && !IsModeCommand(CmZoomFit));
static_assert(!IsModeCommand(CmLibrary) && !IsModeCommand(CmRecentFiles) && !IsModeCommand(CmMakeFromPhoto));

}  // namespace vexa
