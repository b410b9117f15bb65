// The df-pn table: which stored node serves a probe (proof and disproof hands, plies
// limits), replacement, and the bound on its size.
#include "analysis/dfpn_table.h"

#include <gtest/gtest.h>

namespace shogi {
namespace {

PackedHand Hand(int pawns, int golds) {
  return WithHandCount(WithHandCount(0, kPawn, pawns), kGold, golds);
}

TEST(DfpnTable, ProofAndDisproofHandsServeOtherHands) {
  DfpnTable table;
  ASSERT_EQ(table.Allocate(1), 1u);
  constexpr std::uint64_t kProven = 11, kRefuted = 12, kOpen = 13;
  table.Store(kProven, Hand(0, 1), kNoPlyLimit, 0, kDfpnInfinite, 5, MoveCode{}, 10);
  table.Store(kRefuted, Hand(1, 1), 7, kDfpnInfinite, 0, 0, MoveCode{}, 10);
  table.Store(kOpen, Hand(2, 0), kNoPlyLimit, 3, 4, 0, MoveCode{}, 10);
  struct Case {
    std::uint64_t key;
    PackedHand hand;
    std::uint16_t limit;
    bool found;
    std::uint32_t pn;
  } cases[] = {
      {kProven, Hand(3, 1), kNoPlyLimit, true, 0},     // more than the proof hand
      {kProven, Hand(3, 0), kNoPlyLimit, false, 1},    // without the gold it needs
      {kProven, Hand(0, 1), 5, true, 0},               // the mate fits the limit
      {kProven, Hand(0, 1), 3, false, 1},              // it does not
      {kRefuted, Hand(0, 1), 7, true, kDfpnInfinite},  // less than the disproof hand
      {kRefuted, Hand(1, 1), 5, true, kDfpnInfinite},  // refuted with more plies
      {kRefuted, Hand(1, 2), 7, false, 1},             // a gold more
      {kRefuted, Hand(1, 1), 9, false, 1},             // more plies than were refuted
      {kRefuted, Hand(1, 1), kNoPlyLimit, false, 1},
      {kOpen, Hand(2, 0), kNoPlyLimit, true, 3},  // an open node: the same hand only
      {kOpen, Hand(3, 0), kNoPlyLimit, false, 1},
      {kOpen, Hand(2, 0), 9, false, 1},
  };
  for (const Case& c : cases) {
    const DfpnProbe probe = table.Probe(c.key, c.hand, c.limit);
    EXPECT_EQ(probe.found, c.found) << c.key << " " << c.hand << " " << c.limit;
    EXPECT_EQ(probe.pn, c.pn) << c.key << " " << c.hand << " " << c.limit;
  }
  table.Store(kOpen, Hand(2, 0), kNoPlyLimit, 6, 2, 0, MoveCode{}, 10);
  EXPECT_EQ(table.Probe(kOpen, Hand(2, 0), kNoPlyLimit).pn, 6u);
  EXPECT_EQ(table.Used(), 3u);
  table.Clear();
  EXPECT_FALSE(table.Probe(kProven, Hand(3, 1), kNoPlyLimit).found);
  EXPECT_EQ(table.Used(), 0u);
}

// Filling the table many times over keeps it within its size; what cost much work to find
// outlives what cost little.
TEST(DfpnTable, StaysWithinItsSizeAndKeepsTheCostlyEntries) {
  DfpnTable table;
  ASSERT_EQ(table.Allocate(1), 1u);
  const std::size_t capacity = table.Capacity();
  table.Store(7, 0, kNoPlyLimit, 0, kDfpnInfinite, 9, MoveCode{}, 1u << 30);
  for (std::uint64_t key = 100; key < 100 + 4 * capacity; ++key) {
    table.Store(key * 0x9E3779B97F4A7C15ull, 0, kNoPlyLimit, 1, 1, 0, MoveCode{}, 1);
    ASSERT_LE(table.Used(), capacity);
  }
  EXPECT_GT(table.Collections(), 0u);
  EXPECT_TRUE(table.Probe(7, 0, kNoPlyLimit).found);
}

// A search starts on a part of the table and doubles it as it fills: every entry stays
// where a probe finds it.
TEST(DfpnTable, KeepsItsEntriesAsItsPartInUseGrows) {
  DfpnTable table;
  ASSERT_EQ(table.Allocate(8), 8u);
  const std::uint64_t count = table.Capacity() / 2;
  for (std::uint64_t key = 1; key <= count; ++key)
    table.Store(key * 0x9E3779B97F4A7C15ull, 0, kNoPlyLimit, 0, kDfpnInfinite, 3, MoveCode{}, 1);
  std::uint64_t found = 0;
  for (std::uint64_t key = 1; key <= count; ++key)
    found += table.Probe(key * 0x9E3779B97F4A7C15ull, 0, kNoPlyLimit).found ? 1 : 0;
  EXPECT_EQ(found, count);
  EXPECT_EQ(table.Collections(), 0u);
}

}  // namespace
}  // namespace shogi
