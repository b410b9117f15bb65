// Repetition counting and the ban on perpetual check, for either side, from either start
// ply, with the pieces in hand compared.
#include <gtest/gtest.h>

#include "rules/move_rules.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::Game;

// The first player's rook checks from 1九 and 2九 in turn while the king steps between 1一
// and 2一.
constexpr const char* kRookDance = "8k/9/9/9/9/9/9/9/K6R1 b - 1";
constexpr const char* kCheckCycle = "2i1i 1a2a 1i2i 2a1a";
// The same for the second player, who moves first (the record starts at ply 1): its rook
// checks from 9一 and 8一 while the first player's king steps between 9九 and 8九.
constexpr const char* kSecondRookDance = "1r6k/9/9/9/9/9/9/9/K8 w - 1";
constexpr const char* kSecondCheckCycle = "8a9a 9i8i 9a8a 8i9i";
// The second player checks with a dropped gold and with its rook; the first player's king
// dodges, puts a gold between, and takes the second player's gold: board and hands come back.
constexpr const char* kGoldsExchanged = "8k/9/9/9/9/9/8r/1K7/9 w Gg 1";
constexpr const char* kGoldCycle = "G*7g 8h9h 1g1h G*8h 7g8h 9h9g 1h1g 9g8h";
// The second player checks with a dropped gold that the king takes: the board comes back with
// one gold fewer in the checking hand each time.
constexpr const char* kGoldsLost = "7rk/9/9/9/9/9/9/1K7/9 w 4g 1";
constexpr const char* kLostGoldCycle = "G*7g 8h9h 7g8h 9h8h";
// The first player drops a pawn on 5五 and the second player's gold takes it, twice, while
// the first player's king goes 9九-9八-9九: the board comes back, the hands do not.
constexpr const char* kPawnsGiven = "8k/9/9/4g4/9/9/9/9/K8 b 8P 1";
constexpr const char* kPawnCycle = "P*5e 5d5e 9i9h 5e5d P*5e 5d5e 9h9i 5e5d";

std::string Times(const char* cycle, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += std::string(i ? " " : "") + cycle;
  return out;
}

TEST(Repetition, CountsTheShownPositionWithTheSameSideToMoveAndHands) {
  struct Case {
    const char* name;
    const char* sfen;
    std::string moves;
    int count;
  } cases[] = {
      {"start", kRookDance, "", 1},
      {"one cycle", kRookDance, kCheckCycle, 2},
      {"two cycles", kRookDance, Times(kCheckCycle, 2), 3},
      {"after the next check", kRookDance, Times(kCheckCycle, 2) + " 2i1i", 3},
      {"second player first, three cycles", kSecondRookDance, Times(kSecondCheckCycle, 3), 4},
      {"second player first, one move into the cycle", kSecondRookDance,
       Times(kSecondCheckCycle, 2) + " 8a9a", 3},
      {"the same board with other hands", kPawnsGiven, Times(kPawnCycle, 3), 1},
      {"the same board and hands", kPawnsGiven, Times(kPawnCycle, 3) + " 9i9h 1a1b 9h9i 1b1a", 2},
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    ASSERT_TRUE(g.Play(c.moves)) << c.name;
    EXPECT_EQ(RepetitionCount(g.record, g.pos), c.count) << c.name;
  }
}

// Whether the check `candidate` is legal after `moves`: a check that brings a position
// about for the fourth time, every position since the first having been a check by the
// same side, is not.
TEST(PerpetualCheck, TheFourthContinuousCheckIsForbidden) {
  struct Case {
    const char* name;
    const char* sfen;
    std::string moves;
    const char* candidate;
    bool legal;
  } cases[] = {
      {"third occurrence", kRookDance, Times(kCheckCycle, 2), "2i1i", true},
      {"fourth occurrence", kRookDance, Times(kCheckCycle, 3), "2i1i", false},
      {"not a check", kRookDance, Times(kCheckCycle, 3), "2i3i", true},
      {"a different check", kRookDance, Times(kCheckCycle, 3), "2i2a", true},
      // The first player's king steps out and back while the second player's king does the
      // same: those positions were not checks.
      {"a quiet cycle between", kRookDance,
       Times(kCheckCycle, 2) + " 9i9h 1a1b 9h9i 1b1a " + kCheckCycle, "2i1i", true},
      {"second player, third occurrence", kSecondRookDance, Times(kSecondCheckCycle, 2), "8a9a",
       true},
      {"second player, fourth occurrence", kSecondRookDance, Times(kSecondCheckCycle, 3), "8a9a",
       false},
      {"second player, a different check", kSecondRookDance, Times(kSecondCheckCycle, 3), "8a8i",
       true},
      {"drops in the cycle, third occurrence", kGoldsExchanged, Times(kGoldCycle, 2), "G*7g", true},
      {"drops in the cycle, fourth occurrence", kGoldsExchanged, Times(kGoldCycle, 3), "G*7g",
       false},
      {"the same board, fewer golds in hand", kGoldsLost, Times(kLostGoldCycle, 3), "G*7g", true},
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    ASSERT_TRUE(g.Play(c.moves)) << c.name;
    EXPECT_EQ(g.IsLegal(c.candidate), c.legal) << c.name;
  }
}

TEST(PerpetualCheck, ScoreFallsWithEachEarlierOccurrence) {
  // The score of playing 2i1i again after n cycles.
  auto score_after = [](int cycles) {
    Game g(kRookDance);
    EXPECT_TRUE(g.Play(Times(kCheckCycle, cycles)));
    Position after = g.pos;
    ApplyMove(after, test::UsiMove("2i1i"), kFirst);
    return PerpetualCheckScore(g.record, after);
  };
  const int never = score_after(0), once = score_after(1), twice = score_after(2);
  EXPECT_EQ(never, 0);
  EXPECT_LT(once, 0);
  EXPECT_LT(twice, once);
  EXPECT_GT(twice, kPerpetualCheck);
}

}  // namespace
}  // namespace shogi
