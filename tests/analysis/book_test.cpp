// The Bonanza book built from Tarvel databases and looked up again: every position of the
// games found, mirror images and the second player's moves, which moves each condition
// takes, the order and frequencies of a record's moves, the 32-move limit, the table-only
// book, the lookup's refusals of damaged books, and the builder's messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/book_builder.h"
#include "analysis/book_format.h"
#include "analysis/book_lookup.h"
#include "database/game_database.h"
#include "fixtures/synthetic_database.h"
#include "rules/sfen.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::FromSfen;
using test::PutFileBytes;
using test::UsiMove;

// A game of random legal moves from `start`, `plies` long unless a side is mated first.
GameRecord RandomGame(unsigned seed, int plies, Handicap start = Handicap::kEven) {
  std::mt19937 random(seed);
  GameRecord game;
  test::RandomGame(start, plies, random, game);
  return game;
}

// A random game of exactly `plies` plies from the even position.
GameRecord RandomGameOfLength(int plies) {
  for (unsigned seed = 1;; ++seed) {
    GameRecord g = RandomGame(seed, plies);
    if (RecordMoveCount(g) == plies) return g;
  }
}

GameRecord WithResult(GameRecord g, int result) {
  g.ResultCode = result;
  return g;
}

// Bytes of a little-endian integer.
std::string Le(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}

// A book record: size, key and (book move, frequency) entries.
std::string RecordBytes(std::uint64_t key,
                        const std::vector<std::pair<std::uint16_t, std::uint16_t>>& moves) {
  std::string r = Le(9 + 4 * moves.size(), 1) + Le(key, 8);
  for (auto [m, f] : moves) r += Le(m, 2) + Le(f, 2);
  return r;
}

// A book whose bucket `bucket` holds `bytes`, its table entry saying `size` (their length
// unless given); every other bucket is empty.
std::string BookBytes(int bucket, const std::string& bytes, long size = -1) {
  std::string table;
  std::uint64_t offset = 98304;
  for (int b = 0; b < kBookBuckets; ++b) {
    const std::uint64_t bucket_size = b != bucket ? 0 : size < 0 ? bytes.size() : size;
    table += Le(offset, 4) + Le(bucket_size, 2);
    offset += bucket_size;
  }
  return table + bytes;
}

class BookTest : public test::DatabaseFolderTest {
 protected:
  // "games.mix": the games registered as new games in order.
  void MakeDatabase(const std::vector<GameRecord>& games) {
    std::string message;
    ASSERT_EQ(test::WriteGames(kTarvelFormat, Paths(), Folder(), games, message), 0) << message;
  }
  DatabasePaths Paths() const { return PathsOf("games.mix"); }
  std::string BookPath() const { return Folder() + "book.bin"; }

  // Builds "book.bin" from "games.mix"; returns the report or the message.
  std::string Build(int plies, int condition = kBookAllMoves, bool resign_rule = false) {
    BookBuildOptions options;
    options.Input = Folder() + "games.mix";
    options.Output = BookPath();
    options.Plies = plies;
    options.Condition = condition;
    options.ResignRule = resign_rule;
    BookBuildResult result;
    std::string message;
    return BuildBook(options, result, {}, message) == 0 ? BookBuiltMessage(result) : message;
  }

  // The book's moves for `pos` with `side` to move as "USI:frequency" words, or the message.
  std::string Lookup(const Position& pos, Side side, bool frequencies = false) const {
    std::vector<BookMoveShare> moves;
    std::string message;
    if (LookUpBook(BookPath(), pos, side, moves, message) != 0) return message;
    std::string out;
    for (const BookMoveShare& m : moves) {
      if (!out.empty()) out += ' ';
      out += FormatUsiMove(m.Move);
      if (frequencies) out += ":" + std::to_string(m.Frequency);
    }
    return out;
  }
  std::string Lookup(std::string_view sfen, bool frequencies = false) const {
    const auto p = FromSfen(sfen);
    return Lookup(p.pos, p.side, frequencies);
  }
};

