// The game clocks.
#include "shell/game_clock.h"

namespace shogi {

ViewUpdate GameClockTick(ProgramState& state) {
  ViewUpdate u;
  const int s = state.InteractionState;
  const int running = state.Clock.RunningSide;
  const bool counting = s == kStateGame || s == kStatePromotion || IsBusyState(s);
  if (counting && (running == kFirst || running == kSecond)) {
    state.Clock.SubSecond += kClockTimerPeriod;
    if (state.Clock.SubSecond >= 1000) {
      ++state.Record.Clocks[running];
      state.Clock.SubSecond = 0;
      u.Redraw(kViewClocks);
    }
  } else if (s != kStateDatabase) {
    state.Clock.RunningSide = kNoRunningClock;
    u.Stop(kTimerClock);
  }
  return u;
}

std::int32_t TimeAt(const GameRecord& r, int i) {
  return i >= r.StartIndex && i >= 0 && i < kMaxMoves ? r.MoveTimes[i] : 0;
}

void SetClocksAtPly(GameRecord& r, int n) {
  const Side mover = SideOfPly(n);
  r.Clocks[mover] = TimeAt(r, n - 2);
  r.Clocks[Opponent(mover)] = TimeAt(r, n - 1);
}

}  // namespace shogi
