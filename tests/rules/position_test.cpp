// ApplyMove, the initial position and the record layout.
#include "rules/position.h"

#include <gtest/gtest.h>

#include <vector>

#include "rules/game_record.h"
#include "rules/sfen.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

TEST(Position, InitialPositionBytes) {
  const std::uint8_t* b = kInitialPosition.bytes();
  EXPECT_EQ(static_cast<std::int8_t>(b[5]), -8);
  EXPECT_EQ(static_cast<std::int8_t>(b[11]), -6);  // second player's bishop on 2二
  EXPECT_EQ(static_cast<std::int8_t>(b[17]), -7);
  EXPECT_EQ(b[65], 7);  // first player's rook on 2八
  EXPECT_EQ(b[71], 6);
  EXPECT_EQ(b[77], 8);
  EXPECT_EQ(b[98], 77);
  EXPECT_EQ(b[99], 5);
  for (int i = 82; i < 98; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(ToSfen(kInitialPosition, kFirst), kStartSfen);
}

// A captured piece goes into the capturer's hand unpromoted; a drop leaves the hand.
TEST(Position, CapturePromoteAndDrop) {
  struct Case {
    const char* before;
    const char* move;
    const char* after;
  } cases[] = {
      {"4k4/9/4+r4/4P4/9/9/9/9/4K4 b - 1", "5d5c+", "4k4/9/4+P4/9/9/9/9/9/4K4 w R 1"},
      {"4k4/9/9/4g4/4+P4/9/9/9/4K4 w - 1", "5d5e", "4k4/9/9/9/4g4/9/9/9/4K4 b p 1"},
      {"4k4/9/9/9/4+n4/4R4/9/9/4K4 b - 1", "5f5e", "4k4/9/9/9/4R4/9/9/9/4K4 w N 1"},
      {"4k4/9/9/9/9/9/9/9/4K4 w 2n 1", "N*5f", "4k4/9/9/9/9/4n4/9/9/4K4 b n 1"},
      {"4k4/9/9/9/9/9/9/9/4K4 w n 1", "N*5f", "4k4/9/9/9/9/4n4/9/9/4K4 b - 1"},
  };
  for (const Case& c : cases) {
    test::SfenPosition p = test::FromSfen(c.before);
    ApplyMove(p.pos, test::UsiMove(c.move), p.side);
    EXPECT_EQ(ToSfen(p.pos, Opponent(p.side)), c.after) << c.before << " " << c.move;
  }
}

TEST(Position, OnlyKingMovesTouchKingSquares) {
  Position pos = kInitialPosition;
  ApplyMove(pos, 77, kFirst, 68, 0);
  EXPECT_EQ(pos.King[kFirst], 68);
  ApplyMove(pos, 5, kSecond, 14, 0);
  EXPECT_EQ(pos.King[kSecond], 14);
  Position before = pos;
  ApplyMove(pos, 71, kFirst, 11, 1);  // bishop takes the bishop and promotes
  EXPECT_EQ(pos.King[kFirst], before.King[kFirst]);
  EXPECT_EQ(pos.King[kSecond], before.King[kSecond]);
}

TEST(Position, KingSquaresAreTheFirstSquaresHoldingTheKings) {
  struct Case {
    std::vector<int> first_kings, second_kings;  // squares
    int first, second;                           // the squares found
  };
  const Case cases[] = {
      {{77}, {5}, 77, 5},
      {{81, 77}, {9, 5}, 77, 5},  // two kings of a side: the lower square
      {{}, {40}, kNoKing, 40},
      {{1}, {}, 1, kNoKing},
  };
  for (const Case& c : cases) {
    Position pos{};
    pos.King[kFirst] = pos.King[kSecond] = 33;  // stale values are replaced
    for (int s : c.first_kings) pos.Board[s] = kKing;
    for (int s : c.second_kings) pos.Board[s] = -kKing;
    pos.Board[60] = kGold;
    FindKingSquares(pos);
    EXPECT_EQ(pos.King[kFirst], c.first);
    EXPECT_EQ(pos.King[kSecond], c.second);
  }
}

TEST(Position, MoveCodeBytes) {
  EXPECT_EQ(EncodeMove(72, 81, 1).to, 181);
  MoveCode drop = EncodeMove(DropOrigin(kRook), 5, 0);
  EXPECT_EQ(drop.to, 5);
  EXPECT_EQ(drop.from, 107);
  EXPECT_TRUE(IsDrop(drop));
  EXPECT_FALSE(IsPromotion(drop));
}

}  // namespace
}  // namespace shogi
