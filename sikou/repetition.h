// The repetition rule for checks: a check that repeats a position reached only by checking
// again and again is not allowed.
#pragma once

#include "game.h"
#include "position.h"

namespace thinking {

// How many earlier occurrences of the position make a continuous check forbidden.
constexpr int kPerpetualRepeats = 4;

// Whether the check that the side to move of `game` plays to reach `after` is a forbidden
// perpetual check: the squares and the checker's hand of `after` occurred at least 4 times
// before with the same side to move, and every move of the checker since the first of them
// gave check.
bool IsPerpetualCheck(const Game& game, const Position& after);

}  // namespace thinking
