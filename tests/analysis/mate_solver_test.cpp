// The mate solver on the team's problem set and on the rules that decide a search: the
// pawn-drop ban, the cut-off, the turn for a second-player attacker, the stop request.
#include "analysis/mate_solver.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/mate_deepening.h"
#include "analysis/mate_movegen.h"
#include "rules/attack.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "tests/analysis/mate_reference.h"
#include "tests/analysis/mate_test_util.h"
#include "tests/support/sanitizer.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::Game;
using test::RecordAt;
using test::LoadMateProblems;
using test::MateProblem;

using test::kSanitized;

MateTable& SharedTable() {
  static MateTable table;
  table.Allocate();
  return table;
}

MateDeepeningResult Deepen(const std::string& sfen, int solver, bool table, int start = 1) {
  const auto p = FromSfen(sfen);
  MateDeepening options;
  options.search.solver = solver;
  options.search.table = table ? &SharedTable() : nullptr;
  options.start_depth = start;
  return DeepenMate(p.pos, p.side, options);
}

// Plays `solution` into a record from `sfen`, checking each move against the rules and
// each attacking move for giving check; true when the defender is left without a move.
::testing::AssertionResult PlaysToMate(const std::string& sfen, const MateSolution& solution) {
  Game g(sfen);
  const Side attacker = g.ToMove();
  for (int i = 0; i < solution.count; ++i) {
    const MoveCode m = solution.moves[i];
    const Side mover = g.ToMove();
    if (!g.TryMove(m)) return ::testing::AssertionFailure() << "illegal move " << FormatUsiMove(m);
    if (mover == attacker && !InCheck(g.pos, Opponent(mover)))
      return ::testing::AssertionFailure() << FormatUsiMove(m) << " gives no check";
  }
  if (!g.LegalMoves().empty())
    return ::testing::AssertionFailure() << "the defender can still move";
  return ::testing::AssertionSuccess();
}

// Every problem: its length with either solver, with and without the table, and turned so
// that the second player attacks; the solution plays out to a mate under the rules.
TEST(MateProblemSet, EveryProblemHasItsLengthAndPlaysOutToMate) {
  const std::vector<MateProblem> problems = LoadMateProblems();
  ASSERT_GE(problems.size(), 12u);
  for (const MateProblem& problem : problems) {
    SCOPED_TRACE("line " + std::to_string(problem.line) + ": " + problem.sfen);
    // The longest problems take seconds each; they run with solver 2 and the table on and
    // off (not at all in the slow sanitizer builds), the rest with every combination.
    const bool long_problem = problem.length >= 13;
    if (long_problem && kSanitized) continue;
    for (int solver : {kSolver2, kSolver1}) {
      if (long_problem && solver == kSolver1) continue;
      const MateDeepeningResult with = Deepen(problem.sfen, solver, true);
      ASSERT_EQ(with.outcome, MateOutcome::kMate);
      EXPECT_EQ(with.depth, problem.length) << "solver " << solver;
      const MateDeepeningResult without = Deepen(problem.sfen, solver, false);
      EXPECT_EQ(without.depth, with.depth) << "the table changed the answer, solver " << solver;
      EXPECT_EQ(without.first_move, with.first_move) << "solver " << solver;

      const auto p = FromSfen(problem.sfen);
      MateSearchOptions options;
      options.solver = solver;
      options.table = &SharedTable();
      MateSolution solution;
      PlayOutMate(p.pos, p.side, with.depth, with.first_move, options, solution);
      EXPECT_TRUE(solution.complete);
      EXPECT_EQ(solution.count, problem.length);
      EXPECT_TRUE(PlaysToMate(problem.sfen, solution));
    }
    if (!long_problem) {
      // The same problem with the colours exchanged: the second player attacks.
      const auto p = FromSfen(problem.sfen);
      const std::string turned = ToSfen(TurnPosition(p.pos), Opponent(p.side));
      const MateDeepeningResult r = Deepen(turned, kSolver2, true);
      EXPECT_EQ(r.depth, problem.length) << turned;
      EXPECT_EQ(r.first_move, TurnMove(Deepen(problem.sfen, kSolver2, true).first_move));
    }
  }
}

// The expected lengths are those of a brute-force search over the rules' legal moves.
TEST(MateProblemSet, LengthsAgreeWithTheReferenceSearch) {
  for (const MateProblem& problem : LoadMateProblems()) {
    // The reference takes minutes on the longer ones (under the sanitizers, on 9 plies).
    if (problem.length > (kSanitized ? 7 : 9)) continue;
    SCOPED_TRACE("line " + std::to_string(problem.line) + ": " + problem.sfen);
    const auto p = FromSfen(problem.sfen);
    EXPECT_EQ(test::ReferenceMateLength(RecordAt(p.pos, p.side), p.pos, problem.length),
              problem.length);
  }
}

