// Stage 5 of the computer player's move choice: the exchange count on a square, the
// preliminary score of a candidate from local tactics, and the gain and exchange loss that
// make up its total.
#pragma once

#include "analysis/player_tables.h"
#include "rules/position.h"

namespace shogi::player {

// The exchange count on `square` after `side`'s piece has arrived there (dropped or moved):
// the opponent captures first, then the sides alternate, each with its least valuable
// attacker (the first found among equal values), until the side to capture has no attacker
// or a king has just captured. Each capture by the opponent subtracts the value of the
// piece it takes, each capture by `side` adds it. No side stops early.
int ExchangeCount(const Position& after, Square square, Side side);

// The static exchange value of the same sequence when either side may stop capturing as soon
// as going on would lose (a king never captures onto a defended square): what `side` ends up
// with on `square` from the opponent's first capture on, 0 or less.
int ExchangeOutcome(const Position& after, Square square, Side side);

// The most that `side` stands to lose on one square where the opponent can capture first
// (the exchange outcome of the worst of its attacked pieces, the king left out), skipping
// `except`. 0 when nothing hangs.
int HangingLoss(const Position& pos, Side side, Square except = 0);

// The local view of one candidate move of `side` in `pos`.
struct CandidateTactics {
  int preliminary = 0;  // 0 unless the move goes where the opponent attacks (see the .cpp)
  int gain = 0;         // capture value (+ promotion gain), or the positional value, and
                        // what the move saves or leaves hanging elsewhere
  int loss = 0;         // the exchange loss on the destination (0 or more)
};

// The preliminary score, gain and exchange loss of `move` for `side` in `pos`.
CandidateTactics AssessCandidate(const Position& pos, Side side, MoveCode move);

// The positional value that a quiet move or a drop of `side` earns (capture-value units).
int PositionalGain(const Position& pos, Side side, MoveCode move);

// Whether `side`'s move gives check.
bool GivesCheck(const Position& pos, Side side, MoveCode move);

}  // namespace shogi::player
