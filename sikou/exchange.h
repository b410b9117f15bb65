// Piece values, the gain of a move and the capture-sequence (exchange) estimates.
#pragma once

#include "position.h"

namespace thinking {

// What taking a piece is worth, by piece type (13 never occurs).
inline constexpr int kCaptureValue[16] = {0,     4,  10, 10, 20, 28, 36, 40,
                                          10001, 10, 14, 14, 20, 28, 44, 48};

// The capture value of a type's promoted form minus its own (0 for what cannot promote).
constexpr int PromotionGain(int type) {
  return CanPromote(type) ? kCaptureValue[type + kPromoteOffset] - kCaptureValue[type] : 0;
}

// What the board move `m` wins at once: the piece it takes plus its promotion gain. A drop
// gains nothing.
int Gain(const Position& pos, const Move& m);

// The most material the opponent of `s` can win back after `s` plays the board move `m`
// (the origin may be the scratch square 0 for a piece about to be dropped). Each routine
// plays `m` on `pos` for the time of the call and restores it; the result is at least 0.
//   SquareExchange: only recaptures on the destination, every one followed.
//   LowExchange:    all captures, each answered by a square exchange.
//   MiddleExchange: all captures; those worth 36 or more answered by the middle routine.
//   TopExchange:    all captures; those worth more than 30 answered by the top routine,
//                   16..30 by the middle one, the rest by the low one.
int SquareExchange(Position& pos, Side s, const Move& m);
int LowExchange(Position& pos, Side s, const Move& m);
int MiddleExchange(Position& pos, Side s, const Move& m);
int TopExchange(Position& pos, Side s, const Move& m);

// The score of a move in the choice: its gain minus what the opponent wins back. A drop is
// scored as a move of the dropped piece from the scratch square.
int MoveScore(Position& pos, Side s, const Move& m);

}  // namespace thinking
