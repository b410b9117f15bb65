// The standard initial position and the king finder.
#include "rules/position.h"

namespace shogi {

const Position kInitialPosition = {
    {0,  -2, -3, -4, -5, -8, -5, -4, -3, -2,  // rank 1
     0,  -6, 0,  0,  0,  0,  0,  -7, 0,       // rank 2: bishop on 2二, rook on 8二
     -1, -1, -1, -1, -1, -1, -1, -1, -1,      // rank 3
     0,  0,  0,  0,  0,  0,  0,  0,  0,       //
     0,  0,  0,  0,  0,  0,  0,  0,  0,       //
     0,  0,  0,  0,  0,  0,  0,  0,  0,       //
     1,  1,  1,  1,  1,  1,  1,  1,  1,       // rank 7
     0,  7,  0,  0,  0,  0,  0,  6,  0,       // rank 8: rook on 2八, bishop on 8八
     2,  3,  4,  5,  8,  5,  4,  3,  2},      // rank 9
    {{0}, {0}},
    {77, 5},
};

void FindKingSquares(Position& pos) {
  pos.King[kFirst] = pos.King[kSecond] = kNoKing;
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int code = pos.Board[s];
    if (TypeOf(code) != kKing) continue;
    std::int8_t& king = pos.King[code > 0 ? kFirst : kSecond];
    if (king == kNoKing) king = static_cast<std::int8_t>(s);
  }
}

}  // namespace shogi
