// Iterative deepening, shortening and the play-out of a mate.
#include "analysis/mate_deepening.h"

#include "analysis/mate_movegen.h"

namespace shogi {

MateDeepeningResult DeepenMate(const Position& pos, Side attacker, const MateDeepening& options) {
  MateDeepeningResult result;
  bool may_fill = false;  // the user agreed to go on with a full table
  for (int d = options.start_depth; d <= kMaxMateDepth; d += 2) {
    if (options.on_depth) options.on_depth(d);
    const MateAnswer answer = SearchMate(pos, attacker, d, options.search);
    result.nodes += answer.nodes;
    if (answer.stopped) {
      result.outcome = MateOutcome::kStopped;
      return result;
    }
    if (answer.result > 0) {
      result.outcome = MateOutcome::kMate;
      result.depth = d;
      result.first_move = answer.move;
      // Found at once from a start above 1: a shorter mate may exist.
      if (d == options.start_depth) {
        for (int shorter = d - 2; shorter >= 1; shorter -= 2) {
          const MateAnswer again = SearchMate(pos, attacker, shorter, options.search);
          result.nodes += again.nodes;
          if (again.stopped) {
            result.outcome = MateOutcome::kStopped;
            return result;
          }
          if (again.result <= 0) break;
          result.depth = shorter;
          result.first_move = again.move;
        }
      }
      return result;
    }
    if (answer.result == 0) {
      result.outcome = MateOutcome::kNoMate;
      return result;
    }
    if (d > 5 && options.search.table != nullptr && options.search.table->Full() && !may_fill) {
      if (options.on_table_full) {
        if (!options.on_table_full(d)) {
          result.outcome = MateOutcome::kTableFull;
          result.depth = d;
          return result;
        }
        may_fill = true;
      }
    }
  }
  result.outcome = MateOutcome::kUndecided;
  result.depth = kMaxMateDepth;
  return result;
}

void PlayOutMate(const Position& pos, Side attacker, int depth, MoveCode first_move,
                 const MateSearchOptions& options, MateSolution& solution) {
  const Side defender = Opponent(attacker);
  solution = MateSolution{};
  auto play = [&](Position& p, MoveCode m, Side side) {
    ApplyMove(p, m, side);
    if (solution.count < kMaxMateDepth) solution.moves[solution.count++] = m;
  };
  // A search in the play-out; false when the user stopped it.
  auto mates = [&](const Position& p, int plies, MoveCode* move) -> int {
    const MateAnswer a = SearchMate(p, attacker, plies, options);
    solution.nodes += a.nodes;
    if (a.stopped) {
      solution.stopped = true;
      return -1;
    }
    if (move != nullptr) *move = a.move;
    return a.result > 0 ? 1 : 0;
  };

  Position p = pos;
  play(p, first_move, attacker);
  int left = depth - 1;  // plies left after the last attacking move
  while (true) {
    if (p.Board[p.King[defender]] != CodeOf(kKing, defender)) {  // the king itself was taken
      solution.complete = true;
      return;
    }
    MoveCode candidates[kMaxMateEvasions];
    int n = MateEvasions(p, defender, candidates);
    if (n == 0) {
      solution.complete = true;
      return;
    }
    if (left < 2) return;  // the mate should be on the board; it is not
    const int after_reply = left - 1;
    // Narrow the candidates to those the attacker cannot mate within `plies`, as long as
    // at least one remains: they are the replies after which the mate takes longest.
    auto narrow = [&](int plies) -> bool {
      MoveCode kept[kMaxMateEvasions];
      int k = 0;
      for (int i = 0; i < n; ++i) {
        Position q = p;
        ApplyMove(q, candidates[i], defender);
        const int m = mates(q, plies, nullptr);
        if (m < 0) return false;
        if (m == 0) kept[k++] = candidates[i];
      }
      if (k > 0) {
        for (int i = 0; i < k; ++i) candidates[i] = kept[i];
        n = k;
      }
      return true;
    };
    if (after_reply >= 11 && n > 1 && !narrow(7)) return;
    if (after_reply >= 3 && n > 1 && !narrow(after_reply - 2)) return;
    play(p, candidates[0], defender);
    left = after_reply;

    MoveCode next{};
    const int m = mates(p, left, &next);
    if (m < 0 || m == 0) return;  // stopped, or (against the search's word) no mate
    play(p, next, attacker);
    left -= 1;
  }
}

}  // namespace shogi
