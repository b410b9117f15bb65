// The game driver.
#include "shell/game_driver.h"

#include "players/engine_player.h"
#include "rules/move_rules.h"
#include "shell/board_setup.h"
#include "shell/command_state.h"
#include "shell/game_clock.h"
#include "shell/game_conditions.h"
#include "shell/record_notes.h"

namespace shogi {
namespace {

constexpr unsigned kMoveRedraw = kViewBoard | kViewClocks | kViewInfo | kViewMovePanel;

// King squares that the rules can trust: on the board and holding that side's king, or
// none (<= 0). A position read from a damaged file must not reach the attack tests.
bool KingSquaresSound(const Position& pos) {
  for (Side side : {kFirst, kSecond}) {
    int k = pos.King[side];
    if (k <= 0) continue;
    if (!IsSquare(k) || pos.Board[k] != CodeOf(kKing, side)) return false;
  }
  return true;
}

bool Playable(const Position& pos, Side side_to_move, bool both_kings) {
  return KingSquaresSound(pos) &&
         CheckPosition(pos, side_to_move, both_kings) == PositionCheck::kPlayable;
}

void TellLibraryGameEnded(ShellContext& ctx) {
  if (LibraryPlays(ctx.State.Record) && ctx.Library) ctx.Library->EndGame();
}

// Runs the end checks and, if the game ended, shows the end message in a box.
void EndChecksWithMessage(ShellContext& ctx, ViewUpdate& u) {
  std::string message;
  if (!RunEndChecks(ctx.State, message)) return;
  u.Redraw(kMoveRedraw | kViewMessage);
  FlushUpdate(ctx, u);
  ctx.Ui.ShowMessage(kGameCaption, message);
}

// Whether a move can be applied without breaking the position record: squares and drop
// types in range, and a promotion only of an unpromoted piece that can promote (anything
// else would leave a piece code that the rule tables do not know). Legality is not asked.
bool MoveFitsPosition(const Position& pos, int origin, int destination, int promote) {
  if (promote != 0 && promote != 1) return false;
  if (!IsSquare(destination)) return false;
  if (IsDropOrigin(origin)) return origin <= DropOrigin(kRook) && promote == 0;
  if (!IsSquare(origin)) return false;
  return promote == 0 || CanPromote(TypeOf(pos.Board[origin]));
}

// The conditions dialog's data, with the registered engines in its player list.
GameConditions ConditionsFor(ShellContext& ctx, bool computer_mode, bool start_editable,
                             int preselected_start) {
  GameConditions c =
      ConditionsFromRecord(ctx.State.Record, computer_mode, start_editable, preselected_start,
                           ctx.Library != nullptr && ctx.Library->Offered());
  if (ctx.Engines) c.Engines = ctx.Engines->Names();
  return c;
}

// After a person's move: the computer's turn, if the game goes on and a computer moves next.
ViewUpdate HandOver(ShellContext& ctx, ViewUpdate& u) {
  if (ctx.State.InteractionState != kStateGame) return u;
  FlushUpdate(ctx, u);
  return RunComputerTurns(ctx);
}

ComputerPlayer* PlayerOfKind(ShellContext& ctx, int kind) {
  if (IsEnginePlayer(kind)) return ctx.Engines;
  return kind > 0 ? ctx.InProcess : ctx.Library;
}

}  // namespace

void SettleBoard(ProgramState& state, ViewUpdate& u) {
  if (state.Held.Active) {
    ReturnHeldPiece(state);
    u.Redraw(kViewBoard);
  }
  if (state.InteractionState == kStatePromotion) {
    state.InteractionState = kStateGame;
    u.Redraw(kViewHidePromotion);
  }
}

bool LibraryPlays(const GameRecord& record) {
  return IsLibraryPlayer(record.PlayerKind[0]) || IsLibraryPlayer(record.PlayerKind[1]);
}

void FlushUpdate(ShellContext& ctx, ViewUpdate& update) {
  if (!update.Empty()) ctx.View.ApplyUpdate(update);
  update = ViewUpdate{};
}

bool PlayMove(ProgramState& state, int origin, int destination, int promote) {
  GameRecord& r = state.Record;
  if (r.PlyCount < 0 || r.PlyCount + 1 >= kMaxMoves) return false;
  if (!MoveFitsPosition(state.Shown, origin, destination, promote)) return false;
  const Side side = SideOfPly(r.PlyCount);
  ApplyMove(state.Shown, origin, side, destination, promote ? 1 : 0);
  r.MoveList[r.PlyCount] = EncodeMove(origin, destination, promote);
  r.MoveTimes[r.PlyCount] = r.Clocks[side];
  ++r.PlyCount;
  CutRecordAt(r, r.PlyCount);
  RunClock(state, Opponent(side), -100);
  return true;
}

void StopGameHere(ProgramState& state, int result_code) {
  GameRecord& r = state.Record;
  r.ResultCode = result_code;
  CutRecordAt(r, r.PlyCount);
  if (r.PlyCount >= 0 && r.PlyCount < kMaxMoves) {
    r.MoveTimes[r.PlyCount] = r.Clocks[SideOfPly(r.PlyCount)];
  }
  state.InteractionState = kStateIdle;
  ClearMessage(state.Message);
}

bool RunEndChecks(ProgramState& state, std::string& message) {
  GameRecord& r = state.Record;
  int result;
  if (state.Settings.RepetitionCheck && RepetitionCount(r, state.Shown) >= 4) {
    message = kRepetitionMessage;
    result = kResultRepetition;
  } else if (r.PlyCount >= kGamePlyLimit) {
    message = kMoveLimitMessage;
    result = kResultNone;
  } else {
    LegalMoveList moves;
    if (LegalMoves(r, state.Shown, moves) != 0) return false;
    const bool first_moved_last = (r.PlyCount & 1) != 0;
    message = first_moved_last ? kFirstWonMessage : kSecondWonMessage;
    result = first_moved_last ? kResultFirstWins : kResultSecondWins;
  }
  StopGameHere(state, result);
  return true;
}

ViewUpdate StartGame(ShellContext& ctx, bool computer_mode) {
  ProgramState& s = ctx.State;
  GameRecord& r = s.Record;
  if (!Idle(s)) return {};
  ViewUpdate u;
  if (!Playable(s.Shown, SideOfPly(r.PlyCount), computer_mode)) {
    ctx.Ui.ShowMessage(kGameCaption, kCannotStartMessage);
    return u;
  }

  if (r.PlyCount > r.StartIndex) {
    const bool restart = AskYesNo(ctx.Ui, kGameCaption, kRestartQuestion);
    if (restart) {
      // The start of the record has to pass the same check as the shown position did.
      if (!Playable(r.InitialPosition, SideOfPly(r.StartIndex), computer_mode)) {
        ctx.Ui.ShowMessage(kGameCaption, kCannotStartMessage);
        return u;
      }
      r.PlyCount = r.StartIndex;
      r.Clocks[0] = r.Clocks[1] = 0;
      RebuildShown(s);
      u.Redraw(kViewEverything);
    }
    CutShownLine(s);
    r.ResultCode = kResultNone;
    ClearMessage(s.Message);
    u.Redraw(kViewMessage | kViewInfo | kViewMovePanel);
  }

  if (r.PlyCount == r.StartIndex || computer_mode) {
    const bool at_start = r.PlyCount == r.StartIndex;
    GameConditions c =
        ConditionsFor(ctx, computer_mode, true, at_start ? DetectHandicap(r, s.Shown) : 0);
    FlushUpdate(ctx, u);
    if (!ctx.Ui.EditGameConditions(c)) return u;
    ApplyConditions(c, r);
    // A game from the record's start is a new record: nothing of the old one stays.
    if (at_start) ClearNotes(s);
    if (!computer_mode) r.PlayerKind[0] = r.PlayerKind[1] = kPersonPlayer;
    if (IsPreset(c.StartPosition) && c.StartPosition <= kLastDialogPreset) {
      SetRecordToPreset(s, c.StartPosition);
    }
    u.Redraw(kViewEverything | kViewFullRefresh);
  } else {
    r.PlayerKind[0] = r.PlayerKind[1] = kPersonPlayer;
  }

  if (computer_mode) {
    s.AbortFlag = kAbortNone;
    if (ctx.InProcess) ctx.InProcess->PrepareGame(r.StartIndex);
    if (ctx.Engines) ctx.Engines->PrepareGame(r.StartIndex);
  }

  s.InteractionState = kStateGame;
  r.ResultCode = kResultNone;
  std::string message;
  if (RunEndChecks(s, message)) {
    u.Redraw(kMoveRedraw | kViewMessage);
    FlushUpdate(ctx, u);
    ctx.Ui.ShowMessage(kGameCaption, message);
    return u;
  }

  RunClock(s, SideOfPly(r.PlyCount), 0);
  u.Start(kTimerClock);
  if (LibraryPlays(r) && ctx.Library) ctx.Library->BeginGame(&s.AbortFlag);
  FlushUpdate(ctx, u);
  return RunComputerTurns(ctx);
}

ViewUpdate GamePickUp(ShellContext& ctx, BoardSpot spot) {
  ProgramState& s = ctx.State;
  if (s.InteractionState != kStateGame || s.Held.Active) return {};
  const Side side = SideToMove(s);
  // Only a person moves by hand, and only on their own turn.
  if (IsComputerPlayer(s.Record.PlayerKind[side])) return {};
  Position& pos = s.Shown;
  int code;
  if (spot.Area == BoardArea::kBoard && IsSquare(spot.Index)) {
    code = pos.Board[spot.Index];
    if (!BelongsTo(code, side)) return {};
    pos.Board[spot.Index] = 0;
  } else if (spot.Area == HandAreaOf(side) && spot.Index >= kPawn && spot.Index <= kRook) {
    if (pos.Hand[side][spot.Index] <= 0) return {};
    --pos.Hand[side][spot.Index];
    code = CodeOf(spot.Index, side);
  } else {
    return {};
  }
  s.Held = HeldPiece{true, spot, code};
  ViewUpdate u;
  u.Redraw(kViewBoard);
  return u;
}

ViewUpdate GameRelease(ShellContext& ctx, BoardSpot spot) {
  ProgramState& s = ctx.State;
  if (s.InteractionState != kStateGame) return {};
  ViewUpdate u;
  if (s.Held.Active) {
    const HeldPiece held = s.Held;
    ReturnHeldPiece(s);
    u.Redraw(kViewBoard);
    if (spot.Area == BoardArea::kBoard && IsSquare(spot.Index)) {
      const int origin =
          held.From.Area == BoardArea::kBoard ? held.From.Index : DropOrigin(held.From.Index);
      LegalMoveList moves;
      const int n = LegalMoves(s.Record, s.Shown, moves);
      int found = 0, first = -1;
      for (int i = 0; i < n; ++i) {
        if (moves.origin[i] == origin && moves.destination[i] == spot.Index) {
          if (found++ == 0) first = i;
        }
      }
      if (found >= 2) {
        const int code = held.Code;
        s.Promotion = PromotionChoice{origin, spot.Index, code,
                                      code > 0 ? code + kPromoteOffset : code - kPromoteOffset};
        s.InteractionState = kStatePromotion;
        u.Redraw(kViewShowPromotion);
        return u;
      }
      if (found == 1 && PlayMove(s, origin, spot.Index, moves.promote[first])) {
        u.Redraw(kMoveRedraw);
      }
    }
    EndChecksWithMessage(ctx, u);
  }
  return HandOver(ctx, u);
}

ViewUpdate ChoosePromotion(ShellContext& ctx, bool promote) {
  ProgramState& s = ctx.State;
  if (s.InteractionState != kStatePromotion) return {};
  ViewUpdate u;
  SettleBoard(s, u);
  if (PlayMove(s, s.Promotion.Origin, s.Promotion.Destination, promote ? 1 : 0)) {
    u.Redraw(kMoveRedraw);
  }
  s.Promotion = PromotionChoice{};
  EndChecksWithMessage(ctx, u);
  return HandOver(ctx, u);
}

ViewUpdate CancelPromotion(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (s.InteractionState != kStatePromotion) return {};
  ViewUpdate u;
  SettleBoard(s, u);
  s.Promotion = PromotionChoice{};
  u.Redraw(kViewBoard);
  EndChecksWithMessage(ctx, u);
  return u;
}

ViewUpdate RunComputerTurns(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  GameRecord& r = s.Record;
  ViewUpdate u;
  if (s.InteractionState != kStateGame) return u;
  s.AbortFlag = kAbortNone;

  while (IsComputerPlayer(r.PlayerKind[SideOfPly(r.PlyCount)])) {
    const Side side = SideOfPly(r.PlyCount);
    const int kind = r.PlayerKind[side];
    s.InteractionState = kStateThinking;
    SetMessage(s.Message, kThinkingMessage);
    u.Redraw(kViewMessage);
    FlushUpdate(ctx, u);

    ThinkRequest request;
    request.Strength = kind;
    request.Shown = s.Shown;
    request.Initial = r.InitialPosition;
    request.MoveList = r.MoveList;
    request.StartIndex = r.StartIndex;
    request.PlyCount = r.PlyCount;
    request.MoverClock = &r.Clocks[side];
    // The clock, the status bar and the right-click stop keep working while it thinks.
    request.Progress = WindowProgress(ctx.View);
    ComputerAnswer answer;
    answer.Origin[0] = answer.Destination[0] = answer.Promote[0] = 0;
    ComputerPlayer* player = PlayerOfKind(ctx, kind);
    const int offered = player ? player->Think(request, answer) : 0;
    const std::string failure = player ? player->TakeFailure() : std::string();

    if (s.AbortFlag == kAbortClosing) {
      s.InteractionState = kStateIdle;
      if (ctx.InProcess) ctx.InProcess->ReleaseMemory();
      TellLibraryGameEnded(ctx);
      ctx.View.EndProgram(0);
      return u;
    }
    if (s.AbortFlag > 0) {
      // The game stays suspended at the current position, with the mover's clock kept.
      TellLibraryGameEnded(ctx);
      StopGameHere(s, kResultNone);
      u.Redraw(kViewMessage | kViewClocks);
      return u;
    }
    s.InteractionState = kStateGame;
    if (!failure.empty()) {
      // A side that failed (an outside engine ended, went silent or broke the rules) does
      // not resign: the game is suspended with the moves so far kept.
      TellLibraryGameEnded(ctx);
      StopGameHere(s, kResultNone);
      u.Redraw(kViewMessage | kViewClocks | kViewInfo | kViewMovePanel);
      FlushUpdate(ctx, u);
      ctx.Ui.ShowMessage(kGameCaption, failure);
      return u;
    }
    if (offered <= 0) {
      // The resigning side's clock is stored like at every other end of a game.
      StopGameHere(s, side == kFirst ? kResultSecondWins : kResultFirstWins);
      SetMessage(s.Message, side == kFirst ? "後手の勝ちです" : "先手の勝ちです");
      TellLibraryGameEnded(ctx);
      u.Redraw(kViewMessage | kViewInfo | kViewMovePanel);
      FlushUpdate(ctx, u);
      ctx.Ui.ShowMessage(kGameCaption, kComputerResignsMessage);
      return u;
    }
    if (!PlayMove(s, answer.Origin[0], answer.Destination[0], answer.Promote[0])) {
      // The answer is trusted to be legal, but one naming squares or pieces that do not
      // exist cannot be played at all: the game is suspended instead.
      TellLibraryGameEnded(ctx);
      StopGameHere(s, kResultNone);
      u.Redraw(kViewMessage | kViewClocks);
      FlushUpdate(ctx, u);
      ctx.Ui.ShowMessage(kGameCaption, kBadComputerMoveMessage);
      return u;
    }
    u.Redraw(kMoveRedraw);
    std::string message;
    if (RunEndChecks(s, message)) {
      u.Redraw(kViewMessage);
      FlushUpdate(ctx, u);
      ctx.Ui.ShowMessage(kGameCaption, message);
      TellLibraryGameEnded(ctx);
      return u;
    }
  }
  SetMessage(s.Message, kYourTurnMessage);
  u.Redraw(kViewMessage);
  return u;
}

ViewUpdate SuspendGame(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (!InGame(s)) return {};
  ViewUpdate u;
  SettleBoard(s, u);
  TellLibraryGameEnded(ctx);
  StopGameHere(s, kResultNone);
  u.Redraw(kViewMessage | kViewInfo | kViewMovePanel | kViewBoard);
  return u;
}

ViewUpdate ResignGame(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (!InGame(s)) return {};
  ViewUpdate u;
  SettleBoard(s, u);
  TellLibraryGameEnded(ctx);
  StopGameHere(s, SideToMove(s) == kSecond ? kResultFirstWins : kResultSecondWins);
  u.Redraw(kViewMessage | kViewInfo | kViewMovePanel | kViewBoard);
  return u;
}

ViewUpdate ToggleRepetitionCheck(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  s.Settings.RepetitionCheck = !s.Settings.RepetitionCheck;
  ViewUpdate u;
  if (IsGameState(s.InteractionState)) {
    SettleBoard(s, u);
    EndChecksWithMessage(ctx, u);
  }
  return u;
}

ViewUpdate EditConditions(ShellContext& ctx, bool computer_mode) {
  ProgramState& s = ctx.State;
  if (!(computer_mode ? InGame(s) : IdleOrInGame(s))) return {};
  ViewUpdate u;
  SettleBoard(s, u);
  GameConditions c = ConditionsFor(ctx, computer_mode, false, kPresetCurrent);
  FlushUpdate(ctx, u);
  if (!ctx.Ui.EditGameConditions(c)) return u;
  ApplyConditions(c, s.Record);
  if (!computer_mode) s.Record.PlayerKind[0] = s.Record.PlayerKind[1] = kPersonPlayer;
  u.Redraw(kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewFullRefresh);
  if (computer_mode) {
    FlushUpdate(ctx, u);
    return RunComputerTurns(ctx);
  }
  return u;
}

void RequestStop(ShellContext& ctx) {
  if (!IsBusyState(ctx.State.InteractionState)) return;
  if (AskYesNo(ctx.Ui, "コンピュータ", "思考を中断しますか？") &&
      ctx.State.AbortFlag != kAbortClosing) {  // closing wins over a stop request
    ctx.State.AbortFlag = kAbortStop;
  }
}

bool NotifyClosing(ProgramState& state) {
  if (!IsBusyState(state.InteractionState) && state.InteractionState != kStateDatabase) {
    return false;
  }
  // A search stops at this; a database command is not stopped half-way and runs to its end.
  state.AbortFlag = kAbortClosing;
  state.ClosePending = true;
  return true;
}

}  // namespace shogi