TEST(MateSearch, APawnDropThatWouldMateIsNeverAMate) {
  // The knight guards 1b; the pawn drop there would mate, a lance drop does mate.
  const char* pawn = "7nk/7p1/9/7N1/9/9/9/9/9 b P 1";
  const auto p = FromSfen(pawn);
  const MateAnswer one = SearchMate(p.pos, kFirst, 1, MateSearchOptions{});
  EXPECT_LT(one.result, 0);  // cut off by the pawn drop: deeper searches go on
  EXPECT_NE(Deepen(pawn, kSolver1, true).outcome, MateOutcome::kMate);
  EXPECT_NE(Deepen(pawn, kSolver2, true).outcome, MateOutcome::kMate);
  const MateDeepeningResult lance = Deepen("7nk/7p1/9/7N1/9/9/9/9/9 b L 1", kSolver2, true);
  EXPECT_EQ(lance.outcome, MateOutcome::kMate);
  EXPECT_EQ(lance.depth, 1);
  // A pawn drop that checks without mating is an ordinary check: here it starts the mate.
  const MateDeepeningResult check =
      Deepen("7k1/L4p3/6r+N1/9/9/9/9/9/9 b RP2b4g4s3n3l16p 1", kSolver2, false);
  EXPECT_EQ(check.depth, 3);
  EXPECT_EQ(FormatUsiMove(check.first_move), "P*2b");
}

TEST(MateSearch, SolverOneTakesTheInterposedPieceFirstWithoutChangingTheAnswer) {
  // Without the table the ordering rule is all that tells the solvers apart: after the
  // pawn interposed on 6b, solver 1 first tries the checks that take it.
  const auto p = FromSfen("3k5/1+N4+L2/5+L3/9/9/9/9/9/9 b NL2r2b4g4s2nl18p 1");
  MateSearchOptions one, two;
  one.solver = kSolver1;
  two.solver = kSolver2;
  const MateAnswer a = SearchMate(p.pos, kFirst, 5, one);
  const MateAnswer b = SearchMate(p.pos, kFirst, 5, two);
  EXPECT_EQ(a.result, 5);
  EXPECT_EQ(b.result, 5);
  EXPECT_EQ(a.move, b.move);
  EXPECT_NE(a.nodes, b.nodes);
}

TEST(MateSearch, NoCheckIsProvenNoMate) {
  const auto p = FromSfen("4k4/9/9/9/9/9/9/9/9 b - 1");
  EXPECT_EQ(SearchMate(p.pos, kFirst, 1, MateSearchOptions{}).result, 0);
  EXPECT_EQ(Deepen("4k4/9/9/9/9/9/9/9/9 b - 1", kSolver2, true).outcome, MateOutcome::kNoMate);
  // A silver in hand gives checks that do not mate: cut off, not proven.
  const auto silver = FromSfen("4k4/9/9/9/9/9/9/9/9 b S 1");
  EXPECT_LT(SearchMate(silver.pos, kFirst, 1, MateSearchOptions{}).result, 0);
}

TEST(MateSearch, TheKingInCheckIsTakenAtOnce) {
  const auto p = FromSfen("4k4/9/9/9/9/9/9/9/4L4 b - 1");
  const MateAnswer a = SearchMate(p.pos, kFirst, 1, MateSearchOptions{});
  EXPECT_GT(a.result, 0);
  EXPECT_EQ(FormatUsiMove(a.move), "5i5a+");  // a lance reaching rank 1 must promote
}

TEST(MateSearch, AMoveThatExposesTheAttackersKingNeverMates) {
  struct Case {
    const char* sfen;
    const char* mate;  // "" when there is none
  } cases[] = {
      // 2c2b mates, unless the bishop on 4a pins the gold against the king on 1d.
      {"8k/9/7G1/8K/9/9/9/9/7L1 b - 1", "2c2b"},
      {"5b2k/9/7G1/8K/9/9/9/9/7L1 b - 1", ""},
      // G*1b mates, unless the rook on 5a checks the attacker's king on 5i.
      {"8k/9/8P/9/9/9/9/9/4K4 b G 1", "G*1b"},
      {"4r3k/9/8P/9/9/9/9/9/4K4 b G 1", ""},
  };
  for (const Case& c : cases) {
    const auto p = FromSfen(c.sfen);
    const MateAnswer a = SearchMate(p.pos, kFirst, 1, MateSearchOptions{});
    EXPECT_EQ(a.result > 0 ? FormatUsiMove(a.move) : "", c.mate) << c.sfen;
  }
}

