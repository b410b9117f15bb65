// Browsing the game record and taking moves back.
#include "shell/navigation.h"

#include "shell/command_state.h"
#include "shell/game_clock.h"
#include "shell/game_driver.h"

namespace shogi {
namespace {

constexpr unsigned kPositionRedraw = kViewBoard | kViewClocks | kViewInfo | kViewMovePanel;

// The result text at the end of the record, nothing elsewhere.
void ShowResultIfAtEnd(ProgramState& state) {
  if (MoveFollows(state.Record)) {
    ClearMessage(state.Message);
  } else {
    SetMessage(state.Message, ResultText(state.Record));
  }
}

// One move forward without the rebuild: the mover's clock from the move times.
void AdvanceOnePly(GameRecord& r) {
  r.Clocks[SideOfPly(r.PlyCount)] = TimeAt(r, r.PlyCount);
  ++r.PlyCount;
}

ViewUpdate Forward(ProgramState& state) {
  AdvanceOnePly(state.Record);
  RebuildShown(state);
  ShowResultIfAtEnd(state);
  ViewUpdate u;
  u.Redraw(kPositionRedraw | kViewMessage);
  return u;
}

// Back to ply n while browsing.
ViewUpdate BrowseTo(ProgramState& state, int n) {
  SetClocksAtPly(state.Record, n);
  state.Record.PlyCount = n;
  RebuildShown(state);
  ShowResultIfAtEnd(state);
  ViewUpdate u;
  u.Redraw(kPositionRedraw | kViewMessage);
  return u;
}

// 待った: deletes the moves from ply n on, the side to move at n gets the clock and the
// driver runs (a computer to move plays again).
ViewUpdate TakeBackTo(ShellContext& ctx, int n) {
  ProgramState& s = ctx.State;
  ViewUpdate u;
  SettleBoard(s, u);
  s.Clock.RunningSide = kNoRunningClock;
  s.Clock.SubSecond = -100;
  CutRecordAt(s.Record, n);
  SetClocksAtPly(s.Record, n);
  s.Record.PlyCount = n;
  RebuildShown(s);
  u.Redraw(kPositionRedraw);
  RunClock(s, SideOfPly(n), -100);
  FlushUpdate(ctx, u);
  return RunComputerTurns(ctx);
}

// After a step of continuous replay: re-arms `timer` while `more` (moves remain in the
// replay's direction), else the replay is over and the state returns to idle.
void ContinueReplay(ProgramState& state, ViewUpdate& u, unsigned timer, bool more) {
  if (more) {
    u.Start(timer);
    u.ReplayInterval = state.Settings.ReplayInterval;
  } else {
    state.InteractionState = kStateIdle;
  }
}

bool MoveBehind(const GameRecord& r) {
  return r.PlyCount > r.StartIndex;
}

}  // namespace

ViewUpdate StepForward(ProgramState& state) {
  if (!IdleWithMoveAhead(state)) return {};
  return Forward(state);
}

ViewUpdate StartContinuousForward(ProgramState& state) {
  if (!IdleWithMoveAhead(state)) return {};
  state.InteractionState = kStateReplaying;
  ViewUpdate u = Forward(state);
  ContinueReplay(state, u, kTimerReplayForward, MoveFollows(state.Record));
  return u;
}

ViewUpdate ReplayForwardTimer(ProgramState& state) {
  ViewUpdate u;
  u.Stop(kTimerReplayForward);
  if (state.InteractionState != kStateReplaying) return u;
  if (MoveFollows(state.Record)) u.Merge(Forward(state));
  ContinueReplay(state, u, kTimerReplayForward, MoveFollows(state.Record));
  return u;
}

ViewUpdate ShowPly(ProgramState& state, int n) {
  const GameRecord& r = state.Record;
  if (state.InteractionState != kStateIdle || n < r.StartIndex || n > RecordEndPly(r) ||
      n == r.PlyCount) {
    return {};
  }
  return BrowseTo(state, n);
}

ViewUpdate ToLastPosition(ProgramState& state) {
  if (!IdleWithMoveAhead(state)) return {};
  while (MoveFollows(state.Record)) AdvanceOnePly(state.Record);
  RebuildShown(state);
  ShowResultIfAtEnd(state);
  ViewUpdate u;
  u.Redraw(kPositionRedraw | kViewMessage);
  return u;
}

ViewUpdate StepBack(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  const GameRecord& r = s.Record;
  if (!StepBackAllowed(s)) return {};
  if (s.InteractionState == kStateIdle) return BrowseTo(s, r.PlyCount - 1);
  return TakeBackTo(ctx, r.PlyCount - 1);
}

ViewUpdate ContinuousBack(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  const GameRecord& r = s.Record;
  if (!ContinuousBackAllowed(s)) return {};
  if (s.InteractionState == kStateIdle) {
    s.InteractionState = kStateReplaying;
    ViewUpdate u = BrowseTo(s, r.PlyCount - 1);
    ContinueReplay(s, u, kTimerReplayBack, MoveBehind(r));
    return u;
  }
  return TakeBackTo(ctx, r.PlyCount - 2);
}

ViewUpdate ReplayBackTimer(ProgramState& state) {
  ViewUpdate u;
  u.Stop(kTimerReplayBack);
  if (state.InteractionState != kStateReplaying) return u;
  const GameRecord& r = state.Record;
  if (MoveBehind(r)) u.Merge(BrowseTo(state, r.PlyCount - 1));
  ContinueReplay(state, u, kTimerReplayBack, MoveBehind(r));
  return u;
}

ViewUpdate ToInitialPosition(ProgramState& state) {
  GameRecord& r = state.Record;
  if (!IdleWithMoveBehind(state)) return {};
  r.PlyCount = r.StartIndex;
  r.Clocks[0] = r.Clocks[1] = 0;
  RebuildShown(state);
  ShowResultIfAtEnd(state);
  ViewUpdate u;
  u.Redraw(kPositionRedraw | kViewMessage);
  return u;
}

ViewUpdate StopContinuousReplay(ProgramState& state) {
  if (state.InteractionState != kStateReplaying) return {};
  state.InteractionState = kStateIdle;
  ViewUpdate u;
  u.Stop(kTimerReplayForward | kTimerReplayBack);
  return u;
}

ViewUpdate StopReplayCommand(ProgramState& state) {
  if (!InGame(state)) return {};
  ViewUpdate u;
  SettleBoard(state, u);
  StopGameHere(state, kResultNone);
  u.Redraw(kViewBoard | kViewInfo | kViewMovePanel | kViewMessage);
  return u;
}

ViewUpdate ChooseResult(ProgramState& state, int result_code) {
  if (result_code < 0 || result_code >= kResultCodeCount) return {};
  ViewUpdate u;
  const int s = state.InteractionState;
  if (s == kStateIdle || IsGameState(s)) {
    SettleBoard(state, u);
    StopGameHere(state, result_code);
    SetMessage(state.Message, ResultText(state.Record));
    u.Redraw(kViewInfo | kViewMovePanel | kViewMessage | kViewBoard);
  } else {
    state.Record.ResultCode = result_code;
  }
  return u;
}

int ReplaySpeedStep(int v, ScrollAction action, int thumb) {
  switch (action) {
    case ScrollAction::kLineLess:
      if (v > 10000) return v - 5000;
      if (v > 2000) return v - 1000;
      if (v >= 600) return v - 500;
      return kReplayIntervalMin;
    case ScrollAction::kLineMore:
      if (v < 2000) return v + 500 < kReplayIntervalMin ? kReplayIntervalMin : v + 500;
      if (v > 10000) return v + 5000 > kReplayIntervalMax ? kReplayIntervalMax : v + 5000;
      return v + 1000;
    case ScrollAction::kThumb:
      if (thumb < kReplayIntervalMin) return kReplayIntervalMin;
      return thumb > kReplayIntervalMax ? kReplayIntervalMax : thumb;
    case ScrollAction::kOther:
      break;
  }
  return v;
}

ViewUpdate ChooseReplaySpeed(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (!Idle(s)) return {};
  int interval = s.Settings.ReplayInterval;
  if (!ctx.Ui.EditReplaySpeed(interval)) return {};
  s.Settings.ReplayInterval = ReplaySpeedStep(interval, ScrollAction::kThumb, interval);
  return {};
}

ViewUpdate EditTimeUsed(ShellContext& ctx, const std::function<bool(GameRecord&)>& edit_times) {
  ProgramState& s = ctx.State;
  GameRecord& r = s.Record;
  if (!Idle(s)) return {};
  if (r.StartIndex >= kMaxMoves || IsEndMarker(r.MoveList[r.StartIndex])) {
    ctx.Ui.ShowMessage("消費時間", "指し手が存在しません。");
    return {};
  }
  if (!edit_times || !edit_times(r)) return {};
  SetClocksAtPly(r, r.PlyCount);
  ViewUpdate u;
  u.Redraw(kViewClocks | kViewInfo);
  return u;
}

}  // namespace shogi
