// Helpers of the mate solver tests: positions from SFEN, the problem set, random positions.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "rules/game_record.h"

namespace shogi::testing {

struct SfenPosition {
  Position pos{};
  Side side = kFirst;
};

// The position of an SFEN, which must be well formed.
SfenPosition FromSfen(const std::string& sfen);

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

// The record of a position, `side` to move, as the rules' LegalMoves wants it.
GameRecord RecordAt(const Position& pos, Side side);

}  // namespace shogi::testing
