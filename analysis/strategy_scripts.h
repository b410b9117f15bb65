// The strategy scripts S1..S11 (first player) and G1..G11 (second player): each looks at a
// few squares and puts one plan move of a formation in front of the move list.
#pragma once

#include "analysis/player_plans.h"

namespace shogi::player {

constexpr int kScriptCount = 11;

// Consults the scripts of `side` in their fixed order, each under its condition (most only
// up to a ply), until one succeeds. Returns the number 1..11 of the script that put its
// plan move in front, 0 when none did.
int RunStrategyScripts(const Position& pos, Side side, int ply, PlanList& list);

// One script on its own, without its ply condition (for tests): script `number` 1..11 of
// `side`. Returns whether it placed a plan move.
bool RunScript(int number, const Position& pos, Side side, int ply, PlanList& list);

}  // namespace shogi::player
