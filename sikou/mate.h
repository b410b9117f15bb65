// The short forced-mate search of the thinking library (1, 3 or 5 plies).
#pragma once

#include "position.h"

namespace thinking {

// Looks for a forced mate by `attacker` in `pos` within `depth` plies (odd, at most 5): every
// attacking move a check, every defence answered. On success `first` receives the first
// move in the squares of `pos` (a drop's origin stays 100 + type). Taking a king that was
// left en prise counts as a mate in one.
bool FindMate(const Position& pos, Side attacker, int depth, Move& first);

}  // namespace thinking
