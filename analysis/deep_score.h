// The computer player's deep score: a reply-aware evaluation of a candidate move, an
// alpha-beta search of a few plies over all moves followed by a quiescence search over
// captures, on a material and position evaluation of its own.
#pragma once

#include <cstdint>

#include "analysis/player_control.h"
#include "rules/position.h"

namespace shogi::player {

// Deep scores are in tenths of the capture-value units (a pawn is 40), so that the
// evaluation can weigh position finer than the capture values; the level targets are scaled by
// kScoreScale.
constexpr int kScoreScale = 10;
constexpr int kMateScore = 100000;
constexpr int kInfiniteScore = 1 << 20;

// The static evaluation of `pos` for `side`: material (pieces in hand a little above their
// capture value), piece placement, and the safety of both kings.
int Evaluate(const Position& pos, Side side);

// The deep score, for `mover`, of the position `after` that its candidate produced: the
// opponent replies with every move, `depth` plies deep in all (depth >= 1), then captures
// only. A result at or below `bound` only says "not better than the bound" (the search
// returns as soon as it knows). A stop through `control` leaves `complete` false and the
// result meaningless.
int DeepScore(const Position& after, Side mover, int depth, int bound, SearchControl& control,
              bool& complete);

}  // namespace shogi::player
