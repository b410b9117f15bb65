// The numbers of the window program's commands, as its menus, tool bar and tests name them.
#pragma once

namespace shogi {

enum CommandId : int {
  kCmdReadKif = 1000,  // "読み込み（柿木）"
  kCmdReadKi2,         // "読み込み（柿木2）平手のみ"
  kCmdReadCsa,         // "読み込み(CSA)"
  kCmdSaveKif,         // "書き込み（柿木）"
  kCmdExit,
  kCmdFlip,            // "反転表示"
  kCmdClockMinutes,    // "時計（分単位）"
  kCmdWindowPosition,  // "初期位置"
  kCmdStepForward,
  kCmdContinuousForward,
  kCmdToLast,
  kCmdStepBack,
  kCmdContinuousBack,
  kCmdToInitial,
  kCmdReplaySpeed,
  kCmdStopReplay,
  kCmdStartGame,
  kCmdStartComputerGame,
  kCmdSuspend,
  kCmdResign,
  kCmdConditions,
  kCmdComputerConditions,
  kCmdRepetitionCheck,
  kCmdFirstToMove,
  kCmdMateSetUp,
  kCmdFreeSetUp,
  kCmdEndSetUp,
  kCmdMirror,
  kCmdNewProblem,   // "新規作成" (詰設定 under 詰将棋)
  kCmdEditProblem,  // "問題修正" (自由設定 under 詰将棋)
  kCmdMate1,
  kCmdMate2,
  kCmdMate3,
  kCmdMateInGame,  // "実戦詰将棋"
  kCmdAbout,
  kCmdKisenFile,          // 棋泉 "ﾌｧｲﾙ名"
  kCmdKisenRegister,      // 棋泉 "新規登録"
  kCmdKisenOverwrite,     // 棋泉 "修正登録"
  kCmdKisenPlayers,       // 棋泉 "棋士名変更"
  kCmdKisenTournaments,   // 棋泉 "棋戦名変更"
  kCmdKisenOpenings,      // 棋泉 "戦型名変更"
  kCmdTarvelFile,         // Tarvel "ﾌｧｲﾙ名"
  kCmdTarvelFile2,        // Tarvel "ﾌｧｲﾙ名２"
  kCmdTarvelRegister,     // Tarvel "新規登録"
  kCmdTarvelOverwrite,    // Tarvel "修正登録"
  kCmdTarvelPlayers,      // Tarvel "棋士名変更"
  kCmdTarvelTournaments,  // Tarvel "棋戦名変更"
  kCmdTarvelOpenings,     // Tarvel "戦型名変更"
  kCmdFvFile,             // Bonanza "fvﾌｧｲﾙ名"
  kCmdFvSum,              // Bonanza "fv計算"
  kCmdMaterial,           // Bonanza "駒の損得"
  kCmdStaticEvaluation,   // Bonanza "静的評価"
  kCmdPieceValues,        // Bonanza "駒の価値設定"
  kCmdBestMoves,          // Bonanza "最善手検索"
  kCmdKisenToTarvel,      // Tarvel "棋泉->Tarvel"
  kCmdTarvelToKisen,      // Tarvel "Tarvel->棋泉"
  kCmdTarvelToJsk,        // Tarvel "Tarvel->定跡"
  kCmdJskFile,            // Tarvel "定跡ファイル"
  kCmdBookLookup,         // Bonanza "Book検索"
  kCmdBookFile,           // Bonanza "Bookﾌｧｲﾙ名"
  kCmdBuildBook,          // Bonanza "Tarvel->Book"

