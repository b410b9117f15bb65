// The perpetual-check rule, established by replaying the game from the initial position.
#include "repetition.h"

#include <cstring>

#include "attack.h"

namespace thinking {

namespace {

bool SameForRepetition(const Position& a, const Position& b, Side checker) {
  if (std::memcmp(a.Board + 1, b.Board + 1, kSquareCount) != 0) return false;
  for (int type = kPawn; type <= kRook; ++type) {
    if (a.Hand[checker][type] != b.Hand[checker][type]) return false;
  }
  return true;
}

}  // namespace

bool IsPerpetualCheck(const Game& game, const Position& after) {
  const Side checker = game.SideToMove();
  const Side defender = Opponent(checker);
  Position pos = kInitialPosition;
  int occurrences = 0;
  int first = -1;       // index of the move before which the position first occurred
  int last_quiet = -1;  // the checker's last move that left the defender out of check
  for (int j = 0; j < game.count; ++j) {
    const Side mover = SideOfPly(j);
    if (mover == defender && SameForRepetition(pos, after, checker)) {
      if (first < 0) first = j;
      ++occurrences;
    }
    PlayGameMove(pos, mover, game.moves[j]);
    if (mover == checker) {
      const int king = pos.KingSquare(defender);
      if (!king || !IsAttacked(pos, king, checker)) last_quiet = j;
    }
  }
  return occurrences >= kPerpetualRepeats && last_quiet < first;
}

}  // namespace thinking
