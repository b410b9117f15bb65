// Database files on disk: paths, creating, checking a pair, reading games, registering new
// games and over old ones, against the hand-written golden files of tests/data.
#include "database/game_database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "tests/database/database_test_util.h"
#include "tests/records/record_compare.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

// The golden pair of each format.
struct Golden {
  const DatabaseFormat& format;
  std::string index, moves;
};
Golden GoldenOf(const DatabaseFormat& format) {
  const DatabasePaths paths = test::GoldenPaths(format);
  return {format, paths.Index(format), paths.Moves(format)};
}
const Golden kGolden[] = {GoldenOf(kKisenFormat), GoldenOf(kTarvelFormat)};

class GameDatabaseTest : public test::DatabaseFolderTest {
 protected:
  using DatabaseFolderTest::CopyGolden;
  DatabasePaths CopyGolden(const Golden& g) const { return CopyGolden(g.format); }
};

TEST(DatabasePathsTest, TheChosenNameGivesTheBasePathAndTheCaseOfTheExtensions) {
  struct Case {
    const char* chosen;
    const char* index;  // nullptr: "ファイル名に異常があります。"
    const char* moves;
  } cases[] = {
      {"games.idx", "games.idx", "games.kif"},
      {"dir/GAMES.IDX", "dir/GAMES.IDX", "dir/GAMES.KIF"},
      {"a.idx", "a.idx", "a.kif"},
      {"x.Idx", "x.IDX", "x.KIF"},
      {"y.TxT", "y.IDX", "y.KIF"},
      {".idx", nullptr, nullptr},
      {"games", nullptr, nullptr},
      {"games.db", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    DatabaseSelection selection;
    selection.CurrentRecordNo = selection.SearchCount = 5;
    selection.Paths.Base = "old";
    std::string message;
    const int rc = ChooseDatabase(c.chosen, selection, message);
    EXPECT_EQ(selection.CurrentRecordNo + selection.SearchCount, 0) << c.chosen;
    EXPECT_EQ(rc, c.index == nullptr ? 1 : 0) << c.chosen;
    if (c.index == nullptr) {
      EXPECT_EQ(message, kMessageBadFileName);
      EXPECT_FALSE(selection.Chosen()) << c.chosen;
      continue;
    }
    EXPECT_EQ(selection.Paths.Index(kKisenFormat), c.index);
    EXPECT_EQ(selection.Paths.Moves(kKisenFormat), c.moves);
  }
  EXPECT_EQ(FormatOfIndexPath("a/b.IDX"), &kKisenFormat);
  EXPECT_EQ(FormatOfIndexPath("b.mix"), &kTarvelFormat);
  EXPECT_EQ(FormatOfIndexPath("b.kif"), nullptr);
  EXPECT_EQ(FormatOfIndexPath("bmix"), nullptr);
}

TEST_F(GameDatabaseTest, RegisteredGamesAreTheGoldenBytes) {
  WriteGoldenLists();
  for (const Golden& g : kGolden) {
    const DatabasePaths paths =
        PathsOf(g.format.Kind == DatabaseKind::kKisen ? "new.idx" : "new.mix");
    std::string message;
    ASSERT_EQ(CreateDatabase(g.format, paths, message), 0) << message;
    EXPECT_EQ(FileBytes(paths.Index(g.format)), std::string(g.format.IndexRecordBytes, '\0'));
    EXPECT_EQ(FileBytes(paths.Moves(g.format)), "");
    int number = 0;
    ASSERT_EQ(
        RegisterGame(g.format, paths, Folder(), test::GoldenEvenGame(), number, message), 0)
        << message;
    EXPECT_EQ(number, 1);
    number = 0;
    ASSERT_EQ(
        RegisterGame(g.format, paths, Folder(), test::GoldenLanceGame(), number, message),
        0)
        << message;
    EXPECT_EQ(number, 2);
    EXPECT_EQ(FileBytes(paths.Index(g.format)), FileBytes(g.index)) << g.format.Caption;
    EXPECT_EQ(FileBytes(paths.Moves(g.format)), FileBytes(g.moves)) << g.format.Caption;
  }
}

TEST_F(GameDatabaseTest, OverwritingAGameKeepsTheWordsNotInterpreted) {
  WriteGoldenLists();
  for (const Golden& g : kGolden) {
    const DatabasePaths paths = CopyGolden(g);
    std::string index = FileBytes(g.index);
    const std::size_t record1 = g.format.IndexRecordBytes, record2 = 2 * record1;
    if (g.format.Kind == DatabaseKind::kKisen) {
      for (std::size_t i : {18u, 19u, 22u, 25u, 31u}) index[record1 + i] = static_cast<char>(i);
    }
    PutFileBytes(paths.Index(g.format), index);
    int number = 1;
    std::string message;
    ASSERT_EQ(
        RegisterGame(g.format, paths, Folder(), test::GoldenLanceGame(), number, message),
        0)
        << message;
    EXPECT_EQ(number, 1);
    // Game 1 now holds game 2's fields and moves, with its own uninterpreted words.
    std::string expected = index;
    for (std::size_t i = 0; i < record1; ++i) {
      const bool kept = g.format.Kind == DatabaseKind::kKisen && (i == 18 || i == 19 || i >= 22);
      if (!kept) expected[record1 + i] = index[record2 + i];
    }
    EXPECT_EQ(FileBytes(paths.Index(g.format)), expected) << g.format.Caption;
    const std::string moves = FileBytes(g.moves);
    EXPECT_EQ(FileBytes(paths.Moves(g.format)), moves.substr(512) + moves.substr(512))
        << g.format.Caption;
  }
}

TEST_F(GameDatabaseTest, RegistrationRefusalsChangeNothing) {
  const GameRecord set_up = test::MakeRecord("4k4/9/9/9/9/9/9/9/4K4 b - 1", "5i5h");
  const GameRecord eight =
      test::MakeRecord("3gkg3/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1");
  struct Case {
    const char* name;
    const Golden& golden;
    const GameRecord& record;
    int number;
    const char* message;
  } cases[] = {
      {"a set-up position", kGolden[0], set_up, 0, kMessageNotSavable},
      {"a set-up position", kGolden[1], set_up, 1, kMessageNotSavable},
      {"eight pieces (Tarvel only)", kGolden[0], eight, 0, kMessageNotSavable},
      {"beyond the count", kGolden[1], test::GoldenEvenGame(), 3,
       kMessageNumberBeyondCount},
      {"a negative number", kGolden[0], test::GoldenEvenGame(), -1,
       kMessageNumberBeyondCount},
  };
  for (const Case& c : cases) {
    const DatabasePaths paths = CopyGolden(c.golden);
    int number = c.number;
    std::string message;
    EXPECT_EQ(RegisterGame(c.golden.format, paths, Folder(), c.record, number, message), 1);
    EXPECT_EQ(message, c.message) << c.name;
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(FileBytes(paths.Index(c.golden.format)), FileBytes(c.golden.index)) << c.name;
    EXPECT_EQ(FileBytes(paths.Moves(c.golden.format)), FileBytes(c.golden.moves)) << c.name;
  }
  // The eight-piece game is a Tarvel game.
  int number = 0;
  std::string message;
  const DatabasePaths paths = CopyGolden(kGolden[1]);
  EXPECT_EQ(RegisterGame(kTarvelFormat, paths, Folder(), eight, number, message), 0) << message;
  EXPECT_EQ(number, 3);
}

// A pair that cannot be read is reported; one whose count claims more games than its files
// hold whole is read up to them (a game it claims beyond them is damaged, not absent); an
// empty index is an empty database.
TEST_F(GameDatabaseTest, PairsThatDisagreeAreReadUpToTheirWholeGames) {
  const std::string header2 = std::string("\x02\0\0\0", 4) + std::string(28, '\0');
  const std::string header1 = std::string("\x01\0\0\0", 4) + std::string(28, '\0');
  const std::string record(32, '\0'), block(512, '\0');
  struct Case {
    const char* name;
    const char* index;  // nullptr: no file
    std::string index_bytes;
    const char* moves;
    std::string moves_bytes;
    DatabaseState state;
    const char* message;
    int count;
  } cases[] = {
      {"no index", nullptr, "", "g.KIF", block, DatabaseState::kMissing, kMessageFileMissing, 0},
      {"no move file", "g.IDX", header1 + record, nullptr, "", DatabaseState::kDamaged,
       kMessageMalformed, 0},
      {"a short header", "g.IDX", header1.substr(0, 10), "g.KIF", "", DatabaseState::kDamaged,
       kMessageMalformed, 0},
      {"a count beyond the index", "g.IDX", header2 + record + record.substr(1), "g.KIF",
       block + block, DatabaseState::kTruncated, "", 1},
      {"a count beyond the moves", "g.IDX", header2 + record + record, "g.KIF",
       block + block.substr(1), DatabaseState::kTruncated, "", 1},
      {"records beyond the count", "g.IDX", header1 + record + record.substr(7), "g.KIF",
       block + block.substr(100), DatabaseState::kSound, "", 1},
      {"an empty database", "g.IDX", std::string(32, '\0'), "g.KIF", "", DatabaseState::kSound, "",
       0},
      {"an empty index", "g.IDX", "", "g.KIF", "", DatabaseState::kSound, "", 0},
  };
  for (const Case& c : cases) {
    for (const char* name : {"g.IDX", "g.KIF"}) std::filesystem::remove(Folder() + name);
    if (c.index != nullptr) PutFileBytes(Folder() + c.index, c.index_bytes);
    if (c.moves != nullptr) PutFileBytes(Folder() + c.moves, c.moves_bytes);
    const DatabasePaths paths = PathsOf("g.IDX");
    std::string message;
    EXPECT_EQ(ProbeDatabase(kKisenFormat, paths, message), c.state) << c.name;
    int count = -1;
    message.clear();
    EXPECT_EQ(DatabaseGameCount(kKisenFormat, paths, count, message), *c.message ? 1 : 0);
    EXPECT_EQ(message, c.message) << c.name;
    if (*c.message == 0) {
      EXPECT_EQ(count, c.count) << c.name;
    }
    // Reading leaves the record as it was, whatever went wrong.
    GameRecord r = test::GoldenEvenGame();
    const GameRecord before = r;
    message.clear();
    EXPECT_EQ(ReadGame(kKisenFormat, paths, Folder(), c.count + 1, r, message), 0) << c.name;
    // A game the count claims beyond the whole ones is damaged, not absent.
    EXPECT_EQ(message, c.state == DatabaseState::kTruncated ? kMessageMalformed
                       : *c.message                         ? c.message
                                                            : kMessageNumberBeyondCount)
        << c.name;
    EXPECT_TRUE(SameRecord(r, before)) << c.name;
  }
}

// A database whose files were cut short reads its whole games, and nothing writes to it
// until its repair has set its count to them (and changed nothing else); an empty index takes
// its first game.
TEST_F(GameDatabaseTest, ADamagedDatabaseIsWrittenOnlyAfterItsRepair) {
  const GameRecord game = test::GoldenEvenGame();
  for (const Golden& g : kGolden) {
    SCOPED_TRACE(g.format.Caption);
    const DatabasePaths paths = CopyGolden(g);
    PutFileBytes(paths.Moves(g.format), FileBytes(g.moves).substr(0, 600));
    const test::DatabaseFiles cut = test::FilesOf(g.format, paths);
    std::string message;
    int number = 0, count = 0;
    EXPECT_EQ(RegisterGame(g.format, paths, Folder(), game, number, message), 1);
    EXPECT_EQ(message, kMessageMalformed);
    EXPECT_EQ(test::FilesOf(g.format, paths), cut);

    ASSERT_EQ(RepairDatabase(g.format, paths, count, message), 0) << message;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FileBytes(paths.Index(g.format)),
              std::string("\x01\0\0\0", 4) + cut.Index->substr(4));
    EXPECT_EQ(FileBytes(paths.Moves(g.format)), *cut.Moves);
    ASSERT_EQ(RegisterGame(g.format, paths, Folder(), game, number, message), 0) << message;
    EXPECT_EQ(number, 2);

    PutFileBytes(paths.Index(g.format), "");
    PutFileBytes(paths.Moves(g.format), "");
    number = 0;
    ASSERT_EQ(RegisterGame(g.format, paths, Folder(), game, number, message), 0) << message;
    EXPECT_EQ(number, 1);
    EXPECT_EQ(FileBytes(paths.Index(g.format)).size(), 2 * g.format.IndexRecordBytes);
  }
}

