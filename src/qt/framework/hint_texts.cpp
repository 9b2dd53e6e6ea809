#include "framework/hint_texts.h"

#include "framework/command_ids.h"

namespace vexa {

QString HintText(int id) {
    switch (id) {
    case CmFit: return QStringLiteral("絵に合わせてウィンドウのサイズを調整します");
    case CmModeScene: return QStringLiteral("現在のシーンを表示します");
    case CmModePhoto: return QStringLiteral("写真データを表示します");
    case CmHelp: return QStringLiteral("ヘルプを表示します");
    case CmGather: return QStringLiteral("四角を左上に集めます");
    case CmJudge: return QStringLiteral("答えを判定します");
    case CmHintMode: return QStringLiteral("この覧に感応型ヘルプを出すかを切り替えます");
    case CmBarPlace: return QStringLiteral("ツールバーの位置を切り替えます");
    case CmExit: return QStringLiteral("プログラムを終了します");
    case CmOpen: return QStringLiteral("データを読み込みます");
    case CmStatusBar: return QStringLiteral("ステータスバーの表示・非表示を切り替えます");
    case CmToolBar: return QStringLiteral("ツールバーの表示・非表示を切り替えます");
    case CmConspicuousMarkers: return QStringLiteral("四角を白黒の縁で目立たせるかを切り替えます");
    case CmPause: return QStringLiteral("一時停止と再開を切り替えます");
    case CmReview: return QStringLiteral("見つけた間違いと見逃した間違いを表示します");
    case CmLibrary: return QStringLiteral("問題の一覧から選んで遊びます");
    case CmRecentFiles: return QStringLiteral("最近使ったファイルを読み込みます");
    case CmPauseOnMinimise: return QStringLiteral("最小化で一時停止するかを切り替えます");
    case CmHint: return QStringLiteral("まだ見つけていない間違いの辺りを示します");
    case CmSideBySide: return QStringLiteral("シーンと写真を並べて表示するかを切り替えます");
    case CmZoomIn: return QStringLiteral("絵を拡大します");
    case CmZoomOut: return QStringLiteral("絵を縮小します");
    case CmZoomActual: return QStringLiteral("絵を実際のサイズで表示します");
    case CmZoomFit: return QStringLiteral("絵をウィンドウに合わせて表示します");
    case CmMakeFromPhoto: return QStringLiteral("写真から間違い探しの問題を作ります");
    default: return {};
    }
}

}  // namespace vexa
