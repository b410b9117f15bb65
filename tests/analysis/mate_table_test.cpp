// The position table: dominance look-ups, depth and generator conditions, a full pool,
// allocation with fall-back sizes.
#include "analysis/mate_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "tests/analysis/mate_test_util.h"

namespace shogi {
namespace {

using test::FromSfen;

class MateTableTest : public ::testing::Test {
 protected:
  static MateTableEntry* SmallestOnly(std::size_t count) {
    return count > 4096 ? nullptr : new (std::nothrow) MateTableEntry[count];
  }
  void SetUp() override { ASSERT_EQ(table_.Allocate(SmallestOnly), 4096); }

  // The problem position with the attacker holding `hand` (an SFEN hand field).
  static Position WithHand(const char* hand) {
    return FromSfen(std::string("4k4/9/4P4/9/9/9/9/9/9 b ") + hand + " 1").pos;
  }

  MateTable table_;
  MoveCode move_{};
};

TEST_F(MateTableTest, StoredMateAppliesWithAtLeastTheStoredHandAndDepth) {
  const MoveCode gold = EncodeMove(DropOrigin(kGold), 14, 0);
  ASSERT_TRUE(table_.Store(WithHand("GS"), 5, true, true, gold));
  struct Case {
    const char* hand;
    int depth;
    MateTableHit hit;
  } cases[] = {
      {"GS", 5, MateTableHit::kMate},  {"GSP", 5, MateTableHit::kMate},
      {"2GS", 7, MateTableHit::kMate}, {"G", 5, MateTableHit::kNone},  // less in hand
      {"GS", 3, MateTableHit::kNone},                                  // too few plies left
  };
  for (const Case& c : cases) {
    MoveCode got{};
    EXPECT_EQ(table_.Lookup(WithHand(c.hand), c.depth, true, got), c.hit)
        << c.hand << " " << c.depth;
    if (c.hit == MateTableHit::kMate) {
      EXPECT_EQ(got, gold);
    }
  }
}

TEST_F(MateTableTest, StoredFailureAppliesWithAtMostTheStoredHandAndDepth) {
  ASSERT_TRUE(table_.Store(WithHand("GS"), 5, false, false, MoveCode{}));
  struct Case {
    const char* hand;
    int depth;
    bool full;
    MateTableHit hit;
  } cases[] = {
      {"GS", 5, false, MateTableHit::kNoMate}, {"G", 3, false, MateTableHit::kNoMate},
      {"GSP", 5, false, MateTableHit::kNone},  // more in hand might mate
      {"GS", 7, false, MateTableHit::kNone},   // more plies might mate
      {"GS", 5, true, MateTableHit::kNone},    // the reduced search left checks out
  };
  for (const Case& c : cases) {
    EXPECT_EQ(table_.Lookup(WithHand(c.hand), c.depth, c.full, move_), c.hit)
        << c.hand << " " << c.depth << " " << c.full;
  }
  // A failure of the full generator also answers a reduced search.
  ASSERT_TRUE(table_.Store(WithHand("R"), 5, true, false, MoveCode{}));
  EXPECT_EQ(table_.Lookup(WithHand("R"), 5, false, move_), MateTableHit::kNoMate);
}

TEST_F(MateTableTest, OtherSquaresNeverMatch) {
  ASSERT_TRUE(table_.Store(WithHand("G"), 5, true, true, MoveCode{}));
  const Position moved = FromSfen("4k4/9/9/4P4/9/9/9/9/9 b G 1").pos;
  EXPECT_EQ(table_.Lookup(moved, 5, true, move_), MateTableHit::kNone);
}

TEST_F(MateTableTest, StoresFailQuietlyWhenFullAndResetEmptiesIt) {
  const Position pos = WithHand("G");
  for (int i = 0; i < 4096; ++i) ASSERT_TRUE(table_.Store(pos, 3, true, false, MoveCode{}));
  EXPECT_TRUE(table_.Full());
  EXPECT_FALSE(table_.Store(pos, 3, true, false, MoveCode{}));
  EXPECT_EQ(table_.Lookup(pos, 3, true, move_), MateTableHit::kNoMate);
  table_.Reset();
  EXPECT_FALSE(table_.Full());
  EXPECT_EQ(table_.Used(), 0);
  EXPECT_EQ(table_.Lookup(pos, 3, true, move_), MateTableHit::kNone);
}

TEST(MateTableAllocation, FallsBackToSmallerPoolsAndKeepsTheFirstOne) {
  static int largest_offered;
  auto refuse_above = [](std::size_t count) -> MateTableEntry* {
    largest_offered = std::max(largest_offered, static_cast<int>(count));
    return count > 16384 ? nullptr : new (std::nothrow) MateTableEntry[count];
  };
  MateTable table;
  largest_offered = 0;
  EXPECT_EQ(table.Allocate(refuse_above), 16384);
  EXPECT_EQ(largest_offered, 65536);
  EXPECT_EQ(table.Allocate(), 16384);  // allocated once
  table.Free();
  EXPECT_FALSE(table.Allocated());
  MateTable none;
  EXPECT_EQ(none.Allocate([](std::size_t) -> MateTableEntry* { return nullptr; }), 0);
  EXPECT_FALSE(none.Allocated());
  MoveCode move{};
  EXPECT_FALSE(none.Store(kInitialPosition, 3, true, true, move));
  EXPECT_EQ(none.Lookup(kInitialPosition, 3, true, move), MateTableHit::kNone);
}

TEST(MateTableHash, DependsOnTheSquaresOnly) {
  const Position a = FromSfen("4k4/9/4P4/9/9/9/9/9/9 b G 1").pos;
  const Position b = FromSfen("4k4/9/4P4/9/9/9/9/9/9 b 2R2B 1").pos;
  const Position c = FromSfen("4k4/9/9/4P4/9/9/9/9/9 b G 1").pos;
  EXPECT_EQ(MateTableHash(a), MateTableHash(b));
  EXPECT_NE(MateTableHash(a), MateTableHash(c));
}

}  // namespace
}  // namespace shogi