// The stop request: AbortFlag set from inside the progress report, or the report's own
// answer, ends every level at once.
TEST(MateStop, TheAbortFlagEndsTheSearchAtOnce) {
  const auto p = FromSfen(LoadMateProblems().back().sfen);
  int abort_flag = 0, pumps = 0, stop_at = 0;
  const LoopProgress progress = [&](std::int64_t, std::int64_t) {
    if (++pumps != stop_at) return true;
    if (stop_at % 2 == 0) abort_flag = 100;
    return stop_at % 2 == 0;
  };
  for (int at : {1, 2, 51, 5000}) {
    abort_flag = 0;
    pumps = 0;
    stop_at = at;
    int depths = 0;
    MateDeepening options;
    options.search.progress = progress;
    options.search.abort_flag = &abort_flag;
    options.search.table = &SharedTable();
    options.on_depth = [&](int) { ++depths; };
    const MateDeepeningResult r = DeepenMate(p.pos, p.side, options);
    EXPECT_EQ(r.outcome, MateOutcome::kStopped) << at;
    EXPECT_EQ(pumps, at) << "no attacker node ran after the stop";
    const int depths_when_stopped = depths;
    EXPECT_GE(depths_when_stopped, 1);
  }
  // A flag already set stops the search before any node.
  abort_flag = -100;
  pumps = 0;
  stop_at = 0;
  MateSearchOptions options;
  options.abort_flag = &abort_flag;
  options.progress = progress;
  const MateAnswer a = SearchMate(p.pos, p.side, 9, options);
  EXPECT_TRUE(a.stopped);
  EXPECT_LE(a.nodes, 1u);
  // And the play-out stops as well.
  MateSolution solution;
  PlayOutMate(p.pos, p.side, 15, EncodeMove(DropOrigin(kGold), 14, 0), options, solution);
  EXPECT_TRUE(solution.stopped);
  EXPECT_FALSE(solution.complete);
}

TEST(MateProblemCheck, RefusesWhatCannotBeSolved) {
  struct Case {
    const char* sfen;
    int expected;
    const char* message;
  } cases[] = {
      {"4k4/9/4P4/9/9/9/9/9/9 b G 1", 0, ""},
      {"9/9/9/9/9/9/9/9/4K4 b G 1", 1, "敵玉がありません。"},
      {"4k4/9/4P4/9/9/9/4P4/9/9 b G 1", 1, "駒配置に異常があります。"},  // two pawns
      {"4k4/9/4p4/9/9/9/4p4/9/9 b G 1", 1, "駒配置に異常があります。"},  // two of the defender's
      {"P3k4/9/9/9/9/9/9/9/9 b G 1", 1, "駒配置に異常があります。"},     // pawn on rank 1
      {"4k4/N8/9/9/9/9/9/9/9 b G 1", 1, "駒配置に異常があります。"},     // knight on rank 2
      {"4k4/9/9/9/9/9/9/n8/9 b G 1", 1, "駒配置に異常があります。"},     // knight on rank 8
      {"4k4/9/9/9/9/9/9/9/l8 b G 1", 1, "駒配置に異常があります。"},     // lance on rank 9
      {"4k4/9/4+P4/9/9/9/4P4/9/9 b G 1", 0, ""},                         // と is no pawn
  };
  for (const Case& c : cases) {
    const auto p = FromSfen(c.sfen);
    std::string message;
    EXPECT_EQ(CheckMateProblem(p.pos, kFirst, message), c.expected) << c.sfen;
    EXPECT_EQ(message, c.message) << c.sfen;
  }
  // A king byte that does not name the king's square (a set-up gone wrong).
  Position moved = FromSfen("4k4/9/4P4/9/9/9/9/9/9 b G 1").pos;
  moved.King[kSecond] = 6;
  std::string message;
  EXPECT_EQ(CheckMateProblem(moved, kFirst, message), 1);
  EXPECT_EQ(message, "駒配置に異常があります。");
  moved.King[kSecond] = 5;
  moved.King[kFirst] = 99;  // out of the board
  EXPECT_EQ(CheckMateProblem(moved, kFirst, message), 1);
  // With the second player attacking, the first player's king is the one required.
  EXPECT_EQ(CheckMateProblem(FromSfen("4k4/9/9/9/9/9/9/9/9 w g 1").pos, kSecond, message), 1);
  EXPECT_EQ(message, "敵玉がありません。");
}

}  // namespace
}  // namespace shogi
