// The game handed to the library: its moves decoded and checked, the position they lead to
// and the key of every position on the way.
#pragma once

#include <cstdint>

#include "position.h"

namespace thinking {

// The key history has room for 1 499 positions, so longer games are refused.
constexpr int kMaxGameMoves = 1499;

struct Game {
  int count = 0;                      // number of moves played
  Move moves[kMaxGameMoves];          // move i is played by side i mod 2
  std::uint32_t keys[kMaxGameMoves];  // key of the position before move i
  Position position;                  // the position after all moves

  Side SideToMove() const { return SideOfPly(count); }
};

// Plays move `m` of a replayed game for side `s`. A king taken in a list that is not a real
// game leaves its side without a king, so that nothing later looks for it on the square its
// captor now holds.
void PlayGameMove(Position& pos, Side s, const Move& m);

// Rebuilds `game` from the standard initial position and `count` two-byte move codes
// (destination + 100 when promoting, origin or 100 + type for a drop). Moves are not checked
// against the rules of play, but a list that would break the record (a square or piece
// type out of range, a move of a piece the mover does not have, a capture of the mover's
// own piece, a drop onto an occupied square or from an empty hand, a promotion of a piece
// that cannot promote, too many moves) is refused: the result is false and `game` is not
// to be used.
bool ReplayGame(const std::uint8_t* bytes, int count, Game& game);

}  // namespace thinking