// Every position of the first ten plies of every game is found with the move played there:
// even and handicap games, both sides to move.
TEST_F(BookTest, EveryPositionOfTheFirstTenPliesIsFoundAgain) {
  std::vector<GameRecord> games = {test::GoldenEvenGame(), test::GoldenLanceGame()};
  for (unsigned seed = 1; seed <= 6; ++seed) games.push_back(RandomGame(seed, 20));
  games.push_back(RandomGame(7, 20, Handicap::kTenPieces));
  MakeDatabase(games);
  const std::string report = Build(10);
  ASSERT_TRUE(report.ends_with("局面作成しました。(0)")) << report;
  for (const GameRecord& g : games) {
    for (int ply = g.StartIndex; ply < 10 && ply < RecordEndPly(g); ++ply) {
      const std::string found = Lookup(PositionAt(g, ply), SideOfPly(ply));
      EXPECT_NE((" " + found + " ").find(" " + FormatUsiMove(g.MoveList[ply]) + " "),
                std::string::npos)
          << "ply " << ply << " of " << test::UsiMoves(g) << ": " << found;
    }
  }
}

// A position stored under its mirror image's key comes back mirrored onto the real board;
// the second player's moves come back turned.
TEST_F(BookTest, MirrorImagesAndTheSecondPlayersMovesComeBackOnTheRealBoard) {
  MakeDatabase({test::MakeRecord("startpos", "7g7f 3c3d 2g2f")});
  ASSERT_EQ(Build(10), "3局面作成しました。(0)");
  const struct {
    const char* sfen;
    const char* moves;
  } cases[] = {
      {"startpos", "7g7f"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1", "3c3d"},
      {"lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 1", "2g2f"},
      // Their mirror images, which no game reached.
      {"lnsgkgsnl/1b5r1/ppppppppp/9/9/6P2/PPPPPP1PP/1R5B1/LNSGKGSNL w - 1", "7c7d"},
      {"lnsgkgsnl/1b5r1/pp1pppppp/2p6/9/6P2/PPPPPP1PP/1R5B1/LNSGKGSNL b - 1", "8g8f"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 1",
       "この局面は存在しません。"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.sfen), c.moves) << c.sfen;
}

// Moves by decreasing count, the earlier first among equal counts; frequencies add up to
// 65 535, the shortfall (here an overshoot) going to the last of the smallest; 1, 1, 1 give
// 21 845 each; a single move is 0xFFFF, shown as 100 %.
TEST_F(BookTest, MovesGoByCountAndFrequenciesAddUpTo65535) {
  const struct {
    std::vector<const char*> first_moves;
    const char* expected;
  } cases[] = {
      {{"7g7f", "2g2f", "5g5f"}, "7g7f:21845 2g2f:21845 5g5f:21845"},
      {{"7g7f", "2g2f", "2g2f", "5g5f"}, "2g2f:32768 7g7f:16384 5g5f:16383"},
      {{"5g5f", "7g7f", "7g7f", "7g7f", "7g7f", "7g7f", "7g7f"}, "7g7f:56173 5g5f:9362"},
      {{"7g7f"}, "7g7f:65535"},
  };
  for (const auto& c : cases) {
    std::vector<GameRecord> games;
    for (const char* m : c.first_moves) games.push_back(test::MakeRecord("startpos", m));
    MakeDatabase(games);
    EXPECT_EQ(Build(1), "1局面作成しました。(0)");
    EXPECT_EQ(Lookup("startpos", true), c.expected);
  }
  std::vector<BookMoveShare> moves;
  std::string message;
  ASSERT_EQ(LookUpBook(BookPath(), kInitialPosition, kFirst, moves, message), 0);
  EXPECT_EQ(moves[0].Share, "100");
}

// A position reached with 33 different moves keeps the first 32; the 33rd counts as a
// collision.
TEST_F(BookTest, ThirtyThreeMovesKeepTheFirstThirtyTwo) {
  test::Game game;
  ASSERT_TRUE(game.Play("7g7f 3c3d"));
  const std::vector<std::string> legal = game.Legal();
  ASSERT_GE(legal.size(), 33u);
  std::vector<GameRecord> games;
  std::string first_32;
  for (std::size_t i = 0; i < 33; ++i) {
    games.push_back(test::MakeRecord("startpos", "7g7f 3c3d " + legal[i]));
    if (i < 32) first_32 += (i ? " " : "") + legal[i];
  }
  MakeDatabase(games);
  EXPECT_EQ(Build(3), "3局面作成しました。(1)");
  EXPECT_EQ(Lookup(PositionAt(games[0], 2), kFirst), first_32);
}

// Which moves each condition takes, with and without the resign rule: a game won by the
// first player, one by the second, one without a result; the loser's moves while more than
// 100 plies remain (a full block counts as 356 plies).
TEST_F(BookTest, ConditionsTakeTheWinnersMovesAndTheLosersEarlyOnes) {
  const GameRecord four = test::MakeRecord("startpos", "7g7f 3c3d 2g2f 4c4d");
  const GameRecord three = test::MakeRecord("startpos", "7g7f 3c3d 2g2f");
  const GameRecord long105 = RandomGameOfLength(105);
  const GameRecord full = RandomGameOfLength(256);
  const struct {
    const char* what;
    GameRecord game;
    int plies, condition;
    bool resign_rule;
    std::vector<int> checked, found;
  } cases[] = {
      {"all moves", four, 10, kBookAllMoves, false, {0, 1, 2, 3}, {0, 1, 2, 3}},
      {"TESU cuts", four, 2, kBookAllMoves, false, {0, 1, 2, 3}, {0, 1}},
      {"winner only, no result", four, 10, kBookWinnerOnly, false, {0, 1, 2, 3}, {}},
      {"winner only, first won",
       WithResult(four, kResultFirstWins),
       10,
       kBookWinnerOnly,
       false,
       {0, 1, 2, 3},
       {0, 2}},
      {"winner only, second won later",
       WithResult(four, kResultSecondWinsLater),
       10,
       kBookWinnerOnly,
       false,
       {0, 1, 2, 3},
       {1, 3}},
      {"repetition is no result",
       WithResult(four, kResultRepetition),
       10,
       kBookWinnerOnly,
       false,
       {0, 1, 2, 3},
       {}},
      {"no loser, no result", four, 10, kBookNoLoser, false, {0, 1, 2, 3}, {0, 1, 2, 3}},
      {"no loser, second won",
       WithResult(four, kResultSecondWins),
       10,
       kBookNoLoser,
       false,
       {0, 1, 2, 3},
       {1, 3}},
      {"resign rule: the first player to move resigned",
       four,
       10,
       kBookWinnerOnly,
       true,
       {0, 1, 2, 3},
       {1, 3}},
      {"resign rule: the second player to move resigned",
       three,
       10,
       kBookWinnerOnly,
       true,
       {0, 1, 2},
       {0, 2}},
      {"resign rule keeps a result",
       WithResult(three, kResultSecondWins),
       10,
       kBookWinnerOnly,
       true,
       {0, 1, 2},
       {1}},
      {"loser while 100 remain",
       WithResult(long105, kResultFirstWins),
       10,
       kBookLoserBefore100,
       false,
       {0, 1, 2, 3, 4, 5, 6, 7},
       {0, 1, 2, 3, 4, 6}},
      {"loser in a full block",
       WithResult(full, kResultFirstWins),
       256,
       kBookLoserBefore100,
       false,
       {1, 155, 157, 255},
       {1, 155, 157, 255}},
      {"loser while 100 remain, no result",
       long105,
       10,
       kBookLoserBefore100,
       false,
       {5, 7},
       {5, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeDatabase({c.game});
    (void)Build(c.plies, c.condition, c.resign_rule);
    for (int ply : c.checked) {
      const bool expected = std::find(c.found.begin(), c.found.end(), ply) != c.found.end();
      EXPECT_EQ(Lookup(PositionAt(c.game, ply), SideOfPly(ply)),
                expected ? FormatUsiMove(c.game.MoveList[ply]) : "この局面は存在しません。")
          << "ply " << ply;
    }
  }
}

// TESU 0 writes the table alone: every bucket empty, starting at 98 304.
TEST_F(BookTest, NoPliesWriteTheTableAlone) {
  MakeDatabase({test::GoldenEvenGame()});
  EXPECT_EQ(Build(0), "0局面作成しました。(0)");
  EXPECT_EQ(FileBytes(BookPath()), BookBytes(0, ""));
}

// The record layout: the table entry of the key's bucket, the size byte, the key and the
// move entries.
TEST_F(BookTest, ARecordLiesInItsKeysBucket) {
  MakeDatabase({test::MakeRecord("startpos", "7g7f")});
  EXPECT_EQ(Build(1), "1局面作成しました。(0)");
  const BookKey key = BookKeyOf(kInitialPosition, kFirst);
  const std::uint16_t move = BookMoveOf(UsiMove("7g7f"), kFirst, key.Mirrored);
  EXPECT_EQ(FileBytes(BookPath()),
            BookBytes(BookBucketOf(key.Key), RecordBytes(key.Key, {{move, 0xFFFF}})));
}

TEST_F(BookTest, TheBuilderRefusesWithItsMessagesAndKeepsTheOldBook) {
  MakeDatabase({test::GoldenEvenGame()});
  PutFileBytes(Folder() + "damaged.mix", Le(5, 4) + std::string(36, '\0'));
  PutFileBytes(Folder() + "damaged.mkf", "");
  const struct {
    const char* what;
    std::string input, output;
    std::uint64_t memory_cap;
    std::string message;
  } cases[] = {
      {"short name", "a.mi", "book.bin", kBookBuilderMemoryCap, "Tarvel形式ファイル名が異常です。"},
      {"no extension", "games", "book.bin", kBookBuilderMemoryCap,
       "Tarvel形式ファイル名が異常です。"},
      {"missing", "none.mix", "book.bin", kBookBuilderMemoryCap,
       "Tarvel形式ファイル(DIR/none.mix)が存在しません。\n"},
      {"damaged", "damaged.mix", "book.bin", kBookBuilderMemoryCap, "ファイルに異常があります。"},
      {"too large", "games.mix", "book.bin", 1000, "メモリが不足しています。"},
      {"no folder", "games.mix", "none/book.bin", kBookBuilderMemoryCap,
       "定跡ファイル(DIR/none/book.bin)が作成できません。"},
  };
  PutFileBytes(BookPath(), "old book");
  for (const auto& c : cases) {
    BookBuildOptions options;
    options.Input = c.input.size() > 5 ? Folder() + c.input : c.input;
    options.Output = Folder() + c.output;
    BookBuildResult result;
    std::string message;
    EXPECT_EQ(BuildBook(options, result, {}, message, c.memory_cap), 1) << c.what;
    std::string expected = c.message;
    if (const std::size_t dir = expected.find("DIR/"); dir != std::string::npos)
      expected.replace(dir, 4, Folder());
    EXPECT_EQ(message, expected) << c.what;
    EXPECT_EQ(FileBytes(BookPath()), "old book") << c.what;
  }
}

// A left-right symmetric position has no mirror flag: its moves are read in Bonanza's square
// numbers, so the king's step to 6八 of a book made by Bonanza stays 6八.
TEST_F(BookTest, ASymmetricPositionReadsBonanzasSquares) {
  const auto p = FromSfen("4k4/9/9/9/9/9/9/9/4K4 b G 1");
  const BookKey key = BookKeyOf(p.pos, p.side);
  ASSERT_FALSE(key.Mirrored);
  const int to_6h = 9 * 7 + 3, from_5i = 9 * 8 + 4;  // 9 x (rank - 1) + (9 - file)
  PutFileBytes(BookPath(), BookBytes(BookBucketOf(key.Key),
                                     RecordBytes(key.Key, {{to_6h | from_5i << 7, 0xFFFF}})));
  EXPECT_EQ(Lookup(p.pos, p.side), "5i6h");
}

// Books from elsewhere: each damage ends the lookup with a message, never a crash.
TEST_F(BookTest, TheLookupRefusesDamagedBooks) {
  const BookKey key = BookKeyOf(kInitialPosition, kFirst);
  const std::uint16_t m7g7f = BookMoveOf(UsiMove("7g7f"), kFirst, key.Mirrored);
  const std::uint16_t m2g2f = BookMoveOf(UsiMove("2g2f"), kFirst, key.Mirrored);
  const int ours = BookBucketOf(key.Key);
  std::vector<std::pair<std::uint16_t, std::uint16_t>> many(33, {m7g7f, 1});
  const struct {
    const char* what;
    std::string bytes;
    std::string expected;  // moves as "USI share" or the message
  } cases[] = {
      {"shares", BookBytes(ours, RecordBytes(key.Key, {{m7g7f, 21845}, {m2g2f, 43690}})),
       "7g7f   33.3333333 2g2f   66.6666667"},
      {"the first record of the key",
       BookBytes(ours, RecordBytes(key.Key ^ 1, {{m2g2f, 1}}) +
                           RecordBytes(key.Key, {{m7g7f, 0xFFFF}}) +
                           RecordBytes(key.Key, {{m2g2f, 0xFFFF}})),
       "7g7f 100"},
      {"a move naming no square is left out",
       BookBytes(ours, RecordBytes(key.Key, {{0x7F, 1}, {m2g2f, 1}})), "2g2f   50.0000000"},
      {"33 moves", BookBytes(ours, RecordBytes(key.Key, many)), "この局面は存在しません。"},
      {"frequencies adding up to 0", BookBytes(ours, RecordBytes(key.Key, {{m7g7f, 0}})),
       "この局面は存在しません。"},
      {"a record size below its head",
       BookBytes(ours, std::string(1, '\0') + RecordBytes(key.Key, {{m7g7f, 1}})),
       "この局面は存在しません。"},
      {"a record running past its bucket", BookBytes(ours, RecordBytes(key.Key, {{m7g7f, 1}}), 10),
       "この局面は存在しません。"},
      {"a bucket beyond the end", BookBytes(ours, RecordBytes(key.Key, {{m7g7f, 1}}), 300),
       "fseek errror(BOOK)"},
      {"shorter than the table", "", "fseek errror(BOOK)"},
  };
  for (const auto& c : cases) {
    PutFileBytes(BookPath(), c.bytes);
    std::vector<BookMoveShare> moves;
    std::string message, got;
    if (LookUpBook(BookPath(), kInitialPosition, kFirst, moves, message) != 0) {
      got = message;
    } else {
      for (const BookMoveShare& m : moves)
        got += (got.empty() ? "" : " ") + FormatUsiMove(m.Move) + " " + m.Share;
    }
    std::string expected = c.expected;
    if (const std::size_t at = expected.find("BOOK"); at != std::string::npos)
      expected.replace(at, 4, BookPath());
    EXPECT_EQ(got, expected) << c.what;
  }
  std::vector<BookMoveShare> moves;
  std::string message;
  EXPECT_EQ(LookUpBook(Folder() + "none.bin", kInitialPosition, kFirst, moves, message), 1);
  EXPECT_EQ(message, Folder() + "none.binがアクセス出来ません。");
}

}  // namespace
}  // namespace shogi
