// Board set-up and handicaps.
#include "shell/board_setup.h"

#include <cstring>

#include "rules/handicap.h"
#include "shell/command_state.h"
#include "shell/record_notes.h"

namespace shogi {
namespace {

// The handicap of a preset 1..12: the presets follow the handicap table's order.
Handicap HandicapOfPreset(int preset) {
  return static_cast<Handicap>(preset - kPresetEven);
}

constexpr Square kSecondKingStart = 5;  // 5一
constexpr int kFullSet[kPieceBoxSlots] = {2, 18, 4, 4, 4, 4, 2, 2};
constexpr int kHandCountLimit = 127;  // hand counts are signed bytes

// The spot's index lies inside its area.
bool IsValidSpot(BoardSpot spot) {
  switch (spot.Area) {
    case BoardArea::kBoard:
      return IsSquare(spot.Index);
    case BoardArea::kFirstHand:
    case BoardArea::kSecondHand:
      return spot.Index >= kPawn && spot.Index <= kRook;
    case BoardArea::kPieceBox:
      return spot.Index >= 0 && spot.Index < kPieceBoxSlots;
    case BoardArea::kNone:
      break;
  }
  return false;
}

Side HandOwner(BoardArea area) {
  return area == BoardArea::kFirstHand ? kFirst : kSecond;
}

// The box slot of a piece code: 0 for a king, else its unpromoted type.
int BoxSlotOf(int code) {
  int type = TypeOf(code);
  return type == kKing ? 0 : (type & 7);
}

// What every change of the edited position does to the record: the moves are gone, the
// clocks and the result are cleared.
void ResetRecordAfterEdit(ProgramState& state, bool clear_result) {
  ClearNotes(state);
  GameRecord& r = state.Record;
  r.PlyCount = r.StartIndex;
  CutRecordAt(r, r.PlyCount);
  r.Clocks[0] = r.Clocks[1] = 0;
  if (clear_result) r.ResultCode = kResultNone;
}

ViewUpdate EditedUpdate() {
  ViewUpdate u;
  u.Redraw(kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewMessage);
  return u;
}

// Drops the record's moves and makes the shown position the initial one, with `start` as
// StartIndex and PlyCount (the common ending of 先手番 and 反転局面).
void MakeShownTheStart(ProgramState& state, int start) {
  GameRecord& r = state.Record;
  r.StartIndex = r.PlyCount = start;
  r.MoveList[0] = r.MoveList[1] = MoveCode{};
  r.Clocks[0] = r.Clocks[1] = 0;
  r.ResultCode = kResultNone;
  ReplayTo(r, state.Shown, -1);
  ClearMessage(state.Message);
}

}  // namespace

const char* StartPresetName(int preset) {
  if (preset == kPresetCurrent) return "現在の局面";
  return IsPreset(preset) ? HandicapRowOf(HandicapOfPreset(preset)).MenuName : "";
}

void MakePresetPosition(int preset, Position& pos, int& start_index) {
  const Handicap h = IsPreset(preset) ? HandicapOfPreset(preset) : Handicap::kEven;
  pos = HandicapPosition(h);
  start_index = HandicapStartIndex(h);
}

int DetectHandicap(const GameRecord& record, const Position& shown) {
  if (record.PlyCount != 0 && record.PlyCount != 1) return kPresetCurrent;
  const std::optional<Handicap> h = MatchHandicap(shown, record.PlyCount, HandicapScheme::kDialog);
  return h ? HandicapNumber(*h, HandicapScheme::kDialog) : kPresetCurrent;
}

void ComputePieceBox(const Position& pos, int box[kPieceBoxSlots]) {
  for (int i = 0; i < kPieceBoxSlots; ++i) box[i] = kFullSet[i];
  for (Square s = 1; s <= kSquareCount; ++s) {
    if (pos.Board[s] != 0) --box[BoxSlotOf(pos.Board[s])];
  }
  for (Side side : {kFirst, kSecond}) {
    for (int t = kPawn; t <= kRook; ++t) box[t] -= pos.Hand[side][t];
  }
  for (int i = 0; i < kPieceBoxSlots; ++i) {
    if (box[i] < 0) box[i] = 0;
  }
}

void SetRecordToPreset(ProgramState& state, int preset) {
  Position pos;
  int start;
  MakePresetPosition(preset, pos, start);
  ClearNotes(state);
  state.Shown = pos;
  MakeShownTheStart(state, start);
}

ViewUpdate LoadPreset(ProgramState& state, int preset) {
  if (!IdleOrSettingUp(state) || !IsPreset(preset)) return {};
  state.Held = HeldPiece{};  // a piece being dragged belongs to the position thrown away
  SetRecordToPreset(state, preset);
  state.InteractionState = kStateIdle;
  ViewUpdate u;
  u.Redraw(kViewEverything | kViewFullRefresh);
  return u;
}

ViewUpdate ToggleFirstToMove(ProgramState& state) {
  if (!IdleOrSettingUp(state)) return {};
  ReturnHeldPiece(state);
  MakeShownTheStart(state, 1 - state.Record.StartIndex);
  return EditedUpdate();
}

ViewUpdate StartMateSetUp(ProgramState& state) {
  if (!IdleOrSettingUp(state)) return {};
  state.Held = HeldPiece{};
  Position& pos = state.Shown;
  std::memset(&pos, 0, sizeof pos);
  pos.Board[kSecondKingStart] = static_cast<std::int8_t>(-kKing);
  for (int t = kPawn; t <= kRook; ++t) pos.Hand[kSecond][t] = static_cast<std::int8_t>(kFullSet[t]);
  pos.King[kFirst] = kNoKing;
  pos.King[kSecond] = kSecondKingStart;
  MakeShownTheStart(state, 0);
  state.InteractionState = kStateSetUp;
  // A mate problem has no first-player king, so the box does not offer one: it is empty.
  ComputePieceBox(pos, state.PieceBox);
  state.PieceBox[0] = 0;
  ViewUpdate u;
  u.Redraw(kViewEverything | kViewFullRefresh);
  return u;
}

ViewUpdate StartFreeSetUp(ProgramState& state) {
  if (!IdleOrSettingUp(state)) return {};
  ReturnHeldPiece(state);
  state.InteractionState = kStateSetUp;
  ComputePieceBox(state.Shown, state.PieceBox);
  ViewUpdate u;
  u.Redraw(kViewEverything | kViewFullRefresh);
  return u;
}

ViewUpdate EndSetUp(ProgramState& state) {
  if (!SettingUp(state)) return {};
  ReturnHeldPiece(state);
  FindKingSquares(state.Shown);
  GameRecord& r = state.Record;
  if (r.PlyCount == r.StartIndex) {
    ReplayTo(r, state.Shown, -1);
    r.Clocks[0] = r.Clocks[1] = 0;
  }
  state.InteractionState = kStateIdle;
  ViewUpdate u;
  u.Redraw(kViewClocks | kViewInfo | kViewMovePanel | kViewFullRefresh);
  return u;
}

ViewUpdate MirrorPosition(ProgramState& state) {
  if (!IdleOrSettingUp(state)) return {};
  ReturnHeldPiece(state);
  const Position old = state.Shown;
  Position& pos = state.Shown;
  for (Square i = 1; i <= kSquareCount; ++i) {
    pos.Board[i] = static_cast<std::int8_t>(-old.Board[82 - i]);
  }
  for (int t = 0; t < 8; ++t) {
    pos.Hand[kFirst][t] = old.Hand[kSecond][t];
    pos.Hand[kSecond][t] = old.Hand[kFirst][t];
  }
  pos.King[kFirst] =
      old.King[kSecond] < 1 ? kNoKing : static_cast<std::int8_t>(82 - old.King[kSecond]);
  pos.King[kSecond] =
      old.King[kFirst] < 1 ? kNoKing : static_cast<std::int8_t>(82 - old.King[kFirst]);

  GameRecord& r = state.Record;
  char name[kNameFieldSize];
  std::memcpy(name, r.FirstName, kNameFieldSize);
  std::memcpy(r.FirstName, r.SecondName, kNameFieldSize);
  std::memcpy(r.SecondName, name, kNameFieldSize);
  MakeShownTheStart(state, 1 - SideOfPly(r.PlyCount));
  ViewUpdate u;
  u.Redraw(kViewEverything | kViewFullRefresh);
  return u;
}

ViewUpdate SetUpPickUp(ProgramState& state, BoardSpot spot) {
  if (state.InteractionState != kStateSetUp || state.Held.Active || !IsValidSpot(spot)) return {};
  Position& pos = state.Shown;
  int code = 0;
  switch (spot.Area) {
    case BoardArea::kBoard:
      code = pos.Board[spot.Index];
      if (code == 0) return {};
      pos.Board[spot.Index] = 0;
      break;
    case BoardArea::kFirstHand:
    case BoardArea::kSecondHand: {
      Side side = HandOwner(spot.Area);
      if (pos.Hand[side][spot.Index] <= 0) return {};
      --pos.Hand[side][spot.Index];
      code = CodeOf(spot.Index, side);
      break;
    }
    case BoardArea::kPieceBox: {
      if (state.PieceBox[spot.Index] <= 0) return {};
      --state.PieceBox[spot.Index];
      // A piece from the box belongs to the side drawn at the bottom.
      Side bottom = state.Record.BoardFlipped ? kSecond : kFirst;
      code = CodeOf(spot.Index == 0 ? kKing : spot.Index, bottom);
      break;
    }
    case BoardArea::kNone:
      return {};
  }
  state.Held = HeldPiece{true, spot, code};
  ViewUpdate u;
  u.Redraw(kViewBoard | kViewMovePanel);
  return u;
}

void ReturnHeldPiece(ProgramState& state) {
  HeldPiece& held = state.Held;
  if (!held.Active) return;
  Position& pos = state.Shown;
  switch (held.From.Area) {
    case BoardArea::kBoard:
      pos.Board[held.From.Index] = static_cast<std::int8_t>(held.Code);
      break;
    case BoardArea::kFirstHand:
    case BoardArea::kSecondHand:
      ++pos.Hand[HandOwner(held.From.Area)][held.From.Index];
      break;
    case BoardArea::kPieceBox:
      ++state.PieceBox[held.From.Index];
      break;
    case BoardArea::kNone:
      break;
  }
  held = HeldPiece{};
}

ViewUpdate SetUpPutDown(ProgramState& state, BoardSpot spot) {
  if (state.InteractionState != kStateSetUp || !state.Held.Active) return {};
  Position& pos = state.Shown;
  const int code = state.Held.Code;
  bool placed = false;
  if (IsValidSpot(spot)) {
    switch (spot.Area) {
      case BoardArea::kBoard:
        if (pos.Board[spot.Index] == 0) {
          pos.Board[spot.Index] = static_cast<std::int8_t>(code);
          placed = true;
        }
        break;
      case BoardArea::kFirstHand:
      case BoardArea::kSecondHand: {
        Side side = HandOwner(spot.Area);
        int type = BoxSlotOf(code);  // the unpromoted type; 0 for a king, which a hand refuses
        if (type != 0 && pos.Hand[side][type] < kHandCountLimit) {
          ++pos.Hand[side][type];
          placed = true;
        }
        break;
      }
      case BoardArea::kPieceBox:
        ++state.PieceBox[BoxSlotOf(code)];
        placed = true;
        break;
      case BoardArea::kNone:
        break;
    }
  }
  ViewUpdate u;
  u.Redraw(kViewBoard | kViewMovePanel);
  if (!placed) {
    ReturnHeldPiece(state);
    return u;
  }
  state.Held = HeldPiece{};
  FindKingSquares(pos);
  ResetRecordAfterEdit(state, true);
  ClearMessage(state.Message);
  return EditedUpdate();
}

ViewUpdate SetUpCyclePiece(ProgramState& state, BoardSpot spot) {
  if (state.InteractionState != kStateSetUp || state.Held.Active ||
      spot.Area != BoardArea::kBoard || !IsSquare(spot.Index)) {
    return {};
  }
  std::int8_t& square = state.Shown.Board[spot.Index];
  const int code = square;
  if (code == 0) return {};
  const int type = TypeOf(code);
  const int base = type & 7;
  int next;
  if (type == kGold || type == kKing) {
    next = -code;
  } else if (type == base) {  // unpromoted: promote it
    next = code > 0 ? code + kPromoteOffset : code - kPromoteOffset;
  } else {  // promoted: the other side's unpromoted piece
    next = code > 0 ? -base : base;
  }
  square = static_cast<std::int8_t>(next);
  FindKingSquares(state.Shown);
  ResetRecordAfterEdit(state, false);
  return EditedUpdate();
}

}  // namespace shogi
