// The Bonanza book format: the random tables against Bonanza's values, the book's square
// numbering, the position key (the mover's view, hands, the mirror) and the book move.
#include "analysis/book_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/mate_movegen.h"
#include "rules/move_rules.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::UsiMove;

TEST(BookTablesTest, TheFirstValueDrawnIsBonanzas) {
  EXPECT_EQ(BookTables().Board[0][kPawn][0], 0xd091bb5c22ae9ef6u);
}

#ifdef SHOGI_BONANZA_KEYS
// The board tables in the data file's order.
constexpr int kListedBoardTypes[] = {
    kPawn, kLance,        kKnight,        kSilver,         kGold,           kBishop, kRook,
    kKing, kPromotedPawn, kPromotedLance, kPromotedKnight, kPromotedSilver, kHorse,  kDragon};

// Every one of the 2 344 values, table by table as the data file lists them: the mover's
// boards, the other side's, then the hands (pawn 18, lance .. gold 4, bishop and rook 2).
TEST(BookTablesTest, EveryTableHoldsBonanzasValues) {
  std::ifstream file(SHOGI_BONANZA_KEYS);
  ASSERT_TRUE(file) << SHOGI_BONANZA_KEYS;
  std::vector<std::uint64_t> listed;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line[0] != '#') listed.push_back(std::stoull(line, nullptr, 16));
  }
  ASSERT_EQ(listed.size(), 2344u);
  const BookKeyTables& t = BookTables();
  std::size_t i = 0;
  for (int side = 0; side < 2; ++side) {
    for (int type : kListedBoardTypes) {
      for (int sq = 0; sq < kBookSquares; ++sq, ++i)
        ASSERT_EQ(t.Board[side][type][sq], listed[i])
            << "side " << side << " type " << type << " square " << sq;
    }
  }
  for (int side = 0; side < 2; ++side) {
    for (int type = kPawn; type <= kRook; ++type) {
      for (int n = 0; n < kBookHandCounts[type]; ++n, ++i)
        ASSERT_EQ(t.Hand[side][type][n], listed[i])
            << "side " << side << " hand " << type << " " << n;
    }
  }
}
#endif

TEST(BookSquareTest, BonanzasNumberingAndItsMirror) {
  const struct {
    int file, rank, book, mirror;
  } cases[] = {{9, 1, 0, 8},   {1, 1, 8, 0},   {5, 5, 40, 40},
               {9, 9, 72, 80}, {1, 9, 80, 72}, {7, 6, 47, 51}};
  for (const auto& c : cases) {
    const Square sq = SquareOf(c.file, c.rank);
    EXPECT_EQ(BookSquareOf(sq), c.book) << c.file << c.rank;
    EXPECT_EQ(MirrorBookSquare(c.book), c.mirror) << c.file << c.rank;
  }
  for (Square sq = 1; sq <= kSquareCount; ++sq) EXPECT_EQ(SquareOfBookSquare(BookSquareOf(sq)), sq);
}

// The key sees the position from the side to move: the hand and board tables it takes.
TEST(BookKeyTest, TheMoversPiecesTakeTheMoversTables) {
  const BookKeyTables& t = BookTables();
  const char* kKings = "4k4/9/9/9/9/9/9/9/4K4";  // symmetric: no mirror in any row
  const struct {
    const char* what;
    std::string with, without;
    std::uint64_t difference;
  } cases[] = {
      {"mover's pawn in hand", std::string(kKings) + " b P 1", std::string(kKings) + " b - 1",
       t.Hand[0][kPawn][0]},
      {"second player to move with two pawns", std::string(kKings) + " w 2p 1",
       std::string(kKings) + " w p 1", t.Hand[0][kPawn][1] ^ t.Hand[0][kPawn][0]},
      {"the other side's gold", std::string(kKings) + " b g 1", std::string(kKings) + " b - 1",
       t.Hand[1][kGold][0]},
      {"mover's rook pair", std::string(kKings) + " w 2r 1", std::string(kKings) + " w - 1",
       t.Hand[0][kRook][1]},
      {"mover's pawn on 5五", "4k4/9/9/9/4P4/9/9/9/4K4 b - 1", std::string(kKings) + " b - 1",
       t.Board[0][kPawn][40]},
      {"the other side's horse on 5五 (turned to 5五)", "4k4/9/9/9/4+B4/9/9/9/4K4 w - 1",
       std::string(kKings) + " w - 1", t.Board[1][kHorse][40]},
      {"second player's dragon on 5二 turned to 5八", "4k4/4+r4/9/9/9/9/9/9/4K4 w - 1",
       std::string(kKings) + " w - 1", t.Board[0][kDragon][BookSquareOf(SquareOf(5, 8))]},
  };
  for (const auto& c : cases) {
    const auto a = FromSfen(c.with), b = FromSfen(c.without);
    const BookKey ka = BookKeyOf(a.pos, a.side), kb = BookKeyOf(b.pos, b.side);
    EXPECT_FALSE(ka.Mirrored || kb.Mirrored) << c.what;
    EXPECT_EQ(ka.Key ^ kb.Key, c.difference) << c.what;
  }
}

