// Browsing the game record: steps forward and back, continuous replay driven by timers 200
// and 300, the jumps to either end, take-back (待った) in a game, the result sub-menu, the
// replay speed and the guard of the time-used editor. Each command refuses quietly where
// its menu item is disabled.
#pragma once

#include <functional>

#include "shell/shell_context.h"

namespace shogi {

// "１手進める。": one move forward (idle). At the end of the record the result text is
// shown in the message area.
ViewUpdate StepForward(ProgramState& state);
// "連続再現。": replaying state, one step, timer 200 while moves follow.
ViewUpdate StartContinuousForward(ProgramState& state);
// Timer 200 fired: the next step if still replaying.
ViewUpdate ReplayForwardTimer(ProgramState& state);
// "最後の局面まで進める。": up to the end marker, then the result text.
ViewUpdate ToLastPosition(ProgramState& state);

// "１手戻す。": one move back when idle; in a game 待った: the last move is deleted, the
// clock runs for the side to move and a computer to move plays again at once.
ViewUpdate StepBack(ShellContext& ctx);
// "連続して戻す、または待った。": idle: continuous replay backwards (timer 300); in a game:
// take back two moves.
ViewUpdate ContinuousBack(ShellContext& ctx);
// Timer 300 fired: the next step back if still replaying.
ViewUpdate ReplayBackTimer(ProgramState& state);
// A click in the move list: the position after ply n - 1 of the record (idle only, n within
// the record).
ViewUpdate ShowPly(ProgramState& state, int n);
// "初期の局面まで戻す。": to the record's start, both clocks 0.
ViewUpdate ToInitialPosition(ProgramState& state);

// Right button while replaying: kills timers 200 and 300, back to idle.
ViewUpdate StopContinuousReplay(ProgramState& state);
// "棋譜再現を中止する。" (in a game): like 対局中断, but the thinking library is not told.
ViewUpdate StopReplayCommand(ProgramState& state);

// 勝敗結果 sub-menu: sets the result; if idle or in a game also cuts the record at the
// shown position, stores the clock of the side to move there and ends the game.
ViewUpdate ChooseResult(ProgramState& state, int result_code);

// "再現のスピードを決める。" (idle): the replay-speed dialog; OK stores the new interval.
ViewUpdate ChooseReplaySpeed(ShellContext& ctx);

// What the replay-speed scroll bar was asked to do.
enum class ScrollAction { kLineLess, kLineMore, kThumb, kOther };
// The scroll bar's new position (100..20 000 ms) after `action` from `position`; `thumb` is
// the dragged position for kThumb.
int ReplaySpeedStep(int position, ScrollAction action, int thumb = 0);

// "消費時間" (idle): refuses a record without moves with "指し手が存在しません。"; otherwise
// runs `edit_times` (the per-move time editor; true on OK, having rebuilt the move times)
// and then takes both clocks from the move times.
ViewUpdate EditTimeUsed(ShellContext& ctx, const std::function<bool(GameRecord&)>& edit_times);

}  // namespace shogi
