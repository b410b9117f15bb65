// When the play, set-up and navigation commands are enabled and checked: what the window's
// menu-update handlers ask, and what the command functions themselves obey.
#pragma once

#include "shell/program_state.h"

namespace shogi {

enum class ShellCommand {
  // menu 対局
  kStartGame,           // "対局開始"
  kStartComputerGame,   // "ｺﾝﾋﾟｭｰﾀ対局"
  kSuspendGame,         // "対局中断"
  kResign,              // "投了"
  kConditions,          // "対局条件"
  kComputerConditions,  // "ｺﾝﾋﾟｭｰﾀ対局条件"
  kRepetitionCheck,     // "千日手チェック"
  // record navigation
  kStepForward,
  kContinuousForward,
  kToLastPosition,
  kStepBack,
  kContinuousBack,
  kToInitialPosition,
  kReplaySpeed,
  kStopReplay,  // "棋譜再現を中止する。"
  kTimeUsed,    // "消費時間"
  kResult,      // the 勝敗結果 items
  // menu 盤面設定
  kFirstToMove,  // "先手番"
  kMateSetUp,    // "詰設定"
  kFreeSetUp,    // "自由設定"
  kEndSetUp,     // "設定終了"
  kPreset,       // the twelve presets
  kMirror,       // "反転局面"
};

bool CommandEnabled(const ProgramState& state, ShellCommand command);

// Whether the menu item is checked; for kResult, `result_item` is the item's result code.
bool CommandChecked(const ProgramState& state, ShellCommand command, int result_item = -1);

}  // namespace shogi
