// Helpers of the mate solver tests: the problem set and random positions.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "rules/game_record.h"
#include "tests/support/game_builder.h"

namespace shogi::testing {

// A problem of tests/data/mate/problems.txt.
struct MateProblem {
  int length = 0;  // plies of the shortest mate
  std::string sfen;
  std::string note;
  int line = 0;
};
std::vector<MateProblem> LoadMateProblems();

// A random position for generator tests: the second player's king always, the first
// player's king in about one position of three, up to a dozen pieces of each side placed
// anywhere they can stand, and pieces in both hands. No side is checked for being in
// check; callers filter.
Position RandomPosition(std::mt19937& rng);

}  // namespace shogi::testing
