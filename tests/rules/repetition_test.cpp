// Repetition counting and the ban on perpetual check.
#include <gtest/gtest.h>

#include "rules/move_rules.h"
#include "tests/rules/rules_test_util.h"

namespace shogi {
namespace {

using testing::Game;

// The first player's rook checks from 1九 and 2九 in turn while the king steps between 1一
// and 2一.
const char* const kRookDance = "8k/9/9/9/9/9/9/9/K6R1 b - 1";
const std::vector<std::string> kCheckCycle = {"2i1i", "1a2a", "1i2i", "2a1a"};

TEST(Repetition, CountsOccurrencesOfTheShownPosition) {
  Game g(kRookDance);
  EXPECT_EQ(RepetitionCount(g.record, g.pos), 1);
  g.Play(kCheckCycle);
  EXPECT_EQ(RepetitionCount(g.record, g.pos), 2);
  g.Play(kCheckCycle);
  EXPECT_EQ(RepetitionCount(g.record, g.pos), 3);
  g.Play({"2i1i"});
  EXPECT_EQ(RepetitionCount(g.record, g.pos), 3);  // after the first check: 3rd time
  // The same squares with a different hand are a different position.
  Position other = g.pos;
  other.Hand[kFirst][kPawn] = 1;
  EXPECT_EQ(RepetitionCount(g.record, other), 1);
}

TEST(Repetition, FourthContinuousCheckIsForbidden) {
  Game g(kRookDance);
  for (int i = 0; i < 3; ++i) g.Play(kCheckCycle);
  // The check 2九→1九 would bring about its position for the fourth time, every position
  // since the first having been a check.
  EXPECT_FALSE(g.IsLegal("2i1i"));
  EXPECT_TRUE(g.IsLegal("2i3i"));  // not a check: allowed
  EXPECT_TRUE(g.IsLegal("2i2a"));  // a different check
}

TEST(Repetition, CycleWithAQuietMoveStaysLegal) {
  Game g(kRookDance);
  g.Play(kCheckCycle);
  g.Play(kCheckCycle);
  // The first player's king steps out and back while the second player's king does the
  // same: those positions were not checks.
  g.Play({"9i9h", "1a1b", "9h9i", "1b1a"});
  g.Play(kCheckCycle);
  EXPECT_TRUE(g.IsLegal("2i1i"));
}

TEST(Repetition, ThirdOccurrenceIsStillAllowed) {
  Game g(kRookDance);
  g.Play(kCheckCycle);
  g.Play(kCheckCycle);
  EXPECT_TRUE(g.IsLegal("2i1i"));
}

TEST(Repetition, ScoreFallsWithEachEarlierOccurrence) {
  Game g(kRookDance);
  g.Play(kCheckCycle);
  Position after = g.pos;
  ApplyMove(after, 74, kFirst, 73, 0);  // 2九→1九 again
  int once = PerpetualCheckScore(g.record, after);
  g.Play(kCheckCycle);
  after = g.pos;
  ApplyMove(after, 74, kFirst, 73, 0);
  int twice = PerpetualCheckScore(g.record, after);
  EXPECT_LT(once, 0);
  EXPECT_LT(twice, once);
  EXPECT_GT(twice, kPerpetualCheck);
  // A position never seen before scores 0.
  Game fresh(kRookDance);
  Position first = fresh.pos;
  ApplyMove(first, 74, kFirst, 73, 0);
  EXPECT_EQ(PerpetualCheckScore(fresh.record, first), 0);
}

}  // namespace
}  // namespace shogi
