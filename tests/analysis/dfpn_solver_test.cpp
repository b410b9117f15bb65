// The df-pn mate solver: the problem sets with their lengths and lines the rules accept,
// no-mate proofs, agreement with the deepening solver, the perpetual check, futile drops,
// the limits and the stop, and the check of a mating line.
#include "analysis/dfpn_solver.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/dfpn_search.h"
#include "analysis/mate_deepening.h"
#include "analysis/mate_movegen.h"
#include "rules/attack.h"
#include "rules/sfen.h"
#include "tests/analysis/mate_test_util.h"
#include "tests/support/sanitizer.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::Game;
using test::LoadMateProblems;
using test::MateProblem;
using test::kSanitized;

DfpnTable& SharedDfpnTable() {
  static DfpnTable table;
  if (!table.Allocated()) table.Allocate(64);
  return table;
}

DfpnResult Solve(const std::string& sfen, const DfpnLimits& limits = {}) {
  const auto p = FromSfen(sfen);
  return SolveDfpn(p.pos, p.side, SharedDfpnTable(), limits);
}

std::string Usi(const std::vector<MoveCode>& line) {
  std::string text;
  for (MoveCode m : line) text += FormatUsiMove(m) + " ";
  return text;
}

// Whether the defender to move in `g` is mated as problems count it: no legal move, or
// only drops that some capture on their square answers with such a mate again.
bool MatedByProblemRules(const Game& g) {
  for (MoveCode reply : g.LegalMoves()) {
    if (!IsDrop(reply)) return false;
    Game dropped = g;
    if (!dropped.TryMove(reply)) return false;
    bool answered = false;
    for (MoveCode capture : dropped.LegalMoves()) {
      if (DestinationOf(capture) != DestinationOf(reply)) continue;
      Game taken = dropped;
      if (taken.TryMove(capture) && InCheck(taken.pos, taken.ToMove()) &&
          MatedByProblemRules(taken)) {
        answered = true;
        break;
      }
    }
    if (!answered) return false;
  }
  return true;
}

// Replays `line` from `sfen` with the rules' legal moves, apart from the solver's own
// check: every attacking move a check, every reply legal, the end a mate.
::testing::AssertionResult MatesByTheRules(const std::string& sfen,
                                           const std::vector<MoveCode>& line) {
  Game g(sfen);
  const Side attacker = g.ToMove();
  for (MoveCode m : line) {
    const Side mover = g.ToMove();
    if (!g.TryMove(m)) return ::testing::AssertionFailure() << "illegal " << FormatUsiMove(m);
    if (mover == attacker && !InCheck(g.pos, Opponent(attacker)))
      return ::testing::AssertionFailure() << FormatUsiMove(m) << " gives no check";
  }
  if (g.ToMove() == attacker) return ::testing::AssertionFailure() << "ends with a reply";
  if (!MatedByProblemRules(g)) return ::testing::AssertionFailure() << "the defender escapes";
  return ::testing::AssertionSuccess();
}

// Every mate of the df-pn set: its known length, a line the rules accept, and the same
// length with the colours exchanged (under the sanitizers the mates of up to 9 plies).
TEST(DfpnSolver, SolvesEachProblemWithItsLength) {
  const std::vector<MateProblem> problems = LoadMateProblems("dfpn_mates.txt");
  ASSERT_GE(problems.size(), 50u);
  for (const MateProblem& problem : problems) {
    if (kSanitized && problem.length > 9) continue;
    SCOPED_TRACE("line " + std::to_string(problem.line) + ": " + problem.sfen);
    const DfpnResult r = Solve(problem.sfen);
    ASSERT_EQ(r.outcome, DfpnOutcome::kMate);
    EXPECT_TRUE(r.shortest);
    EXPECT_EQ(static_cast<int>(r.line.size()), problem.length) << Usi(r.line);
    EXPECT_TRUE(MatesByTheRules(problem.sfen, r.line)) << Usi(r.line);

    const auto p = FromSfen(problem.sfen);
    const std::string turned = ToSfen(TurnPosition(p.pos), Opponent(p.side));
    const DfpnResult t = Solve(turned);
    EXPECT_EQ(t.line.size(), r.line.size()) << turned;
    EXPECT_TRUE(MatesByTheRules(turned, t.line)) << Usi(t.line);
  }
}

