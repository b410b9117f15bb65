// The .JSK opening book: the golden book of the golden Tarvel database, the count hidden in
// the header, scrambling, the 32 766-record cap, the records read back, the reader's look-up
// of a position's moves, and the writer's and reader's messages.
#include "database/jsk_book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "rules/sfen.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

class JskBookTest : public test::DatabaseFolderTest {
 protected:
  std::string BookPath() const { return Folder() + "book.jsk"; }
  // Writes the book of the Tarvel database `paths`; the message, or "" on success.
  std::string Write(const DatabasePaths& paths) const {
    GameDatabase db;
    std::string message;
    if (OpenJskSource(paths, db, message) != 0 || WriteJskBook(db, BookPath(), {}, message) != 0)
      return message;
    return "";
  }
  // A Tarvel database of `count` games without moves, written directly.
  DatabasePaths EmptyGames(int count) const {
    const DatabasePaths paths = PathsOf("many.mix");
    std::string index(40u * (count + 1u), '\0');
    for (int i = 0; i < 4; ++i) index[i] = static_cast<char>(count >> (8 * i));
    PutFileBytes(paths.Index(kTarvelFormat), index);
    PutFileBytes(paths.Moves(kTarvelFormat), std::string(512u * count, '\0'));
    return paths;
  }
  JskBook Read() const {
    JskBook book;
    std::string message;
    EXPECT_EQ(book.Open(BookPath(), message), 0) << message;
    return book;
  }
};

// Written by hand from the layout and the three constants (header drawn with seed 2 +
// kJskSeedKey): a change of a constant, of the scrambling or of the record is caught here.
TEST_F(JskBookTest, TheGoldenDatabaseGivesTheGoldenBook) {
  EXPECT_EQ(Write(test::GoldenPaths(kTarvelFormat)), "");
  EXPECT_EQ(FileBytes(BookPath()), FileBytes(std::string(SHOGI_TEST_DATA) + "/jsk/two_games.jsk"));
  const JskBook book = Read();
  ASSERT_EQ(book.Count(), 2);
  EXPECT_EQ(JskBook::StartOf(book.Record(1)), Handicap::kEven);
  EXPECT_EQ(JskBook::StartOf(book.Record(2)), Handicap::kLance);
  EXPECT_EQ(book.Record(2).Slots[0], (MoveCode{0xFF, 1}));
  EXPECT_EQ(book.Record(2).Slots[1], test::UsiMove("3c3d"));
}

TEST_F(JskBookTest, TheHeaderHidesTheCountAndScramblingTwiceRestores) {
  for (int count : {1, 2, 1000, kJskMaxRecords}) {
    for (std::uint32_t games : {1u, 40000u}) {
      const JskHeader header = MakeJskHeader(count, games);
      EXPECT_EQ(JskRecordCount(header), count) << count << " " << games;
      for (int i : {1, 2, 63, 64, 65, count}) {
        std::uint8_t bytes[kJskRecordBytes], plain[kJskRecordBytes];
        for (std::size_t b = 0; b < kJskRecordBytes; ++b)
          plain[b] = static_cast<std::uint8_t>(b * 7);
        std::memcpy(bytes, plain, sizeof bytes);
        ScrambleJskRecord(bytes, header, i);
        EXPECT_NE(std::memcmp(bytes, plain, sizeof bytes), 0) << i;
        ScrambleJskRecord(bytes, header, i);
        EXPECT_EQ(std::memcmp(bytes, plain, sizeof bytes), 0) << i;
      }
    }
  }
  // A header stating 0 or a negative count is an empty book.
  JskHeader empty = MakeJskHeader(0, 5);
  EXPECT_EQ(JskRecordCount(empty), 0);
  empty.SetWord(kJskCountWord, static_cast<std::uint16_t>(empty.Word(kJskCountWord) - 1));
  EXPECT_EQ(JskRecordCount(empty), -1);
  PutFileBytes(BookPath(), std::string(reinterpret_cast<const char*>(empty.Bytes), 128) +
                               std::string(128, '\1'));
  EXPECT_EQ(Read().Count(), 0);
}

TEST_F(JskBookTest, FortyThousandGamesGiveThe32766RecordsOfTheCap) {
  EXPECT_EQ(Write(EmptyGames(40000)), "");
  EXPECT_EQ(std::filesystem::file_size(BookPath()), 128u * (kJskMaxRecords + 1));
  const JskBook book = Read();
  ASSERT_EQ(book.Count(), kJskMaxRecords);
  for (int i : {1, kJskMaxRecords}) {
    for (const MoveCode& slot : book.Record(i).Slots) EXPECT_EQ(slot, MoveCode{}) << i;
  }
}

