// The two game clocks: timer 100 calls GameClockTick every 100 ms.
#pragma once

#include <cstdint>

#include "shell/program_state.h"
#include "shell/view_update.h"

namespace shogi {

// One tick of timer 100. While a game runs (states 2, 3 and the busy states) and a clock
// runs, adds 100 ms to the sub-second counter and at 1 000 ms one second to the running
// side's clock. Otherwise, unless a database command runs, stops the clock and asks for
// timer 100 to be killed. Clocks count whole seconds only.
ViewUpdate GameClockTick(ProgramState& state);

// Starts `side`'s clock with the sub-second counter at `sub_second` (0 at the start of a
// game, -100 after a move, so that the first 100 ms after a move are not counted).
inline void RunClock(ProgramState& state, Side side, int sub_second) {
  state.Clock.RunningSide = side;
  state.Clock.SubSecond = sub_second;
}

// The clock time stored for ply i, 0 before the record's first move.
std::int32_t TimeAt(const GameRecord& record, int i);

// The clocks at ply n: the side to move's from move times n - 2, the other's from n - 1,
// each 0 below StartIndex.
void SetClocksAtPly(GameRecord& record, int n);

}  // namespace shogi
