// The one walk through a game's move slots that every block encoding and decoding takes:
// the game is replayed from its start position, so that each move is checked in the
// position it is played from and an encoding can consult that position. And the position
// search's quick pass over a block, which answers what that walk would answer.
#pragma once

#include <cstdint>

#include "database/index_fields.h"
#include "database/position_pattern.h"
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
  const auto slot = [block](int ply) { return MoveCode{block[2 * ply], block[2 * ply + 1]}; };
  Position pos = pattern.StartOf(start);
  int count = pattern.StartCountOf(start);
  for (int ply = HandicapStartIndex(start); ply < kBlockSlots; ++ply) {
    const Side side = SideOfPly(ply);
    MoveCode m;
    if (!slot_move(slot(ply), static_cast<const Position&>(pos), side, m) || IsEndMarker(m))
      return -1;
    if (PositionPattern::IsMatch(count)) {
      const int reached = WalkGame(
          start, ply + 1,
          [&](int p, const Position& at, Side s, MoveCode& move) {
            return slot_move(slot(p), at, s, move);
          },
          [](int, const Position&, Side, MoveCode) {});
      return reached == ply + 1 ? ply : -1;
    }
    m = WithoutRedundantMark(pos, m);
    if (!IsWellFormedMove(m)) return -1;
    const Square to = DestinationOf(m);
    const int to_before = pos.Board[to];
    if (IsDrop(m)) {
      ApplyMove(pos, m, side);
    } else {
      const Square from = OriginOf(m);
      const int from_before = pos.Board[from];
      ApplyMove(pos, m, side);
      count += pattern.Change(from, from_before, pos.Board[from]);
    }
    count += pattern.Change(to, to_before, pos.Board[to]);
  }
  return -1;
}

}  // namespace shogi