  // The whole-database items of the two menus: 棋泉 first, then Tarvel, in menu order.
  kCmdKisenSort,                // "ソート"
  kCmdKisenDuplicates,          // "重複ﾁｪｯｸ"
  kCmdKisenMerge,               // "ﾌｧｲﾙ合併"
  kCmdKisenMergeDistributed,    // "配布ﾃﾞｰﾀ合併"
  kCmdKisenRemove,              // "ﾌｧｲﾙ削除"
  kCmdKisenRenamePlayers,       // "棋士一括変更"
  kCmdKisenRenameTournaments,   // "棋戦一括変更"
  kCmdKisenRenameOpenings,      // "戦型一括変更"
  kCmdTarvelSort,               // "ソート"
  kCmdTarvelDuplicates,         // "重複ﾁｪｯｸ"
  kCmdTarvelMerge,              // "ﾌｧｲﾙ合併"
  kCmdTarvelRemove,             // "ﾌｧｲﾙ削除"
  kCmdTarvelSwap,               // "入れ換え"
  kCmdTarvelRenamePlayers,      // "棋士一括変更"
  kCmdTarvelRenameTournaments,  // "棋戦一括変更"
  kCmdTarvelRenameOpenings,     // "戦型一括変更"
  kCmdYearbook,                 // Tarvel "将棋年鑑"
  kCmdKisenSearch,              // 棋泉 "検索条件"
  kCmdKisenList,                // 棋泉 "一覧表"
  kCmdKisenReverse,             // 棋泉 "逆順表示"
  kCmdTarvelSearch,             // Tarvel "検索条件"
  kCmdTarvelList,               // Tarvel "一覧表"
  kCmdTarvelReverse,            // Tarvel "逆順表示"
  kCmdFirstPreset = 1100,       // the start-position presets, in preset order
  kCmdFirstResult = 1200,       // the 勝敗結果 items, in result-code order
  // The later blocks are numbered apart from the groups above, a hundred each.
  // Outside USI engines (the エンジン menu).
  kCmdEngines = 1400,  // "エンジン登録"
  kCmdAnalysis,        // "検討"
  kCmdRecordAnalysis,  // "棋譜解析"
  // Output: the 出力 menu, the 印刷 menu and 詰将棋->BMP.
  kCmdOutputFile = 1500,  // 出力 "ファイル名"
  kCmdStandardDiagram,    // "標準局面図"
  kCmdKayaDiagram,        // "かや局面図"
  kCmdMergedDiagram,      // "併合局面図"
  kCmdMoritaDiagram,      // "森田局面図"
  kCmdMailDiagram,        // "メール局面図"
  kCmdStandardRecord,     // "標準棋譜"
  kCmdRecordPrint,        // 印刷 "棋譜印刷"
  kCmdDiagramPrint,       // "局面図印刷"
  kCmdPrint,              // "印刷開始" (also the tool bar's print button)
  kCmdPrintPreview,       // "印刷プレビュー"
  kCmdPrintSetup,         // "プリンタの設定"
  kCmdProblemBitmap,      // 詰将棋 "詰将棋->BMP"
  kCmdKayaRecord,         // "かや棋譜"
  // Records through the clipboard (the 編集 menu).
  kCmdCopyKif = 1600,  // "棋譜をKIF形式でコピー"
  kCmdCopySfen,        // "局面をSFEN形式でコピー"
  kCmdPasteRecord,     // "棋譜の貼り付け"
  // The board view's display options (the 表示 menu).
  kCmdShowCoordinates = 1700,  // "座標"
  kCmdShowLastMove,            // "最終手"
  kCmdShowPieceCounts,         // "持駒数"
  kCmdShowTurn,                // "手番"
  kCmdShowDestinations,        // "移動先"
  kCmdScale100,                // "100%"
  kCmdScale150,                // "150%"
  kCmdScale200,                // "200%"
  kCmdShowExplorer,            // "局面統計"
  kCmdKeepVariations,          // "変化を残す"
  kCmdShowNotes,  // "変化とコメント": the window of the variations and the comment
  kCmdShowScoreGraph,  // "評価値グラフ"
  kCmdScaleFit,        // "ウィンドウに合わせる"
  // Mate solvers beyond the four of the 詰将棋 menu's first block.
  kCmdMateDfpn = 1800,  // "詰将棋（df-pn）"
  // The position index of the 棋泉 and Tarvel menus.
  kCmdKisenPositionIndex = 1810,  // 棋泉 "局面インデックス作成"
  kCmdTarvelPositionIndex,        // Tarvel "局面インデックス作成"
  // The record's variations (the 再現 menu; ↑ and ↓).
  kCmdPreviousVariation = 1820,  // "前の変化"
  kCmdNextVariation,             // "次の変化"
  kCmdMakeMainLine,              // "本譜にする"

  // Record files: the general open and save, the single-format and URL opens, the Palm file,
  // the time-used editor (numbered apart from the groups above).
  kCmdOpenRecord = 1300,  // "読み込み"
  kCmdSaveRecord,         // "書き込み"
  kCmdReadEisei,          // "読み込み（永世）", only while the format has a reader
  kCmdUrlKif,             // "URL読み込み（柿木）"
  kCmdUrlCsa,             // "URL読み込み（CSA）"
  kCmdPalmRead,           // "palm読込"
  kCmdPalmWrite,          // "palm書込"
  kCmdTimeUsed,           // "消費時間" (menu その他)
};
static_assert(kCmdTarvelReverse < kCmdFirstPreset, "the commands run into the presets");
// The command of start-position preset 1..12 and of result code 0..8.
int PresetCommand(int preset);
int ResultCommand(int result_code);

}  // namespace shogi
