// The one walk through a game's move slots that every block encoding and decoding takes:
// the game is replayed from its start position, so that each move is checked in the
// position it is played from and an encoding can consult that position.
#pragma once

#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi {

// A board move of a piece that cannot promote any more (a promoted piece, or the king)
// carries no promotion mark: a stored mark is dropped rather than the move refused.
inline MoveCode WithoutRedundantMark(const Position& pos, MoveCode m) {
  if (IsPromotion(m) && !IsDrop(m) && IsSquare(OriginOf(m)) &&
      TypeOf(pos.Board[OriginOf(m)]) > kRook)
    m.to = static_cast<std::uint8_t>(m.to - kPromoteFlag);
  return m;
}

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

}  // namespace shogi