// A position and its mirror image share a key with opposite flags; a symmetric position
// keeps flag 0; the second player's position turned to the first player's is the same key.
TEST(BookKeyTest, MirrorImagesAndTurnedPositionsShareTheirKey) {
  const struct {
    const char* a;
    const char* b;
    bool flags_differ;
  } cases[] = {
      {"4k4/9/9/9/9/9/9/9/3K5 b - 1", "4k4/9/9/9/9/9/9/9/5K3 b - 1", true},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
       "lnsgkgsnl/1b5r1/ppppppppp/9/9/6P2/PPPPPP1PP/1R5B1/LNSGKGSNL w - 1", true},
      {"4k4/9/9/9/9/9/9/9/4K4 b - 1", "4k4/9/9/9/9/9/9/9/4K4 b - 1", false},
  };
  for (const auto& c : cases) {
    const auto a = FromSfen(c.a), b = FromSfen(c.b);
    const BookKey ka = BookKeyOf(a.pos, a.side), kb = BookKeyOf(b.pos, b.side);
    EXPECT_EQ(ka.Key, kb.Key) << c.a;
    EXPECT_EQ(ka.Mirrored != kb.Mirrored, c.flags_differ) << c.a;
  }
  EXPECT_FALSE(BookKeyOf(FromSfen("4k4/9/9/9/9/9/9/9/4K4 b - 1").pos, kFirst).Mirrored);
  // Turning the board and handing the move over changes nothing.
  for (const char* sfen :
       {"lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
        "8l/1r3kg2/p3ppnp1/2pp2p1p/9/P1PS1P2P/1P1P+b1P2/2G1G2R1/LN1K3NL b BSNPgs2p 1"}) {
    const auto p = FromSfen(sfen);
    const BookKey turned = BookKeyOf(TurnPosition(p.pos), Opponent(p.side));
    EXPECT_EQ(BookKeyOf(p.pos, p.side).Key, turned.Key) << sfen;
    EXPECT_EQ(BookKeyOf(p.pos, p.side).Mirrored, turned.Mirrored) << sfen;
  }
}

TEST(BookMoveTest, MovesAreStoredFromTheMoverWithBonanzasSquares) {
  const struct {
    const char* usi;
    Side side;
    bool mirrored;
    std::uint16_t stored;
  } cases[] = {
      {"7g7f", kFirst, false, 47 | 56 << 7},  {"7g7f", kFirst, true, 51 | 60 << 7},
      {"3c3d", kSecond, false, 47 | 56 << 7}, {"P*5e", kFirst, false, 40 | 81 << 7},
      {"R*1a", kSecond, true, 80 | 87 << 7},  {"8h2b+", kFirst, false, 16 | 64 << 7 | 1 << 14},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BookMoveOf(UsiMove(c.usi), c.side, c.mirrored), c.stored) << c.usi;
    MoveCode back;
    ASSERT_TRUE(MoveOfBookMove(c.stored, c.side, c.mirrored, back)) << c.usi;
    EXPECT_EQ(back, UsiMove(c.usi)) << c.usi;
  }
  // Fields that name no square or piece.
  for (std::uint16_t stored : {81, 0x7F, 40 | 88 << 7, 40 | 81 << 7 | 1 << 14, 0x8000 | 40}) {
    MoveCode m;
    EXPECT_FALSE(MoveOfBookMove(stored, kFirst, false, m)) << stored;
  }
}

TEST(BookMoveTest, EveryLegalMoveComesBackWhateverTheSideAndMirror) {
  for (const char* sfen :
       {"startpos", "8l/1r3kg2/p3ppnp1/2pp2p1p/9/P1PS1P2P/1P1P+b1P2/2G1G2R1/LN1K3NL b BSNPgs2p 1",
        "8l/1r3kg2/p3ppnp1/2pp2p1p/9/P1PS1P2P/1P1P+b1P2/2G1G2R1/LN1K3NL w BSNPgs2p 1"}) {
    const auto p = FromSfen(sfen);
    GameRecord record = test::RecordAt(p.pos, p.side);
    static LegalMoveList legal;
    ASSERT_GT(LegalMoves(record, p.pos, legal), 0);
    for (int i = 0; i < legal.count; ++i) {
      for (bool mirrored : {false, true}) {
        MoveCode back;
        ASSERT_TRUE(
            MoveOfBookMove(BookMoveOf(legal.Move(i), p.side, mirrored), p.side, mirrored, back));
        EXPECT_EQ(back, legal.Move(i)) << sfen << " " << FormatUsiMove(legal.Move(i));
      }
    }
  }
}

}  // namespace
}  // namespace shogi