TEST_F(GameDatabaseTest, CreatingNeverOverwritesAFile) {
  const DatabasePaths paths = PathsOf("g.idx");
  PutFileBytes(paths.Moves(kKisenFormat), "a user's KIF record");
  std::string message;
  EXPECT_EQ(CreateDatabase(kKisenFormat, paths, message), 1);
  EXPECT_EQ(message, kMessageCannotCreate);
  EXPECT_EQ(FileBytes(paths.Moves(kKisenFormat)), "a user's KIF record");
  EXPECT_FALSE(std::filesystem::exists(paths.Index(kKisenFormat)));
  ASSERT_EQ(CreateDatabase(kTarvelFormat, paths, message), 0);
  EXPECT_EQ(CreateDatabase(kTarvelFormat, paths, message), 1);
}

TEST_F(GameDatabaseTest, AStoredHandicapCodeOutOfRangeReadsAsTheNearestAndMovesStopWhenUnsound) {
  struct Case {
    int golden, n;
    int code;
    Handicap start;
    const char* usi;
  } cases[] = {
      {0, 2, 12, Handicap::kSixPieces, "3c3d 7g7f"},  // no bishop left on 2b
      {1, 2, 12, Handicap::kBareKing, ""},
      {1, 2, -1, Handicap::kEven, ""},      // the handicap slot is no move of an even game
      {0, 1, 1, Handicap::kLance, "3c3d"},  // then 8h2b+ with the 7g pawn still there
  };
  for (const Case& c : cases) {
    const Golden& g = kGolden[c.golden];
    const DatabasePaths paths = CopyGolden(g);
    std::string index = FileBytes(g.index);
    const std::size_t at = c.n * g.format.IndexRecordBytes + (c.golden == 0 ? 20 : 26);
    index[at] = static_cast<char>(c.code & 0xFF);
    index[at + 1] = static_cast<char>((c.code >> 8) & 0xFF);
    PutFileBytes(paths.Index(g.format), index);
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadGame(g.format, paths, Folder(), c.n, r, message), c.n) << message;
    EXPECT_EQ(r.InitialPosition, HandicapPosition(c.start)) << c.code;
    EXPECT_EQ(r.StartIndex, HandicapStartIndex(c.start));
    EXPECT_EQ(test::UsiMoves(r), c.usi) << c.code;
  }
}