// Under the sanitizers every third position.
TEST(DfpnSolver, ProvesThatThereIsNoMate) {
  const std::vector<MateProblem> positions = LoadMateProblems("dfpn_nomates.txt");
  ASSERT_GE(positions.size(), 20u);
  for (std::size_t i = 0; i < positions.size(); i += kSanitized ? 3 : 1) {
    const MateProblem& p = positions[i];
    EXPECT_EQ(Solve(p.sfen).outcome, DfpnOutcome::kNoMate) << "line " << p.line;
  }
}

// The deepening solver counts every reply, futile drops included: where it finds a mate the
// df-pn solver finds one no longer, and where the df-pn solver proves none, the deepening
// solver finds none within 7 plies (under the sanitizers: the mates of up to 7 plies and
// every third position without one).
TEST(DfpnSolver, AgreesWithTheDeepeningSolver) {
  MateTable table;
  table.Allocate();
  MateDeepening deepening;
  deepening.search.table = &table;
  std::vector<MateProblem> all;
  int without_mate = 0;
  for (const char* file : {"problems.txt", "dfpn_mates.txt", "dfpn_nomates.txt"}) {
    for (const MateProblem& p : LoadMateProblems(file)) {
      if (p.length > (kSanitized ? 7 : 9)) continue;
      if (kSanitized && p.length == 0 && ++without_mate % 3 != 1) continue;
      all.push_back(p);
    }
  }
  for (const MateProblem& problem : all) {
    SCOPED_TRACE(problem.sfen);
    const auto p = FromSfen(problem.sfen);
    const DfpnResult r = Solve(problem.sfen);
    if (problem.length > 0) {
      const MateDeepeningResult d = DeepenMate(p.pos, p.side, deepening);
      ASSERT_EQ(d.outcome, MateOutcome::kMate);
      ASSERT_EQ(r.outcome, DfpnOutcome::kMate);
      EXPECT_LE(static_cast<int>(r.line.size()), d.depth);
    } else {
      EXPECT_EQ(r.outcome, DfpnOutcome::kNoMate);
      MateSearchOptions options;
      options.table = &table;
      EXPECT_LE(SearchMate(p.pos, p.side, 7, options).result, 0);
    }
  }
}

// The attacker's only check starts a circle of checks: the deepening solver is still cut off
// after 15 plies, the df-pn solver proves that no mate exists.
TEST(DfpnSolver, APerpetualCheckIsNoMate) {
  const char* circle = "9/5n1Lg/6S1k/7N1/5g1p1/9/9/9/9 b 2r2b2g3s2n3l17p 1";
  const auto p = FromSfen(circle);
  MateTable table;
  table.Allocate();
  MateSearchOptions options;
  options.table = &table;
  EXPECT_LT(SearchMate(p.pos, p.side, 15, options).result, 0);
  EXPECT_EQ(Solve(circle).outcome, DfpnOutcome::kNoMate);
}

// A drop that the checking piece takes, the mate going on as before, is not counted: the
// deepening solver's length counts it, the df-pn solver's does not.
TEST(DfpnSolver, FutileDropsAreNotCounted) {
  struct Case {
    const char* sfen;
    int length;       // as problems count
    int every_reply;  // counting every reply
  } cases[] = {
      {"2B6/kp7/9/1B7/9/9/1L7/9/9 b S2r4g3s4n3l17p 1", 7, 9},
      {"5p3/5G1kP/5R3/6g2/9/9/9/9/9 b SPr2b2g3s4n4l15p 1", 3, 5},
  };
  MateTable table;
  table.Allocate();
  MateDeepening deepening;
  deepening.search.table = &table;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sfen);
    const auto p = FromSfen(c.sfen);
    EXPECT_EQ(DeepenMate(p.pos, p.side, deepening).depth, c.every_reply);
    const DfpnResult r = Solve(c.sfen);
    EXPECT_EQ(static_cast<int>(r.line.size()), c.length) << Usi(r.line);
    EXPECT_TRUE(MatesByTheRules(c.sfen, r.line)) << Usi(r.line);
  }
}

