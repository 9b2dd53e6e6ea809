// The shell's resources as data: menu 100, accelerator table 100 and the
// control-bar layout.
#pragma once

#include "framework/accelerators.h"
#include "framework/command_ids.h"
#include "framework/control_bar.h"

#include <array>

class QMenuBar;

namespace vexa {

class TCommandTable;

// Fills `bar` with menu 100; items are the commands' actions.
void BuildMenu100(QMenuBar* bar, TCommandTable& commands);

inline constexpr std::array<TAccelerator, 5> kAccelerators100{{
    {Qt::Key_F1, CmHelp},
    {Qt::Key_F5, CmFit},
    {Qt::Key_F12, CmOpen},
    {Qt::Key_F8, CmModeScene},
    {Qt::Key_F9, CmModePhoto},
}};

// Keys added beside table 100: Ctrl+O opens as F12 does, Ctrl+Q ends the program.
inline constexpr std::array<TAccelerator, 2> kExtraAccelerators{{
    {(Qt::CTRL | Qt::Key_O).toCombined(), CmOpen},
    {(Qt::CTRL | Qt::Key_Q).toCombined(), CmExit},
}};

// Keys beside table 100: the review and pause.
inline constexpr std::array<TAccelerator, 3> kReviewPauseKeys{{
    {Qt::Key_F7, CmReview},
    {Qt::Key_P, CmPause},
    {Qt::Key_Pause, CmPause},
}};

// The hint's key, beside table 100.
inline constexpr std::array<TAccelerator, 1> kHintKeys{{
    {Qt::Key_H, CmHint},
}};

// The keys of 並べて表示 and the zoom, beside table 100. Ctrl+= is Ctrl++
// without Shift on most keyboards.
inline constexpr std::array<TAccelerator, 5> kViewKeys{{
    {Qt::Key_F6, CmSideBySide},
    {(Qt::CTRL | Qt::Key_Plus).toCombined(), CmZoomIn},
    {(Qt::CTRL | Qt::Key_Equal).toCombined(), CmZoomIn},
    {(Qt::CTRL | Qt::Key_Minus).toCombined(), CmZoomOut},
    {(Qt::CTRL | Qt::Key_0).toCombined(), CmZoomActual},
}};

// The puzzle list's key, beside table 100.
inline constexpr std::array<TAccelerator, 1> kLibraryKeys{{
    {(Qt::CTRL | Qt::Key_L).toCombined(), CmLibrary},
}};

// The key of 写真から問題を作る, beside table 100.
inline constexpr std::array<TAccelerator, 1> kMakeKeys{{
    {(Qt::CTRL | Qt::Key_N).toCombined(), CmMakeFromPhoto},
}};

// The object name of the 最近使ったファイル submenu, which the list fills.
inline constexpr const char* kRecentMenuName = "recentFiles";

// One control-bar entry; Id 0 is a separator.
struct TBarEntry {
    int Id;
    TButtonKind Kind;
};

inline constexpr std::array<TBarEntry, 14> kControlBarLayout{{
    {CmOpen, TButtonKind::Command},
    {0, TButtonKind::Command},
    {CmFit, TButtonKind::Command},
    {0, TButtonKind::Command},
    {CmModeScene, TButtonKind::Exclusive},
    {CmModePhoto, TButtonKind::Exclusive},
    {0, TButtonKind::Command},
    {CmGather, TButtonKind::Command},
    {0, TButtonKind::Command},
    {CmJudge, TButtonKind::Command},
    {0, TButtonKind::Command},
    {CmHintMode, TButtonKind::NonExclusive},
    {0, TButtonKind::Command},
    {CmBarPlace, TButtonKind::Command},
}};

// Builds the control bar of kControlBarLayout over the commands' actions.
TControlBar* BuildControlBar(QWidget* parent, TCommandTable& commands);

}  // namespace vexa
