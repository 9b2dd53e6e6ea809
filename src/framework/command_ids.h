// Command ids shared by the menu, the accelerators, the control bar and the
// hint table.
#pragma once

namespace vexa {

enum TCommandId : int {
    CmOpen = 24332,
    CmExit = 24310,
    CmGather = 210,
    CmFit = 201,
    CmModeOutlineScene = 202,
    CmModeScene = 203,
    CmModeResult1 = 204,
    CmModeResult2 = 205,
    CmModeResult3 = 206,
    CmModePhoto = 207,
    CmModeOutlinePhoto = 208,
    CmHelp = 209,
    CmJudge = 211,
    CmHintMode = 222,
    CmBarPlace = 223,
    CmStatusBar = 32040,
    CmToolBar = 32041,
};

constexpr bool IsModeCommand(int id) { return id >= CmModeOutlineScene && id <= CmModeOutlinePhoto; }

}  // namespace vexa
