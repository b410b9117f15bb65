// Picking, selecting and putting down pieces.
#include "shell/board_clicks.h"

#include "rules/move_rules.h"
#include "shell/board_setup.h"
#include "shell/game_driver.h"

namespace shogi {
namespace {

bool Picking(const ProgramState& s) {
  return s.InteractionState == kStateGame || s.InteractionState == kStateSetUp;
}

ViewUpdate PickUp(ShellContext& ctx, BoardSpot spot) {
  return ctx.State.InteractionState == kStateSetUp ? SetUpPickUp(ctx.State, spot)
                                                   : GamePickUp(ctx, spot);
}

ViewUpdate PutDown(ShellContext& ctx, BoardSpot spot) {
  return ctx.State.InteractionState == kStateSetUp ? SetUpPutDown(ctx.State, spot)
                                                   : GameRelease(ctx, spot);
}

}  // namespace

ViewUpdate PressSpot(ShellContext& ctx, BoardSpot spot) {
  ProgramState& s = ctx.State;
  if (!Picking(s)) return {};
  const BoardSpot selected = s.Selected;
  if (selected.Area == BoardArea::kNone) return PickUp(ctx, spot);
  s.Selected = {};
  ViewUpdate u;
  u.Redraw(kViewBoard);
  if (selected == spot) return u;
  u.Merge(PickUp(ctx, selected));
  // The selected piece is gone (the position changed under it): the press is a fresh one.
  if (!s.Held.Active) {
    u.Merge(PickUp(ctx, spot));
    return u;
  }
  const int ply = s.Record.PlyCount;
  u.Merge(PutDown(ctx, spot));
  // A move that was not played: the press picks the piece under it, if it may.
  if (s.InteractionState == kStateGame && s.Record.PlyCount == ply) {
    u.Merge(PickUp(ctx, spot));
  }
  return u;
}

ViewUpdate ReleaseSpot(ShellContext& ctx, BoardSpot spot) {
  ProgramState& s = ctx.State;
  if (!Picking(s) || !s.Held.Active) return {};
  const BoardSpot from = s.Held.From;
  const int state = s.InteractionState;
  ViewUpdate u = PutDown(ctx, spot);
  if (spot == from && !s.Held.Active && s.InteractionState == state) s.Selected = from;
  return u;
}

bool DropSelection(ProgramState& state) {
  if (state.Selected.Area == BoardArea::kNone) return false;
  state.Selected = {};
  return true;
}

std::array<bool, 82> LegalDestinations(const ProgramState& s) {
  std::array<bool, 82> marks{};
  if (s.InteractionState != kStateGame) return marks;
  Position pos = s.Shown;
  BoardSpot from = s.Selected;
  if (s.Held.Active) {
    from = s.Held.From;
    // The held piece has left the shown position; the moves are those of the whole one.
    if (from.Area == BoardArea::kBoard) {
      pos.Board[from.Index] = static_cast<std::int8_t>(s.Held.Code);
    } else {
      ++pos.Hand[SideToMove(s)][from.Index];
    }
  }
  int origin;
  if (from.Area == BoardArea::kBoard) {
    origin = from.Index;
  } else if (from.Area == HandAreaOf(SideToMove(s))) {
    origin = DropOrigin(from.Index);
  } else {
    return marks;
  }
  LegalMoveList moves;
  const int n = LegalMoves(s.Record, pos, moves);
  for (int i = 0; i < n; ++i) {
    if (moves.origin[i] == origin) marks[moves.destination[i]] = true;
  }
  return marks;
}

}  // namespace shogi
