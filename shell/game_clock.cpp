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

}  // namespace shogi
