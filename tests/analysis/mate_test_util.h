// Helpers of the mate solver tests: the problem set and random positions.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fixtures/mate_problems.h"
#include "rules/game_record.h"
#include "tests/support/game_builder.h"

namespace shogi::test {

// The problems of tests/data/mate/`name` (problems.txt: the team's set); a file that cannot
// be read fails the test.
std::vector<MateProblem> LoadMateProblems(const std::string& name = "problems.txt");

// A random position for generator tests: the second player's king always, the first
// player's king in about one position of three, up to a dozen pieces of each side placed
// anywhere they can stand, and pieces in both hands. No side is checked for being in
// check; callers filter.
Position RandomPosition(std::mt19937& rng);

}  // namespace shogi::test
