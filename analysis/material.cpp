// The material balance.
#include "analysis/material.h"

namespace shogi {

int MaterialBalance(const Position& pos, const PieceValueTable& values) {
  int sum = 0;
  for (int type = kPawn; type <= kRook; ++type) {
    sum += (pos.Hand[kFirst][type] - pos.Hand[kSecond][type]) * values[type];
  }
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int code = pos.Board[s];
    const int type = TypeOf(code);
    if (type >= kPieceTypeSlots) continue;
    sum += IsFirstPiece(code) ? values[type] : -values[type];
  }
  return sum;
}

}  // namespace shogi
