// Iterative deepening of the mate search (odd depths, two plies at a time up to 49), the
// shortening of a mate found at its first depth, and the playing out of a solution with
// the defender's longest reply.
#pragma once

#include <cstdint>
#include <functional>

#include "analysis/mate_solver.h"

namespace shogi {

enum class MateOutcome {
  kMate,       // a mate of `depth` plies; `first_move` is its first move
  kNoMate,     // proven: no mate at all
  kUndecided,  // every depth up to 49 was cut off
  kTableFull,  // a cut-off search at `depth` > 5 with the table full, and no going on
  kStopped,    // AbortFlag was set; a mate found before the stop is kept in `depth`
};

struct MateDeepening {
  MateSearchOptions search;
  int start_depth = 1;  // odd, 1..49
  // Called before the search of each depth (the "%d手詰解析中" display). May be empty.
  std::function<void(int depth)> on_depth;
  // Called once when a search at depth > 5 was cut off while the table is full: true goes
  // on deeper (and the question is not asked again), false gives up. Empty: go on.
  std::function<bool(int depth)> on_table_full;
};

struct MateDeepeningResult {
  MateOutcome outcome = MateOutcome::kUndecided;
  int depth = 0;          // the mate's length; the depth reached for kTableFull
  MoveCode first_move{};  // the mate's first move, also after a stop during shortening
  std::uint64_t nodes = 0;
};

// Deepens from start_depth by two plies up to 49 for `attacker` (to play in `pos`). A mate
// found at the first depth tried is shortened: depths d - 2, d - 4, ... are tried while
// they still mate, and the shortest is kept.
[[nodiscard]] MateDeepeningResult DeepenMate(const Position& pos, Side attacker, const MateDeepening& options);

struct MateSolution {
  int count = 0;          // moves in `moves`, the first attacking move included
  bool complete = false;  // the last move mates: the defender has no legal reply
  bool stopped = false;   // AbortFlag ended the play-out early
  MoveCode moves[kMaxMateDepth];
  std::uint64_t nodes = 0;
};

// Plays out the mate of `depth` plies that starts with `first_move` from `pos`. After each
// attacking move the defender's reply is the legal evasion after which the mate takes
// longest (with 11 or more plies left each candidate is first tested by a 7-ply search,
// then, with 3 or more left, by a search of the plies left minus 2; the first survivor is
// played); the attacker's next move comes from a new search with the plies left.
void PlayOutMate(const Position& pos, Side attacker, int depth, MoveCode first_move,
                 const MateSearchOptions& options, MateSolution& solution);

}  // namespace shogi
