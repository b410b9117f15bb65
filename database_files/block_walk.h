// The one walk through a game's move slots that every block encoding and decoding takes:
// the game is replayed from its start position, so that each move is checked in the
// position it is played from and an encoding can consult that position. And the position
// search's quick pass over a block, which answers what that walk would answer.
#pragma once

#include <cstdint>

#include "database_files/index_fields.h"
#include "database_files/position_pattern.h"
#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi {

// Replays a game from `start` one ply at a time, from the start's StartIndex up to `limit`.
// `next(ply, pos, side, move)` gives the move of the ply as a move code, or false when the
// stored slot names none; an end marker ends the game. Each move must be playable by the
// side in the position; `played(ply, pos, side, move)` is told every such move before it is
// applied. Returns the ply at which the walk stopped.
template <class Next, class Played>
int WalkGame(Handicap start, int limit, Next next, Played played) {
  Position pos = HandicapPosition(start);
  int ply = HandicapStartIndex(start);
  for (; ply < limit; ++ply) {
    const Side side = SideOfPly(ply);
    MoveCode m;
    if (!next(ply, static_cast<const Position&>(pos), side, m) || IsEndMarker(m)) break;
    m = WithoutRedundantMark(pos, m);
    if (!IsWellFormedMove(m) || !IsPlayableMove(pos, side, m)) break;
    played(ply, static_cast<const Position&>(pos), side, m);
    ApplyMove(pos, m, side);
  }
  return ply;
}

// What one move of the quick pass changed, for the running counts and keys its callers keep:
// the squares it touched with the pieces they held before, and the mover's hand entry.
struct QuickMove {
  MoveCode Move;    // without a redundant promotion mark
  Square From = 0;  // 0 for a drop
  int FromBefore = 0;
  Square To = 0;
  int ToBefore = 0;
  int HandType = 0;  // the type a capture added to the mover's hand or a drop took from it
};

// The move code of slot `ply` of `block` for `side` in `pos`, as the format's decoding gives
// it (`slot_move`), without a redundant promotion mark. False at the end of the game for the
// quick pass: the end slot, a slot that names nothing, or a move that is not well formed.
template <class SlotMove>
bool QuickSlot(const std::uint8_t* block, int ply, const Position& pos, Side side,
               SlotMove slot_move, MoveCode& m) {
  if (ply >= kBlockSlots ||
      !slot_move(MoveCode{block[2 * ply], block[2 * ply + 1]}, pos, side, m) || IsEndMarker(m))
    return false;
  m = WithoutRedundantMark(pos, m);
  return IsWellFormedMove(m);
}

// Plays a well-formed move with only the checks that keep it inside the board, telling
// `done` what changed.
inline void QuickApply(Position& pos, MoveCode m, Side side, QuickMove& done) {
  done.Move = m;
  done.To = DestinationOf(m);
  done.ToBefore = pos.Board[done.To];
  if (IsDrop(m)) {
    done.From = 0;
    done.FromBefore = 0;
    done.HandType = DroppedType(m.from);
  } else {
    done.From = OriginOf(m);
    done.FromBefore = pos.Board[done.From];
    done.HandType = TypeOf(done.ToBefore) & 7;
  }
  ApplyMove(pos, m, side);
}

// The first ply before whose move the game of `block` (slots of two bytes, from `start`)
// matches `pattern`, as a decoding walk would find it: -1 when the game never does.
// `slot_move(slot, pos, side, move)` turns a stored slot into a move code as the format's
// decoding does (false when it names nothing; the end marker at the end).
//
// A search replays every game, so the pass is quick: one board, moves applied with only the
// checks that keep it inside the board (the walk's rules check, which lists the mover's moves,
// costs more than everything else together), and the pattern's count kept up to date on the
// squares a move touches. When the count says a position matches, the walk confirms that
// every move up to and including that ply is playable; the quick pass saw exactly the walk's
// positions up to there, so its first match is the walk's first match, and a game whose walk
// stops earlier has no match at all (its positions before the stop did not match).
template <class SlotMove>
int FindInBlock(const std::uint8_t* block, Handicap start, const PositionPattern& pattern,
                SlotMove slot_move) {
  Position pos = pattern.StartOf(start);
  int count = pattern.StartCountOf(start);
  QuickMove done;
  for (int ply = HandicapStartIndex(start);; ++ply) {
    const Side side = SideOfPly(ply);
    MoveCode m;
    if (!QuickSlot(block, ply, pos, side, slot_move, m)) return -1;
    if (PositionPattern::IsMatch(count)) {
      const int reached = WalkGame(
          start, ply + 1,
          [&](int p, const Position& at, Side s, MoveCode& move) {
            return slot_move(MoveCode{block[2 * p], block[2 * p + 1]}, at, s, move);
          },
          [](int, const Position&, Side, MoveCode) {});
      return reached == ply + 1 ? ply : -1;
    }
    QuickApply(pos, m, side, done);
    if (done.From != 0) count += pattern.Change(done.From, done.FromBefore, 0);
    count += pattern.Change(done.To, done.ToBefore, pos.Board[done.To]);
  }
}

// What a quick replay (QuickReplay) shows its caller, position by position.
class QuickReplayVisitor {
 public:
  virtual ~QuickReplayVisitor() = default;
  // The position before ply `ply`'s move (the first at the start's StartIndex); false ends
  // the replay.
  virtual bool At(int ply, const Position& pos) = 0;
  // Ply `ply`'s move was played by `side`; `pos` is the position after it.
  virtual void Played(int ply, Side side, const Position& pos, const QuickMove& done) = 0;
};

// The quick pass over the game of `block` from `start`, for callers that look at every
// position: the positions are shown to `visitor` up to ply `last` (included) or the quick
// end of the game. The moves are applied unchecked (see FindInBlock), so a caller confirms
// what it found with the format's decoding. Returns the ply of the last position shown.
template <class SlotMove>
int QuickReplay(const std::uint8_t* block, Handicap start, int last, QuickReplayVisitor& visitor,
                SlotMove slot_move) {
  Position pos = HandicapPosition(start);
  QuickMove done;
  for (int ply = HandicapStartIndex(start);; ++ply) {
    const Side side = SideOfPly(ply);
    MoveCode m;
    if (!visitor.At(ply, pos) || ply >= last || !QuickSlot(block, ply, pos, side, slot_move, m))
      return ply;
    QuickApply(pos, m, side, done);
    visitor.Played(ply, side, pos, done);
  }
}

}  // namespace shogi
