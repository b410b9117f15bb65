// Move generation and the rule tests: perft, pawn-drop mate, two pawns, promotion,
// positions without a first-player king, stalemate and the position check.
#include "rules/move_rules.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "rules/attack.h"
#include "rules/perft.h"
#include "tests/support/game_builder.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Counts heap allocations so that a test can show generation allocates nothing. (g++ takes the
// free() of a replaced operator delete for a mismatch with the operator new it inlined.)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace shogi {
namespace {

using test::Game;

TEST(Perft, StandardFigures) {
  const std::uint64_t expected[] = {1, 30, 900, 25470, 719731};
  for (int depth = 0; depth <= 4; ++depth) {
    Game g("startpos");
    EXPECT_EQ(Perft(g.record, g.pos, depth), expected[depth]) << "depth " << depth;
  }
}

TEST(Perft, LeavesTheRecordAsItWas) {
  Game g("startpos");
  ASSERT_TRUE(g.Play("7g7f"));
  GameRecord before = g.record;
  Perft(g.record, g.pos, 3);
  EXPECT_EQ(std::memcmp(&before, &g.record, sizeof(GameRecord)), 0);
}

TEST(LegalMoves, GenerationAllocatesNothing) {
  Game g("startpos");
  ASSERT_TRUE(g.Play("7g7f 3c3d 8h2b+"));
  static LegalMoveList list;
  long before = g_allocations;
  int n = LegalMoves(g.record, g.pos, list);
  Position copy = g.pos;
  ApplyMove(copy, list.origin[0], kSecond, list.destination[0], list.promote[0]);
  EXPECT_GT(n, 0);
  EXPECT_EQ(g_allocations - before, 0);
}

// The pawn drop on 1二 against a king on 1一, in positions that differ in one defence.
TEST(LegalMoves, PawnDropMateOnlyWhenNothingHelps) {
  struct Case {
    const char* name;
    const char* sfen;
    bool drop_listed;
  };
  const Case cases[] = {
      // 2二 and the pawn covered by the gold on 2三, 2一 by the silver on 3二.
      {"mate", "8k/6S2/7G1/9/9/9/9/9/4K4 b P 1", false},
      {"a defender can take", "7gk/6S2/7G1/9/9/9/9/9/4K4 b P 1", true},
      // The gold on 2一 is pinned by the rook on 3一, so only flight or the king could help.
      {"only a pinned defender", "6Rgk/9/7G1/9/9/9/9/9/4K4 b P 1", false},
      // Nothing guards 1二: the king takes the pawn.
      {"the king can take", "8k/6S2/9/6N2/9/9/9/9/4K4 b P 1", true},
      // Without the silver, 2一 is free.
      {"the king can flee", "8k/9/7G1/9/9/9/9/9/4K4 b P 1", true},
      // The same pattern for the second player dropping on 9八 against a king on 9九.
      {"mate by the second player", "4k4/9/9/9/9/9/1g7/2s6/K8 w p 1", false},
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    std::string drop = g.record.PlyCount == 0 ? "P*1b" : "P*9h";
    EXPECT_EQ(g.IsLegal(drop), c.drop_listed) << c.name;
    int square = g.record.PlyCount == 0 ? 10 : 72;
    EXPECT_EQ(PawnDropMate(g.pos, SideOfPly(g.record.PlyCount), square), c.drop_listed ? 0 : -1)
        << c.name;
  }
  // A mating pawn push is legal.
  Game push("8k/6S2/7GP/9/9/9/9/9/4K4 b - 1");
  EXPECT_TRUE(push.IsLegal("1c1b"));
  EXPECT_TRUE(push.IsLegal("1c1b+"));
}

TEST(LegalMoves, TwoPawnRuleIgnoresPromotedPawns) {
  Game blocked("4k4/9/9/9/4P4/9/9/9/K8 b P 1");
  Game free_file("4k4/9/9/9/4+P4/9/9/9/K8 b P 1");
  EXPECT_FALSE(blocked.IsLegal("P*5c"));
  EXPECT_TRUE(blocked.IsLegal("P*4c"));
  EXPECT_TRUE(free_file.IsLegal("P*5c"));
  EXPECT_FALSE(free_file.IsLegal("P*5a"));  // a pawn never goes onto the last rank
}

// Which promotion forms a piece gets, by piece and rank, for both sides.
TEST(LegalMoves, ForcedAndOptionalPromotion) {
  struct Case {
    const char* sfen;
    const char* move;
    bool plain, promoting;
  };
  const Case cases[] = {
      {"k8/9/9/4P4/9/9/9/9/K8 b - 1", "5d5c", true, true},   // pawn into the zone
      {"k8/9/9/9/4P4/9/9/9/K8 b - 1", "5e5d", true, false},  // pawn outside
      {"k8/4P4/9/9/9/9/9/9/K8 b - 1", "5b5a", false, true},  // pawn to the last rank
      {"k8/9/9/9/4L4/9/9/9/K8 b - 1", "5e5a", false, true},  // lance to the last rank
      {"k8/9/9/9/4L4/9/9/9/K8 b - 1", "5e5b", true, true},
      {"k8/9/9/9/4L4/9/9/9/K8 b - 1", "5e5d", true, false},
      {"k8/9/9/9/4N4/9/9/9/K8 b - 1", "5e4c", true, true},   // knight to rank 3
      {"k8/9/9/4N4/9/9/9/9/K8 b - 1", "5d6b", false, true},  // knight to rank 2
      {"k8/9/4S4/9/9/9/9/9/K8 b - 1", "5c4d", true, true},   // silver out of the zone
      {"k8/9/9/4S4/9/9/9/9/K8 b - 1", "5d4e", true, false},
      {"k8/9/4B4/9/9/9/9/9/K8 b - 1", "5c2f", true, true},   // bishop out of the zone
      {"k8/9/9/9/9/9/9/4R4/K8 b - 1", "5h5c", true, true},   // rook into the zone
      {"k8/9/4G4/9/9/9/9/9/K8 b - 1", "5c5b", true, false},  // gold never promotes
      {"k8/9/9/9/9/4p4/9/9/K8 w - 1", "5f5g", true, true},   // second player's pawn
      {"k8/9/9/9/9/9/9/4p4/K8 w - 1", "5h5i", false, true},
      {"k8/9/9/9/9/4n4/9/9/K8 w - 1", "5f4h", false, true},
      {"k8/9/9/9/9/4n4/9/9/1K7 w - 1", "5f6h", false, true},
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    EXPECT_EQ(g.IsLegal(c.move), c.plain) << c.sfen << " " << c.move;
    EXPECT_EQ(g.IsLegal(std::string(c.move) + "+"), c.promoting) << c.sfen << " " << c.move << "+";
  }
}

// A piece is never dropped where it could not move again: lances not on the far rank,
// knights not on the two far ranks; for either side.
TEST(LegalMoves, DropsOnlyWhereThePieceCanMove) {
  constexpr const char* kFirstHolds = "k8/9/9/9/9/9/9/9/K8 b LN 1";
  constexpr const char* kSecondHolds = "k8/9/9/9/9/9/9/9/K8 w ln 1";
  struct Case {
    const char* sfen;
    const char* drop;
    bool legal;
  } cases[] = {
      {kFirstHolds, "L*5a", false},  {kFirstHolds, "L*5b", true},   {kFirstHolds, "N*5b", false},
      {kFirstHolds, "N*5c", true},   {kSecondHolds, "L*5i", false}, {kSecondHolds, "L*5h", true},
      {kSecondHolds, "N*5h", false}, {kSecondHolds, "N*5g", true},
  };
  for (const Case& c : cases) EXPECT_EQ(Game(c.sfen).IsLegal(c.drop), c.legal) << c.drop;
}

TEST(LegalMoves, PlainFormBeforePromotingForm) {
  Game g("k8/9/9/4P4/9/9/9/9/8K b - 1");
  auto moves = g.Legal();
  auto plain = std::find(moves.begin(), moves.end(), "5d5c");
  auto promoted = std::find(moves.begin(), moves.end(), "5d5c+");
  ASSERT_NE(plain, moves.end());
  ASSERT_NE(promoted, moves.end());
  EXPECT_EQ(promoted - plain, 1);
}

TEST(LegalMoves, NoFirstPlayerKingMeansNoSelfCheckFilter) {
  // A silver in front of the second player's rook: with no first-player king it may go
  // anywhere; with a king behind it, it is pinned to the file.
  Game problem("k3r4/9/9/9/4S4/9/9/9/9 b - 1");
  EXPECT_EQ(problem.Legal().size(), 5u);
  Game pinned("k3r4/9/9/9/4S4/9/9/9/4K4 b - 1");
  EXPECT_TRUE(pinned.IsLegal("5e5d"));
  EXPECT_FALSE(pinned.IsLegal("5e4d"));
  EXPECT_FALSE(pinned.IsLegal("5e4f"));
}

TEST(LegalMoves, MateAndStalemateLeaveNoMoves) {
  Game stalemate("8k/9/6NG1/9/9/9/9/9/4K4 w - 1");
  EXPECT_FALSE(InCheck(stalemate.pos, kSecond));
  EXPECT_TRUE(stalemate.Legal().empty());
  Game mate("8k/7G1/7G1/9/9/9/9/9/4K4 w - 1");
  EXPECT_TRUE(InCheck(mate.pos, kSecond));
  EXPECT_TRUE(mate.Legal().empty());
}

TEST(LegalMoves, KingCaptureIsAcceptedAtOnce) {
  // The second player's king stands en prise; taking it is listed even though it leaves
  // the first player's own king attacked.
  Game g("4k4/9/9/9/4R4/9/9/9/4K3r b - 1");
  EXPECT_TRUE(g.IsLegal("5e5a"));
}

TEST(IsPlayableMove, BoardMovesFollowTheGeneratorDropsNeedAHeldPiece) {
  struct Case {
    const char* sfen;  // its side to move plays the move
    const char* move;  // USI
    bool playable;
  };
  const Case cases[] = {
      {"startpos", "7g7f", true},
      {"startpos", "5e5d", false},                      // nothing on the origin
      {"startpos", "3c3d", false},                      // the opponent's pawn
      {"startpos", "7g7e", false},                      // not a pawn's step
      {"startpos", "2h2g", false},                      // onto an own piece
      {"startpos", "7g7f+", false},                     // no promotion outside the zone
      {"startpos", "G*5e", false},                      // nothing in hand
      {"4k4/9/9/9/9/9/9/9/3KR4 b - 1", "5i5a", false},  // takes the king
      {"4k4/9/9/9/9/9/9/9/3KR4 b - 1", "5i5b", true},
      {"4k4/9/9/9/9/9/9/9/3KR4 b - 1", "5i5b+", true},
      {"4k4/9/1N7/9/9/9/9/9/4K4 b - 1", "8c9a", false},  // a knight must promote here
      {"4k4/9/1N7/9/9/9/9/9/4K4 b - 1", "8c9a+", true},
      {"4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5a", false},  // onto a piece
      {"4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b", true},
      {"4k4/9/9/9/9/9/9/9/4K4 w - 1", "5i5h", false},  // the other side's king
      {"4k4/9/9/9/9/9/9/9/4K4 w - 1", "5a5b", true},
      {"4k4/9/9/9/9/9/9/9/4K4 w p 1", "P*5b", true},      // the second player's hand
      {"4k4/9/9/9/9/9/4P4/9/4K4 b P 1", "P*5e", true},    // two pawns in a file: a foul
      {"4k4/9/9/9/4r4/9/9/4G4/4K4 b - 1", "5h4g", true},  // leaves the king in check
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    MoveCode m;
    ASSERT_TRUE(ParseUsiMove(c.move, m)) << c.move;
    EXPECT_EQ(IsPlayableMove(g.pos, SideOfPly(g.record.PlyCount), m), c.playable)
        << c.sfen << " " << c.move;
  }
  Game g("startpos");
  EXPECT_FALSE(IsPlayableMove(g.pos, kFirst, MoveCode{}));  // not a move at all
  EXPECT_FALSE(IsPlayableMove(g.pos, kFirst, EncodeMove(DropOrigin(kKing), 50, 0)));
}

TEST(AttackedBy, FindsSlidersKnightsAndSteps) {
  Game g("4k4/9/9/9/9/9/9/9/4K4 b - 1");
  Position& pos = g.pos;
  pos.Board[SquareOf(5, 8)] = 0;
  pos.Board[SquareOf(1, 1)] = -kRook;  // attacks along rank 1 and file 1
  EXPECT_EQ(AttackedBy(pos, SquareOf(1, 9), kSecond), SquareOf(1, 1));
  pos.Board[SquareOf(1, 5)] = kPawn;  // blocks the file
  EXPECT_EQ(AttackedBy(pos, SquareOf(1, 9), kSecond), 0);
  pos.Board[SquareOf(4, 7)] = -kKnight;  // a second-player knight on 4七 attacks 5九 and 3九
  EXPECT_EQ(AttackedBy(pos, SquareOf(5, 9), kSecond), SquareOf(4, 7));
  EXPECT_EQ(AttackedBy(pos, SquareOf(3, 9), kSecond), SquareOf(4, 7));
  pos.Board[SquareOf(9, 9)] = kLance;  // a lance attacks forward only
  EXPECT_EQ(AttackedBy(pos, SquareOf(9, 2), kFirst), SquareOf(9, 9));
  EXPECT_EQ(AttackedBy(pos, SquareOf(8, 9), kFirst), 0);  // a lance has no sideways step
  Square all[16];
  pos.Board[SquareOf(6, 8)] = kGold;
  EXPECT_EQ(AttackersOf(pos, SquareOf(5, 8), kFirst, all), 2);  // king and gold
}

TEST(CheckPosition, EveryResult) {
  struct Case {
    const char* sfen;
    bool both_kings;
    PositionCheck expected;
  };
  const Case cases[] = {
      {"startpos", true, PositionCheck::kPlayable},
      {"4k4/9/9/9/9/9/9/9/9 b G 1", false, PositionCheck::kPlayable},  // mate problem
      {"4k4/9/9/9/9/9/9/9/9 b G 1", true, PositionCheck::kMissingKing},
      {"9/9/9/9/9/9/9/9/4K4 b G 1", false, PositionCheck::kMissingKing},
      {"P3k4/9/9/9/9/9/9/9/4K4 b - 1", true, PositionCheck::kDeadPiece},
      {"4k4/N8/9/9/9/9/9/9/4K4 b - 1", true, PositionCheck::kDeadPiece},
      {"4k4/9/9/9/9/9/9/n8/4K4 b - 1", true, PositionCheck::kDeadPiece},
      {"4k4/9/9/9/9/9/9/9/l3K4 b - 1", true, PositionCheck::kDeadPiece},
      {"4k4/9/9/9/9/9/9/N8/4K4 b - 1", true, PositionCheck::kPlayable},  // knight with room
      {"4k4/9/9/P8/9/P8/9/9/4K4 b - 1", true, PositionCheck::kTwoPawns},
      {"4k4/9/p8/9/9/p8/9/9/4K4 b - 1", true, PositionCheck::kTwoPawns},
      {"4k4/9/9/+P8/9/P8/9/9/4K4 b - 1", true, PositionCheck::kPlayable},
      {"4k4/9/9/9/4R4/9/9/9/4K4 b - 1", true, PositionCheck::kOpponentInCheck},
      {"4k4/9/9/9/4R4/9/9/9/4K4 w - 1", true, PositionCheck::kPlayable},  // in check, to move
  };
  for (const Case& c : cases) {
    Game g(c.sfen);
    EXPECT_EQ(CheckPosition(g.pos, SideOfPly(g.record.PlyCount), c.both_kings), c.expected)
        << c.sfen;
  }
}

}  // namespace
}  // namespace shogi