// A game of 30 plies fills 30 slots; a longer one its first 64.
TEST_F(JskBookTest, RecordsHoldTheFirst64SlotsOfTheirGames) {
  std::string message;
  ASSERT_EQ(CreateDatabase(kTarvelFormat, PathsOf("games.mix"), message), 0);
  test::Game thirty, seventy;
  for (test::Game* g : {&thirty, &seventy}) {
    const int plies = g == &thirty ? 30 : 70;
    for (int i = 0; i < plies; ++i)
      ASSERT_TRUE(g->TryMove(g->LegalMoves()[(i * 7) % g->LegalMoves().size()]));
    g->record.PlyCount = 0;
    int number = 0;
    ASSERT_EQ(
        RegisterGame(kTarvelFormat, PathsOf("games.mix"), Folder(), g->record, number, message), 0);
  }
  EXPECT_EQ(Write(PathsOf("games.mix")), "");
  const JskBook book = Read();
  ASSERT_EQ(book.Count(), 2);
  for (int i = 0; i < kJskSlots; ++i) {
    EXPECT_EQ(book.Record(1).Slots[i], i < 30 ? thirty.record.MoveList[i] : MoveCode{}) << i;
    EXPECT_EQ(book.Record(2).Slots[i], seventy.record.MoveList[i]) << i;
  }
}

// The computer player's look-up: a record counts only with the same start and when its moves
// reach the position at that ply.
TEST_F(JskBookTest, ARecordsMoveIsFoundWhereItsGameReachesThePosition) {
  EXPECT_EQ(Write(test::GoldenPaths(kTarvelFormat)), "");
  const JskBook book = Read();
  const GameRecord even = test::GoldenEvenGame(), lance = test::GoldenLanceGame();
  const struct {
    const char* what;
    Handicap start;
    int ply;
    Position pos;
    std::vector<MoveCode> moves;
  } cases[] = {
      {"even start", Handicap::kEven, 0, kInitialPosition, {even.MoveList[0]}},
      {"even, ply 3", Handicap::kEven, 3, PositionAt(even, 3), {even.MoveList[3]}},
      {"lance, ply 6", Handicap::kLance, 6, PositionAt(lance, 6), {lance.MoveList[6]}},
      {"the game's end", Handicap::kEven, 5, PositionAt(even, 5), {}},
      {"another position at that ply", Handicap::kEven, 2, PositionAt(lance, 2), {}},
      {"another start", Handicap::kBishop, 1, HandicapPosition(Handicap::kBishop), {}},
      {"a ply beyond the record", Handicap::kEven, 64, kInitialPosition, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(book.MovesAt(c.start, c.ply, c.pos), c.moves) << c.what;
  EXPECT_EQ(book.MoveAt(2, Handicap::kEven, 0, kInitialPosition), std::nullopt);
  EXPECT_EQ(book.MoveAt(3, Handicap::kEven, 0, kInitialPosition), std::nullopt);
}

TEST_F(JskBookTest, StartsTheBookCannotDescribeMatchNothing) {
  JskRecord record{};
  const struct {
    MoveCode slot0;
    std::optional<Handicap> start;
  } cases[] = {{{0xFF, 10}, Handicap::kBareKing},
               {{0xFF, 0}, std::nullopt},
               {{0xFF, 11}, std::nullopt},
               {{52, 61}, Handicap::kEven}};
  for (const auto& c : cases) {
    record.Slots[0] = c.slot0;
    EXPECT_EQ(JskBook::StartOf(record), c.start) << int{c.slot0.from};
  }
}

TEST_F(JskBookTest, WriterAndReaderMessages) {
  const DatabasePaths golden = CopyGolden(kTarvelFormat);
  PutFileBytes(BookPath(), "old book");
  std::filesystem::remove(PathsOf("nomoves.mix").Moves(kTarvelFormat));
  PutFileBytes(PathsOf("nomoves.mix").Index(kTarvelFormat), std::string(40, '\0'));
  const struct {
    const char* what;
    DatabasePaths paths;
    std::string message;
  } cases[] = {
      {"no database", PathsOf("none.mix"), "Tarvelファイルが存在しません。"},
      {"no move file", PathsOf("nomoves.mix"), "Tarvelファイルが存在しません。"},
      {"no games", EmptyGames(0), "変換データが１件も存在しません。"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Write(c.paths), c.message) << c.what;
    EXPECT_EQ(FileBytes(BookPath()), "old book") << c.what;
  }
  GameDatabase db;
  std::string message;
  ASSERT_EQ(OpenJskSource(golden, db, message), 0);
  EXPECT_EQ(WriteJskBook(db, Folder() + "none/book.jsk", {}, message), 1);
  EXPECT_EQ(message, "ファイルが作成できません。");

  JskBook book;
  EXPECT_EQ(book.Open(Folder() + "none.jsk", message), 1);
  EXPECT_EQ(message, "指定ファイルが存在しません。");
  PutFileBytes(BookPath(), std::string(100, '\0'));
  EXPECT_EQ(book.Open(BookPath(), message), 1);
  EXPECT_EQ(message, "ファイルに異常があります。");
  // A count beyond the file: the records that are there whole.
  const std::string golden_book = FileBytes(std::string(SHOGI_TEST_DATA) + "/jsk/two_games.jsk");
  PutFileBytes(BookPath(), golden_book.substr(0, 128 * 2 + 100));
  ASSERT_EQ(book.Open(BookPath(), message), 0);
  EXPECT_EQ(book.Count(), 1);
}

}  // namespace
}  // namespace shogi
