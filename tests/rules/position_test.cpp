// ApplyMove, the initial position and the record layout.
#include "rules/position.h"

#include <gtest/gtest.h>

#include <vector>

#include "rules/game_record.h"
#include "rules/sfen.h"

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

TEST(Position, CapturePromoteAndDrop) {
  Position pos{};
  pos.Board[20] = kPawn;     // first player's pawn on 2三
  pos.Board[11] = -kDragon;  // second player's dragon on 2二
  ApplyMove(pos, 20, kFirst, 11, 1);
  EXPECT_EQ(pos.Board[11], kPromotedPawn);
  EXPECT_EQ(pos.Board[20], 0);
  EXPECT_EQ(pos.bytes()[89], 1);  // one rook in the first player's hand

  pos.Hand[kSecond][kKnight] = 1;
  ApplyMove(pos, DropOrigin(kKnight), kSecond, 50, 0);
  EXPECT_EQ(pos.bytes()[93], 0);
  EXPECT_EQ(pos.Board[50], -kKnight);

  // A captured promoted piece goes to the hand unpromoted.
  pos.Board[51] = kRook;
  ApplyMove(pos, 51, kFirst, 50, 0);
  EXPECT_EQ(pos.Hand[kFirst][kKnight], 1);
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
