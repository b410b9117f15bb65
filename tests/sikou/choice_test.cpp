// The library's choice of an ordinary move: material scores, the front capture, ties, the
// one-point penalty for going back to an earlier position, and whole games.
#include <gtest/gtest.h>

#include <string>

#include "sikou_test_util.h"

namespace sikou_test {
namespace {

class ChoiceTest : public LibraryTest {};

// The library's answer as USI (values out of range as "from-to+").
std::string Choice(const Game& g) {
  const Answer a = TheLibrary().Think(g.moves());
  return UsiMove(a.from, a.to, a.promote);
}

struct ChoiceCase {
  const char* name;
  const char* moves;
  const char* choice;
};

TEST_F(ChoiceTest, ChoosesByMaterial) {
  const ChoiceCase kCases[] = {
      // All 30 opening moves score 0: the first one generated, the 1-file pawn, is kept.
      {"tie at the start", "", "1g1f"},
      // 7f7e comes first in the list and scores 0 like most moves; the bishop exchange 8h2b+
      // (gain 44, the silver takes back 44) scores 0 too but is brought to the front as the
      // move with the greatest gain, and wins the tie.
      {"front capture wins a tie", "7g7f 3c3d", "8h2b+"},
      // The same for the second player: 2c2d takes the pawn on 2d and loses it to the rook.
      {"front capture for the second player", "2g2f 8c8d 2f2e 8d8e 2e2d", "2c2d"},
      // The second player's rook has come to 5e, where nothing of its own guards it and from
      // where it guards nothing; after 8h5e the second player has no capture at all, so the
      // capture scores its full 40 and beats every quiet move.
      {"undefended rook", "7g7f 8c8d 1g1f 8d8e 9g9f 8b8d 1f1e 8d5d 9f9e 5d5e", "8h5e"},
      // The rook goes to 4d instead, where the 4c pawn guards it: taking it loses the bishop
      // to the pawn (40 - 36 = 4), which still beats every quiet move.
      {"guarded rook", "7g7f 8c8d 1g1f 8d8e 9g9f 8b8d 1f1e 8d4d", "8h4d"},
      // The second player holds the rook it won on 6h. Rook drops into the first player's
      // camp come first, and a drop is scored by what the opponent can then take: R*7i (the
      // first) is lost to the silver on 6h (-40), R*1i is out of reach of everything (0).
      {"drop onto a guarded square", "8g8f 3c3d 2h6h 2b7g 1i1h 7g6h+ 7i6h", "R*1i"},
      // 6g6f takes an undefended rook, after which the second player has no capture: 40.
      // 1b2b+ takes the bishop promoting (gain 44) and lets the second player take a pawn (4):
      // also 40. Brought to the front by its gain, 1b2b+ keeps the tie.
      {"undefended rook ties with an equal score",
       "3g3f 8c8d 2h5h 1a1b 6i7h 8b6b 5i4h 7c7d 5h5i 5c5d 5g5f 1c1d 5f5e 5d5e 5i5e 6b5b 5e5b+ "
       "5a5b R*5d 5b6b 5d7d 1b1c 7d7b 6b5a 7b3b+ R*5h 4i5h 3a3b P*5b 5a5b R*1b R*6f",
       "1b2b+"},
  };
  for (const ChoiceCase& c : kCases) {
    const Game g = Played(c.moves);
    EXPECT_EQ(Choice(g), c.choice) << c.name;
  }
}

TEST_F(ChoiceTest, RepeatingMoveLosesAPoint) {
  // In both games the first player's rook ends on 2e with the same position on the board.
  // 2e2d is the first move of the list that scores 0 (taking the bishop on 2b, brought to the
  // front, loses material); 2e1e, the next one, scores 0 as well.
  // Here the rook was on 2d before, with the second player to move in the very position that
  // 2e2d would bring back: 2e2d drops to -1 and 2e1e is chosen.
  const Game repeating = Played("2g2f 3c3d 2f2e 4a3b 2e2d 2c2d 2h2d 8b7b 2d2e 7b8b");
  // Here the second player's rook stood on 7b while the first player's rook was on 2d, so
  // 2e2d brings back nothing and keeps the tie.
  const Game fresh = Played("2g2f 3c3d 2f2e 8b7b 2e2d 2c2d 2h2d 4a3b 2d2e 7b8b");
  for (int sq = 0; sq < 100; ++sq) ASSERT_EQ(repeating.At(sq), fresh.At(sq)) << sq;
  EXPECT_EQ(Choice(repeating), "2e1e");
  EXPECT_EQ(Choice(fresh), "2e2d");
}

// Plays games in which the library answers every move of `library_side` (both sides when
// it is 2) and a seeded random legal move is played for the other side. Every answer must be
// legal, and when the library gives up with legal moves left, each of them must allow a
// forced mate.
void PlayGames(int library_side, int games, int max_plies) {
  Random rng{0xC0FFEEull + static_cast<std::uint64_t>(library_side)};
  for (int game = 0; game < games; ++game) {
    Game g;
    while (g.ply() < max_plies) {
      const int side = g.ply() % 2;
      if (library_side == 2 || side == library_side) {
        const Answer a = TheLibrary().Think(g.moves());
        if (a.result == 0) {
          for (shogi::MoveCode m : g.LegalMoves()) {
            Game next = g;
            next.TryMove(m);
            const Answer reply = TheLibrary().Think(next.moves());
            EXPECT_TRUE(ForcesMate(next, reply, 5))
                << "gave up, but " << shogi::FormatUsiMove(m) << " holds\n"
                << g.Diagram() << g.Usi();
          }
          break;
        }
        ASSERT_TRUE(g.PlayAnswer(a))
            << "illegal answer " << UsiMove(a.from, a.to, a.promote) << "\n"
            << g.Diagram() << g.Usi();
      } else {
        const auto moves = g.LegalMoves();
        if (moves.empty()) break;
        ASSERT_TRUE(g.TryMove(moves[rng.Below(static_cast<int>(moves.size()))]));
      }
    }
  }
}

TEST_F(ChoiceTest, SelfPlayAnswersAreLegal) {
  PlayGames(2, 2, 160);
}

TEST_F(ChoiceTest, AnswersAgainstRandomPlayAreLegal) {
  PlayGames(0, 3, 120);
  PlayGames(1, 3, 120);
}

}  // namespace
}  // namespace sikou_test