TEST_F(GameDatabaseTest, TheShownPlyComesFromTheHookWithinTheGameAndTimesAreCleared) {
  const DatabasePaths paths = CopyGolden(kGolden[0]);
  struct Case {
    int asked, shown;
  } cases[] = {{3, 3}, {-5, 0}, {99, 5}};
  for (const Case& c : cases) {
    GameRecord r;
    ResetGameRecord(r);
    r.MoveTimes[3] = 9;
    CopyCp932Field(r.Comment, "kept");
    std::string message;
    ASSERT_EQ(ReadGame(kKisenFormat, paths, Folder(), 1, r, message,
                       [&](const GameRecord& game) {
                         EXPECT_EQ(RecordMoveCount(game), 5);
                         return c.asked;
                       }),
              1);
    EXPECT_EQ(r.PlyCount, c.shown);
    // The times are cleared; what a database does not hold stays.
    EXPECT_EQ(r.MoveTimes[3], 0);
    EXPECT_EQ(FieldText(r.Comment), "kept");
  }
}

TEST_F(GameDatabaseTest, KisenOpeningsComeFromOneListForReadingAndRegistering) {
  // SENKEI.DAT wins over the subfolder's list both ways, so a registered opening reads back.
  struct Case {
    const char* top;  // nullptr: no SENKEI.DAT
    const char* subfolder;
    int stored;
  } cases[] = {
      {nullptr, "03  居飛車\r\n07  矢倉\r\n", 7},
      {"02  矢倉\r\n", "07  矢倉\r\n", 2},
      {nullptr, nullptr, 0},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(Folder() + "SENKEI");
    std::filesystem::remove(Folder() + "SENKEI.DAT");
    if (c.top) WriteList("SENKEI.DAT", c.top);
    if (c.subfolder) WriteList("SENKEI/SENKEI.DAT", c.subfolder);
    const DatabasePaths paths = CopyGolden(kGolden[0]);
    int number = 0;
    std::string message;
    ASSERT_EQ(RegisterGame(kKisenFormat, paths, Folder(), test::GoldenEvenGame(), number,
                           message),
              0);
    EXPECT_EQ(FileBytes(paths.Index(kKisenFormat))[3 * 32 + 14], c.stored);
    GameRecord r;
    ASSERT_EQ(ReadGame(kKisenFormat, paths, Folder(), number, r, message), number);
    EXPECT_EQ(Utf8(FieldText(r.Opening)), c.stored ? "矢倉" : "              ");
  }
}

}  // namespace
}  // namespace shogi
