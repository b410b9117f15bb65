// The mate solver: one depth-limited search over checks and evasions for a forced mate,
// and the checks a position must pass before it is solved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "analysis/mate_table.h"
#include "platform/progress.h"
#include "rules/position.h"

namespace shogi {

// Returns 0 when `pos` can be solved with `attacker` to play; otherwise 1 and `message`
// holds "敵玉がありません。" (the defender has no king) or "駒配置に異常があります。" (a pawn,
// lance or knight that can never move again, two unpromoted pawns of a side in one file,
// or a king byte that does not name the square of that side's king).
[[nodiscard]] int CheckMateProblem(const Position& pos, Side attacker, std::string& message);

// Solver 1 uses the table from depth 2 and, after an evasion onto an empty square, tries
// the checks onto that square first; solver 2 uses the table from depth 6.
constexpr int kSolver1 = 1;
constexpr int kSolver2 = 2;
constexpr int kMaxMateDepth = 49;

struct MateSearchOptions {
  int solver = kSolver2;
  const int* abort_flag = nullptr;  // AbortFlag: every level returns at once when not 0
  MateTable* table = nullptr;       // the position table, if one was allocated
  // Told of every attacker node (the nodes so far; may be empty); false stops the search as
  // AbortFlag does. The window takes its messages there; the computer player counts nodes
  // and watches its clock.
  LoopProgress progress;
};

// The depth from which a search of `solver` uses the position table.
constexpr int TableDepth(int solver) {
  return solver == kSolver1 ? 2 : 6;
}

struct MateAnswer {
  // > 0 a mate within the depth (the value is the depth); 0 proven: no mate at all;
  // < 0 no mate within the depth, but some line was cut off by the limit.
  int result = 0;
  MoveCode move{};       // the first attacking move when result > 0
  bool stopped = false;  // AbortFlag or the progress stopped it: result and move mean nothing
  std::uint64_t nodes = 0;
};

// Searches for a mate of the defender by `attacker` (the side to play in `pos`) within
// `depth` plies (odd, 1..49). `pos` must have passed CheckMateProblem. When the defender's
// king can be taken at once, that capture is the answer. A position table in `options` is
// reset and used when depth >= TableDepth(solver); stores fail quietly once it is full.
MateAnswer SearchMate(const Position& pos, Side attacker, int depth,
                      const MateSearchOptions& options);

// The legal replies of `defender`, whose king is in check in `pos`, in the solver's
// evasion order. Returns the count; `out` needs room for 256 moves.
[[nodiscard]] int MateEvasions(const Position& pos, Side defender, MoveCode* out);

}  // namespace shogi
