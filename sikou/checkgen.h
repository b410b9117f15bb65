// The check generators of the mate search: every checking move of the first player against
// the second player's king (the search turns the board so that the attacker is always first).
#pragma once

#include "position.h"

namespace thinking {

constexpr int kMaxChecks = 600;
using CheckList = MoveList<kMaxChecks>;

enum class CheckSet {
  kFull,     // both forms of a check wherever promotion is optional
  kReduced,  // pawns, bishops and rooks give check only in promoted form where they may promote
};

// Lists the checks in three phases: drops square by square around the king, board moves
// giving direct check grouped by the square they go to, then moves that uncover a check by a
// lance, bishop, rook, horse or dragon behind them. Nothing is listed twice; legality (the
// attacker's own king) is left to the defender's side of the search.
void GenerateChecks(const Position& pos, CheckSet set, CheckList& list);

}  // namespace thinking
