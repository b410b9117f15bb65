// The material balance: the piece values of the evaluation and the sum of the pieces on the
// board and in hand, from the first player's point of view.
#pragma once

#include <array>

#include "rules/position.h"

namespace shogi {

// A value per piece type 0..15; the king, 13 and the empty square are worth 0.
constexpr int kPieceTypeSlots = 16;
using PieceValueTable = std::array<int, kPieceTypeSlots>;

// The values the program starts with (pawn 87 .. dragon 945).
inline constexpr PieceValueTable kDefaultPieceValues = {0, 87,  232, 257, 369, 444, 569, 642,
                                                        0, 534, 489, 510, 495, 0,   827, 945};

// The 13 types that carry a value, in the order the "駒の価値" dialog lists them: pawn ..
// rook, the promoted pawn .. silver, horse, dragon.
constexpr int kValuedPieceCount = 13;
inline constexpr int kValuedPieceTypes[kValuedPieceCount] = {1, 2,  3,  4,  5,  6, 7,
                                                             9, 10, 11, 12, 14, 15};

// A piece value is a whole number 0..32767.
constexpr int kMaxPieceValue = 32767;
constexpr bool IsPieceValue(int value) {
  return value >= 0 && value <= kMaxPieceValue;
}

// The sum over both hands (first player's count minus second player's, times the value of
// pawn .. rook) and every piece on the board (+ its value for the first player, - for the
// second; promoted pieces at their own values, kings 0). Codes outside -15..15 count 0.
int MaterialBalance(const Position& pos, const PieceValueTable& values);

}  // namespace shogi
