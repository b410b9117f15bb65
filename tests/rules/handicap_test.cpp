// The handicap table: each start position's squares, and its numbers in every scheme.
#include "rules/handicap.h"

#include <gtest/gtest.h>

#include "rules/sfen.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using H = Handicap;

// The names and numbers as the layouts list them, written out apart from the table.
struct Expected {
  Handicap handicap;
  const char* record_name;  // KIF 手合割 and database listings
  int dialog, kif, kisen, tarvel, kaya;
};
const Expected kExpected[] = {
    {H::kEven, "平手", 1, 0, 0, 0, -1},
    {H::kLance, "香落ち", 2, 1, 1, 1, 1},
    {H::kBishop, "角落ち", 3, 2, 2, 2, 2},
    {H::kRook, "飛車落ち", 4, 3, 3, 3, 3},
    {H::kRookLance, "飛香落ち", 5, 4, 4, 4, 4},
    {H::kTwoPieces, "二枚落ち", 6, 5, 5, 5, 5},
    {H::kFourPieces, "四枚落ち", 7, 6, 6, 6, 6},
    {H::kSixPieces, "六枚落ち", 8, 7, 7, 7, 7},
    {H::kEightPieces, "八枚落ち", 9, -1, -1, 8, 8},
    {H::kTenPieces, "十枚落ち", 10, -1, -1, 9, 9},
    {H::kThreePawns, nullptr, -1, -1, -1, -1, -1},
    {H::kBareKing, "裸玉", -1, -1, -1, 10, -1},
};

constexpr HandicapScheme kSchemes[] = {HandicapScheme::kDialog, HandicapScheme::kKif,
                                       HandicapScheme::kKisen, HandicapScheme::kTarvel,
                                       HandicapScheme::kKaya};

TEST(Handicap, PositionsNamesAndNumbersInEveryScheme) {
  for (const Expected& e : kExpected) {
    const HandicapRow& row = HandicapRowOf(e.handicap);
    SCOPED_TRACE(row.MenuName);
    const Position pos = HandicapPosition(e.handicap);
    const int start = HandicapStartIndex(e.handicap);
    EXPECT_EQ(ToSfen(pos, SideOfPly(start)), test::HandicapSfen(e.handicap));
    EXPECT_EQ(pos.King[kFirst], 77);
    EXPECT_EQ(pos.King[kSecond], 5);
    if (e.record_name == nullptr) {
      EXPECT_EQ(row.RecordName, nullptr);
    } else {
      EXPECT_STREQ(row.RecordName, e.record_name);
    }
    const int numbers[] = {e.dialog, e.kif, e.kisen, e.tarvel, e.kaya};
    for (int k = 0; k < kHandicapSchemeCount; ++k) {
      EXPECT_EQ(HandicapNumber(e.handicap, kSchemes[k]), numbers[k]) << "scheme " << k;
      if (numbers[k] == kNoHandicapNumber) continue;
      EXPECT_EQ(HandicapOfNumber(kSchemes[k], numbers[k]), e.handicap) << "scheme " << k;
      // A record finds its start position in each scheme that numbers it.
      EXPECT_EQ(MatchHandicap(pos, start, kSchemes[k]), e.handicap) << "scheme " << k;
      EXPECT_EQ(MatchHandicap(pos, 1 - start, kSchemes[k]), std::nullopt) << "scheme " << k;
    }
  }
}

TEST(Handicap, NumbersOutsideASchemeFindNothing) {
  const struct {
    HandicapScheme scheme;
    int number;
  } cases[] = {{HandicapScheme::kDialog, 0},  {HandicapScheme::kDialog, 11},
               {HandicapScheme::kKif, 8},     {HandicapScheme::kKisen, 8},
               {HandicapScheme::kTarvel, 11}, {HandicapScheme::kKaya, 0},
               {HandicapScheme::kKaya, 10},   {HandicapScheme::kTarvel, -1}};
  for (const auto& c : cases) EXPECT_EQ(HandicapOfNumber(c.scheme, c.number), std::nullopt);
  // 八枚落ち has no KIF number: such a record is no KIF handicap.
  EXPECT_EQ(MatchHandicap(HandicapPosition(H::kEightPieces), 1, HandicapScheme::kKif),
            std::nullopt);
  Position moved = HandicapPosition(H::kLance);
  moved.King[kSecond] = kNoKing;  // all 100 bytes are compared
  EXPECT_EQ(MatchHandicap(moved, 1, HandicapScheme::kTarvel), std::nullopt);
}

}  // namespace
}  // namespace shogi
