// The library's mate search as seen through `sikou`: mates in 1, 3 and 5 for either side,
// the pawn-drop rule, and resignation.
#include <gtest/gtest.h>

#include <string>

#include "sikou_test_util.h"

namespace sikou_test {
namespace {

class MateTest : public LibraryTest {};

struct MateCase {
  const char* name;
  const char* moves;
  int result;         // the depth the library reports
  const char* first;  // the first move it finds
};

// Positions reached by short games; the diagrams show the board after the last move (first
// player's pieces in capitals, file 9 on the left).
const MateCase kMates[] = {
    // . n s k . . s n l / . r g . . +B . b . / p p p p p p . p p ... first hand: P G
    // The horse on 4b guards 5b: G*5b mates the king on 6a.
    {"first player, mate in 1", "7g7f 6a7b 8h3c 4a4b 3c4b+ 5a6a", 1, "G*5b"},
    // The second player's bishop on 9e takes on 7g promoting: the first player's king on 6h
    // has nowhere to go.
    {"second player, mate in 1", "5i6h 9a9b 7g7f 4a5b 8h3c 2b3c 2g2f 3c9i 2h5h B*9e 8i7g", 1,
     "9e7g+"},
    // l n s . . . +B n l / . r g . k . . . . / ... first hand: P G B
    {"first player, mate in 3",
     "3i3h 5a5b 8g8f 3a4b 5i4h 5c5d 4h5h 4b5c 7g7f 5c6d 8h3c 4a3a 3c2b+ 6a7b 2b3a 2c2d", 3, "B*4a"},
    {"second player, mate in 3",
     "4i5h 8b5b 1i1h 7a7b 6i7h 7c7d 2h3h 5c5d 7g7f 6a6b 8h3c+ 2b3c 5i4i B*1i 7h7g 3c7g+ 8g8f "
     "1i3g+ P*3c",
     3, "G*5i"},
    // The first player's king on 6h, short of room behind its own pieces; the second player
    // holds a lance and a bishop.
    {"second player, mate in 5",
     "7g7f 5a6b 8h3c+ 2b3c 2h5h B*6h 5i6h 3c9i+ B*5a 6a5a 6h7h 9i8h 7h6h", 5, "B*9e"},
};

TEST_F(MateTest, FindsForcedMates) {
  for (const MateCase& c : kMates) {
    const Game g = Played(c.moves);
    const Answer a = lib().Think(g.moves());
    EXPECT_EQ(a.result, c.result) << c.name;
    EXPECT_EQ(UsiMove(a.from, a.to, a.promote), c.first) << c.name;
    EXPECT_TRUE(ForcesMate(g, a, c.result)) << c.name;
  }
}

// Whether the pawn drop `drop`, which the rules refuse, would mate: played regardless, it
// leaves the opponent without a legal move.
bool WouldMate(const Game& g, const std::string& drop) {
  const shogi::MoveCode m = shogi::test::UsiMove(drop);
  if (g.IsLegal(m) || shogi::PawnDropMate(g.pos, g.ToMove(), shogi::DestinationOf(m)) != -1) {
    return false;
  }
  shogi::Position after = g.pos;
  shogi::ApplyMove(after, m, g.ToMove());
  static shogi::LegalMoveList replies;
  const shogi::GameRecord r = shogi::test::RecordAt(after, shogi::Opponent(g.ToMove()));
  return shogi::LegalMoves(r, after, replies) == 0;
}

TEST_F(MateTest, PawnDropMateIsNotPlayed) {
  // The second player holds one pawn; P*7f in front of the first player's king on 7g would
  // mate, so it may not be played, and nothing else mates.
  const Game g = Played(
      "4i5h 5a6b 5i6h 3c3d 5g5f 2b7g 8i7g 5c5d 7g8e 6a7b B*5c 6b5c 8h1a+ B*3e 6h7g 3e7i+ 1a2a "
      "S*7e 8e7c");
  ASSERT_TRUE(WouldMate(g, "P*7f"));
  const Answer a = lib().Think(g.moves());
  EXPECT_EQ(a.result, 43);  // an ordinary choice among the 43 legal moves
  EXPECT_NE(UsiMove(a.from, a.to, a.promote), "P*7f");
  EXPECT_TRUE(g.IsLegal(a.from, a.to, a.promote));
}

TEST_F(MateTest, SameMateByLanceDropIsFound) {
  // The second player holds a pawn and a lance; either dropped on 5g mates the king on 5h,
  // but only the lance may do it.
  const Game g = Played(
      "3g3f 8b4b 2h4h 4b5b 1i1h 3c3d 5g5f 2b7g+ 8h7g 5b9b 7g3c+ 2a3c B*1f B*6f 1f3d 6f9i 3d4c+ "
      "9i7g+ 5i5h 3c4e 4c5c");
  ASSERT_TRUE(WouldMate(g, "P*5g"));
  const Answer a = lib().Think(g.moves());
  EXPECT_EQ(a.result, 1);
  EXPECT_EQ(UsiMove(a.from, a.to, a.promote), "L*5g");
  EXPECT_TRUE(ForcesMate(g, a, 1));
}

TEST_F(MateTest, InterposedDropsAreDefences) {
  // 3g3a+ takes the silver and checks the king on 5a along the back rank; the king cannot
  // move and only a piece dropped on 4a saves it, so it is no mate.
  const Game g =
      Played("7g7f 4a5b 8h3c 2b3c 6i6h 3c9i+ 2h3h B*4h 4i4h L*3c B*6b 6a6b 7f7e 3c3g 3h3g 9i8i");
  Game after = g;
  ASSERT_TRUE(after.Play("3g3a+"));
  const auto replies = after.LegalMoves();
  ASSERT_FALSE(replies.empty());
  for (shogi::MoveCode r : replies) ASSERT_TRUE(shogi::IsDrop(r)) << shogi::FormatUsiMove(r);
  const Answer a = lib().Think(g.moves());
  EXPECT_EQ(UsiMove(a.from, a.to, a.promote), "3g3a+");
  EXPECT_GT(a.result, 5);  // a choice among candidates, not a mate
}

TEST_F(MateTest, ResignsWhenMated) {
  const char* kMated[] = {
      // The mate in 1 above, played: the second player is mated.
      "7g7f 6a7b 8h3c 4a4b 3c4b+ 5a6a G*5b",
      // The first player's king on 4h, mated by a dragon on 5g and a knight on 4e.
      "7g7f 1a1b 8h3c 2a3c 5i4h B*5i 6i5i 3c4e B*4b 5a5b 4b5c+ 5b5a 5c6c 8b5b 2h3h 5b5g+",
  };
  for (const char* moves : kMated) {
    const Game g = Played(moves);
    ASSERT_TRUE(g.NoLegalMove()) << moves;
    const Answer a = lib().Think(g.moves());
    EXPECT_EQ(a.result, 0) << moves;
    EXPECT_EQ(a.from, kUntouched) << moves;
    EXPECT_EQ(a.to, kUntouched) << moves;
    EXPECT_EQ(a.promote, kUntouched) << moves;
  }
}

TEST_F(MateTest, ResignsWhenEveryMoveAllowsMate) {
  // The first player's king on 4h is in check from the knight on 5f, with second-player
  // bishops on 6h and 9e: each way out loses to a mate within 5 plies.
  const Game g = Played(
      "3i3h 9c9d 7g7f 9a9b 8h3c+ 2b3c 9i9h B*7g 8i7g 3c7g+ B*6h 7g6g 6h9e 9d9e 7f7e B*6h 5i4h "
      "N*5f");
  const auto moves = g.LegalMoves();
  ASSERT_GE(moves.size(), 2u);
  const Answer a = lib().Think(g.moves());
  EXPECT_EQ(a.result, 0);
  EXPECT_EQ(a.from, kUntouched);
  // The library is right: after each of them the second player has a short mate.
  for (shogi::MoveCode m : moves) {
    Game next = g;
    next.TryMove(m);
    const Answer reply = lib().Think(next.moves());
    EXPECT_TRUE(reply.result == 1 || reply.result == 3 || reply.result == 5)
        << shogi::FormatUsiMove(m) << " gives " << reply.result;
    EXPECT_TRUE(ForcesMate(next, reply, reply.result)) << shogi::FormatUsiMove(m);
  }
}

}  // namespace
}  // namespace sikou_test
