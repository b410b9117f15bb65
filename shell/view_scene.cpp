// Building and comparing the board view's scenes.
#include "shell/view_scene.h"

#include "platform/cp932.h"
#include "shell/board_clicks.h"
#include "shell/game_driver.h"
#include "shell/record_analysis_commands.h"
#include "shell/record_notes.h"
#include "shell/view_texts.h"

namespace shogi {
namespace {

constexpr int Drawn(int square, bool flipped) {
  return flipped ? 82 - square : square;
}

void AddTints(const ProgramState& state, ViewScene& s) {
  const GameRecord& r = state.Record;
  const bool flipped = r.BoardFlipped;
  const DisplayOptions& d = state.Display;
  const int last = r.PlyCount - 1;
  if (d.LastMove && !s.SetUp && last >= r.StartIndex && last < kMaxMoves &&
      IsWellFormedMove(r.MoveList[last])) {
    const MoveCode m = r.MoveList[last];
    if (!IsDrop(m)) s.Tints[Drawn(m.from, flipped)] = kTintLastOrigin;
    s.Tints[Drawn(DestinationOf(m), flipped)] = kTintLastDestination;
  }
  if (d.Destinations) {
    const std::array<bool, 82> marks = LegalDestinations(state);
    for (int sq = 1; sq <= kSquareCount; ++sq) {
      if (marks[sq]) s.Tints[Drawn(sq, flipped)] = kTintDestination;
    }
  }
  // A piece selected by a click is marked where it stands (a dragged one has left).
  const BoardSpot picked = state.Selected;
  if (picked.Area == BoardArea::kBoard && IsSquare(picked.Index)) {
    s.Tints[Drawn(picked.Index, flipped)] = kTintPicked;
  } else if (picked.Area == BoardArea::kPieceBox) {
    s.PickedBox = static_cast<std::int8_t>(picked.Index);
  } else if (picked.Area != BoardArea::kNone) {
    const Side owner = picked.Area == BoardArea::kFirstHand ? kFirst : kSecond;
    const int hand = OwnerOfScreenHand(kLowerHand, flipped) == owner ? kLowerHand : kUpperHand;
    s.PickedHand[hand] = static_cast<std::int8_t>(picked.Index);
  }
}

// Whose move it is in a game of two persons; the result once a record ends here.
std::string TurnText(const ProgramState& state) {
  const GameRecord& r = state.Record;
  if (IsGameState(state.InteractionState)) {
    if (r.PlayerKind[kFirst] != kPersonPlayer || r.PlayerKind[kSecond] != kPersonPlayer) return {};
    return SideToMove(state) == kFirst ? "先手の番です。" : "後手の番です。";
  }
  if (state.InteractionState != kStateIdle || r.PlyCount <= r.StartIndex || MoveFollows(r)) {
    return {};
  }
  return ResultText(r);
}

}  // namespace

ViewScene BuildScene(const ProgramState& state, bool next_moves) {
  ViewScene s;
  const GameRecord& r = state.Record;
  const Position& pos = state.Shown;
  const bool flipped = r.BoardFlipped;
  for (int sq = 1; sq <= kSquareCount; ++sq) {
    s.Cells[sq] = flipped ? static_cast<std::int8_t>(-pos.Board[82 - sq]) : pos.Board[sq];
  }
  for (int hand : {kLowerHand, kUpperHand}) {
    const Side owner = OwnerOfScreenHand(static_cast<ScreenHand>(hand), flipped);
    for (int t = kPawn; t <= kRook; ++t)
      s.Hands[hand][t] = std::max<std::int8_t>(0, pos.Hand[owner][t]);
  }
  s.SetUp = state.InteractionState == kStateSetUp;
  if (s.SetUp) {
    for (int i = 0; i < kPieceBoxSlots; ++i) {
      s.Box[i] = static_cast<std::int8_t>(std::clamp(state.PieceBox[i], 0, 127));
    }
  }
  const bool minutes = state.Settings.ClockInMinutes;
  s.Info[kInfoFirstName] = PlayerLine(true, FieldText(r.FirstName));
  s.Info[kInfoFirstClock] = ClockText(r.Clocks[kFirst], minutes);
  s.Info[kInfoSecondName] = PlayerLine(false, FieldText(r.SecondName));
  s.Info[kInfoSecondClock] = ClockText(r.Clocks[kSecond], minutes);
  s.Info[kInfoCounter] = MoveCounterText(r, minutes);
  s.Info[kInfoLastMove] = LastMoveText(r);
  s.Message = {state.Message.Lines[0], state.Message.Lines[1]};
  // "あなたの番です。" says nothing when both sides are persons: whose turn it is instead.
  if (state.Display.TurnMessage && s.Message[1].empty() &&
      (s.Message[0].empty() || s.Message[0] == kYourTurnMessage)) {
    if (std::string turn = TurnText(state); !turn.empty()) s.Message[0] = std::move(turn);
  }
  s.Counts = state.Display.PieceCounts;
  AddTints(state, s);
  if (!s.SetUp) {
    s.Moves = MoveListLines(r, next_moves);
    const bool fits = ScoresFitRecord(state);
    // A move with variations is marked as record files mark it.
    for (int line = 0; line < kMoveListLines; ++line) {
      const int ply = MoveListPly(r, next_moves, line);
      if (ply > 0 && MoveHasVariations(state, ply)) s.Moves[line] += "+";
      if (ply > 0 && fits)
        s.Marks[line] = static_cast<std::uint8_t>(MarkOfMove(state.Scores, ply - 1, state.Marks));
    }
  }
  return s;
}

std::vector<SceneChange> SceneChanges(const ViewScene* shown, const ViewScene& next) {
  std::vector<SceneChange> changes;
  for (int sq = 1; sq <= kSquareCount; ++sq) {
    if (!shown || shown->Cells[sq] != next.Cells[sq] || shown->Tints[sq] != next.Tints[sq]) {
      changes.push_back({SceneItem::kCell, sq, 0, CellRect(sq)});
    }
  }
  for (int hand : {kLowerHand, kUpperHand}) {
    for (int t = kPawn; t <= kRook; ++t) {
      if (!shown || shown->Hands[hand][t] != next.Hands[hand][t] ||
          (shown->PickedHand[hand] == t) != (next.PickedHand[hand] == t)) {
        changes.push_back(
            {SceneItem::kHandSlot, t, hand, SlotRect(HandSlot(static_cast<ScreenHand>(hand), t))});
      }
    }
  }
  for (int line = 0; line < kInfoLineCount; ++line) {
    if (!shown || shown->Info[line] != next.Info[line]) {
      changes.push_back({SceneItem::kInfoLine, line, 0, InfoLineRect(line)});
    }
  }
  if (!shown || shown->Message != next.Message) {
    changes.push_back({SceneItem::kMessage, 0, 0, kMessageRect});
  }
  // A fresh panel repaints only what has content; otherwise each slot or line that changed.
  const bool fresh = !shown || shown->SetUp != next.SetUp;
  if (fresh) changes.push_back({SceneItem::kMovePanel, 0, 0, kMovePanelRect});
  if (next.SetUp) {
    for (int i = 0; i < kPieceBoxSlots; ++i) {
      if (fresh
              ? next.Box[i] != 0
              : shown->Box[i] != next.Box[i] || (shown->PickedBox == i) != (next.PickedBox == i)) {
        changes.push_back({SceneItem::kBoxSlot, i, 0, SlotRect(BoxSlot(i))});
      }
    }
  } else {
    for (int line = 0; line < kMoveListLines; ++line) {
      if (fresh
              ? !next.Moves[line].empty()
              : shown->Moves[line] != next.Moves[line] || shown->Marks[line] != next.Marks[line]) {
        changes.push_back({SceneItem::kMoveLine, line, 0, MoveLineRect(line)});
      }
    }
  }
  return changes;
}

}  // namespace shogi
