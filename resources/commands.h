// The window program's commands: their numbers, menu labels, prompts (status text and tool
// tip, as the string table holds them: "status\ntip") and the layout of the menus and the
// tool bar.
#pragma once

namespace shogi::resources {

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
  kCmdPresetFirst = 1100,  // + preset - 1 for the twelve presets 1..12
  kCmdResultFirst = 1200,  // + result code 0..8
};
constexpr int PresetCommand(int preset) {
  return kCmdPresetFirst + preset - 1;
}
constexpr int ResultCommand(int code) {
  return kCmdResultFirst + code;
}

// A command's texts: the menu label and the prompt, "status text\ntool tip" (either may be
// empty).
struct CommandText {
  int Id;
  const char* Label;
  const char* Prompt;
};

inline constexpr CommandText kCommandTexts[] = {
    {kCmdReadKif, "読み込み（柿木）", "柿木形式の棋譜を読み込む。\n読み込み（柿木）"},
    {kCmdReadKi2, "読み込み（柿木2）平手のみ",
     "柿木形式(ki2)の棋譜を読み込む。\n読み込み（柿木2）"},
    {kCmdReadCsa, "読み込み(CSA)", "CSA形式の棋譜を読み込む。\n読み込み(CSA)"},
    {kCmdSaveKif, "書き込み（柿木）", "棋譜を柿木形式で書き込む。\n書き込み（柿木）"},
    {kCmdExit, "終了", "プログラムを終了する。\n終了"},
    {kCmdFlip, "反転表示", "盤面を後手側から表示する。\n反転表示"},
    {kCmdClockMinutes, "時計（分単位）", "時計を分単位で表示する。\n時計（分単位）"},
    {kCmdWindowPosition, "初期位置", "画面の初期位置を設定する。\n初期位置"},
    {kCmdStepForward, "１手進める", "１手進める。\n１手再現"},
    {kCmdContinuousForward, "連続再現", "連続再現。\n連続再現"},
    {kCmdToLast, "最終局面図", "最後の局面まで進める。\n最終局面図"},
    {kCmdStepBack, "１手戻す", "１手戻す。\n１手戻す"},
    {kCmdContinuousBack, "連続して戻す、または待った",
     "連続して戻す、または待った。\n連続して戻す、または待った"},
    {kCmdToInitial, "初期局面図", "初期の局面まで戻す。\n初期局面図"},
    {kCmdReplaySpeed, "再現スピード", "再現のスピードを決める。\nスピード"},
    {kCmdStopReplay, "再現中断", "棋譜再現を中止する。\n再現中断"},
    {kCmdStartGame, "対局開始", "対局を開始する。\n対局開始"},
    {kCmdStartComputerGame, "ｺﾝﾋﾟｭｰﾀ対局", "コンピュータと対局する。\nｺﾝﾋﾟｭｰﾀ対局"},
    {kCmdSuspend, "対局中断", "対局を中断する。\n対局中断"},
    {kCmdResign, "投了", "手番の側が投了する。\n投了"},
    {kCmdConditions, "対局条件", "対局条件を設定する。\n対局条件"},
    {kCmdComputerConditions, "ｺﾝﾋﾟｭｰﾀ対局条件", "対局中に対局者を変更する。\nｺﾝﾋﾟｭｰﾀ対局条件"},
    {kCmdRepetitionCheck, "千日手チェック", "千日手を判定する。\n千日手チェック"},
    {kCmdFirstToMove, "先手番", "先手番と後手番を切り替える。\n先手番"},
    {kCmdMateSetUp, "詰設定", "詰将棋の局面を設定する。\n詰設定"},
    {kCmdFreeSetUp, "自由設定", "現在の局面を自由に設定する。\n自由設定"},
    {kCmdEndSetUp, "設定終了", "局面の設定を終了する。\n設定終了"},
    {kCmdMirror, "反転局面", "先後を入れ替えた局面にする。\n反転局面"},
    {kCmdNewProblem, "新規作成", "詰将棋の局面を設定する。\n新規作成"},
    {kCmdEditProblem, "問題修正", "現在の局面を自由に設定する。\n問題修正"},
    {kCmdMate1, "詰将棋１", "詰将棋を解く。\n詰将棋１"},
    {kCmdMate2, "詰将棋２", "詰将棋を解く。\n詰将棋２"},
    {kCmdMate3, "詰将棋３", "開始手数を指定して詰将棋を解く。\n詰将棋３"},
    {kCmdMateInGame, "実戦詰将棋", "現在の局面において、詰みがあるかどうか解析する。\n実戦詰将棋"},
    {kCmdAbout, "バージョン情報", "プログラム情報、バージョン、著作権を表示する。\nバージョン情報"},
};

// The prompt of a command ("" when it has none).
inline const CommandText* FindCommandText(int id) {
  for (const CommandText& t : kCommandTexts) {
    if (t.Id == id) return &t;
  }
  return nullptr;
}

}  // namespace shogi::resources