// The futility question searches the capture's position under the key made from the node's
// key: the table then holds it under the key read from its board.
TEST(DfpnSolver, TheFutileDropsCaptureIsStoredUnderItsKey) {
  // The rook on 1e checks the king on 1a; a silver dropped on 1b is taken and it is mate again.
  const Position pos = FromSfen("8k/6G2/7G1/9/8R/9/9/9/9 w s 1").pos;
  const MoveCode drop = EncodeMove(DropOrigin(kSilver), SquareOf(1, 2), 0);
  DfpnTable table;
  ASSERT_GT(table.Allocate(1), 0u);
  const DfpnLimits limits;
  DfpnSearch search(table, limits);
  PackedHand proof_hand = 0;
  ASSERT_TRUE(search.FutileDrop(pos, drop, proof_hand, DfpnKey(pos, false)));
  Position taken = pos;
  ApplyMove(taken, drop, kSecond);
  ApplyMove(taken, SquareOf(1, 5), kFirst, SquareOf(1, 2), 0);
  const DfpnProbe probe = table.Probe(DfpnKey(taken, false), PackHand(taken, kFirst), 0);
  EXPECT_TRUE(probe.found && probe.pn == 0);
}

TEST(DfpnSolver, LimitsAndTheCallerEndTheSearch) {
  const std::string longest = LoadMateProblems().back().sfen;
  DfpnLimits few;
  few.max_nodes = 100;
  EXPECT_EQ(Solve(longest, few).outcome, DfpnOutcome::kUnknown);
  int reports = 0;
  DfpnLimits stop;
  stop.on_progress = [&](std::uint64_t nodes, double) {
    ++reports;
    EXPECT_GT(nodes, 0u);
    return false;
  };
  EXPECT_EQ(Solve(longest, stop).outcome, DfpnOutcome::kStopped);
  EXPECT_EQ(reports, 1);

  // With the smallest table entries are replaced all the time; the answer stays right.
  DfpnTable small;
  ASSERT_EQ(small.Allocate(1), 1u);
  const auto p = FromSfen(longest);
  const DfpnResult r = SolveDfpn(p.pos, p.side, small, {});
  EXPECT_LE(small.Used(), small.Capacity());
  EXPECT_EQ(r.line.size(), Solve(longest).line.size());
  EXPECT_TRUE(MatesByTheRules(longest, r.line));
}

TEST(DfpnSolver, RefusesMorePiecesThanTheTableCounts) {
  Position pos = FromSfen("4k4/9/9/9/9/9/9/9/9 b G 1").pos;
  pos.Hand[kFirst][kGold] = 8;  // a hand-built position: no SFEN holds eight golds
  EXPECT_EQ(SolveDfpn(pos, kFirst, SharedDfpnTable(), {}).outcome, DfpnOutcome::kRefused);
}

TEST(CheckMateLine, NamesWhatIsWrongWithALine) {
  struct Case {
    const char* sfen;
    const char* line;
    MateLineCheck expected;
  } cases[] = {
      {"1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1", "R*8c 8a9b 7c8b+", MateLineCheck::kMate},
      {"1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1", "R*8c 8a9b", MateLineCheck::kNotMate},
      {"1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1", "R*8c 8a7b", MateLineCheck::kIllegalMove},
      {"1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1", "R*1i", MateLineCheck::kNoCheck},
      {"1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1", "R*8c", MateLineCheck::kNotMate},
      // The knight guards 1b: the pawn drop there would mate, which the rules forbid.
      {"7nk/7p1/9/7N1/9/9/9/9/9 b P 1", "P*1b", MateLineCheck::kIllegalMove},
      {"9/5n1Lg/6S1k/7N1/5g1p1/9/9/9/9 b 2r2b2g3s2n3l17p 1", "2d1b+ 1c2c 3c2d 2c3b 2d3c 3b2c",
       MateLineCheck::kRepeated},
  };
  for (const Case& c : cases) {
    const auto p = FromSfen(c.sfen);
    std::vector<MoveCode> line;
    for (const std::string& usi : test::SplitUsi(c.line))
      line.push_back(test::UsiMove(usi));
    EXPECT_EQ(CheckMateLine(p.pos, p.side, line, nullptr), c.expected) << c.sfen << " " << c.line;
  }
}

}  // namespace
}  // namespace shogi
