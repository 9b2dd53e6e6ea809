// 最近使ったファイル: the last puzzles opened, read from the list's state
// file each time the menu opens. Files that are gone are shown greyed.
#pragma once

#include <QByteArray>

#include <functional>
#include <string>

class QMenu;

namespace vexa {

// Keeps `menu` filled from the state file at `statePath` (re-read as the menu
// opens); choosing an item calls `open` with the file's bytes. Items carry
// hint id `hintId`.
void KeepRecentMenu(QMenu* menu, std::string statePath, int hintId,
                    std::function<void(const QByteArray&)> open);

// Fills `menu` now, as it is filled when it opens.
void FillRecentMenu(QMenu* menu, const std::string& statePath, int hintId,
                    const std::function<void(const QByteArray&)>& open);

}  // namespace vexa
