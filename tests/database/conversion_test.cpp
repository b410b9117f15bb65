// The conversions between the two formats: Kisen -> Tarvel -> Kisen keeps every field it
// can, the Tarvel handicap codes above 7 in a Kisen database, the refusals, and the Tarvel
// lists written from the Kisen lists.
#include "database/conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "database_files/kisen.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

class ConversionTest : public test::DatabaseFolderTest {
 protected:
  // Converts the database of `paths` with `conversion`; the message, or "" on success.
  std::string Convert(const DatabaseConversion& conversion, const DatabasePaths& paths) const {
    GameDatabase source;
    std::string message;
    int games = 0;
    if (OpenConversionSource(conversion, paths, source, message) != 0 ||
        ConvertDatabase(conversion, source, paths, Folder(), games, {}, message) != 0)
      return message;
    EXPECT_EQ(games, source.Count());
    return "";
  }
  std::string Bytes(const DatabasePaths& paths, const DatabaseFormat& format) const {
    return FileBytes(paths.Index(format)) + "|" + FileBytes(paths.Moves(format));
  }
  static void SetWord(std::string& index, int record, int word, int value) {
    index[32 * record + 2 * word] = static_cast<char>(value);
    index[32 * record + 2 * word + 1] = static_cast<char>(value >> 8);
  }
};

// Kisen -> Tarvel takes the names from KSNAME.DAT and copies the numbers; Tarvel -> Kisen
// finds the players again and keeps the numbers up to 30: the Kisen database comes back
// byte for byte, but for a tournament numbered above 30.
TEST_F(ConversionTest, KisenToTarvelToKisenKeepsEveryFieldItCan) {
  WriteGoldenLists();
  const DatabasePaths paths = CopyGolden(kKisenFormat);
  std::string index = FileBytes(paths.Index(kKisenFormat));
  SetWord(index, 1, 2, 31);  // tournament 31
  SetWord(index, 1, 7, 30);  // opening 30
  SetWord(index, 2, 8, 6);   // 以下上手勝ち
  PutFileBytes(paths.Index(kKisenFormat), index);
  const std::string moves = FileBytes(paths.Moves(kKisenFormat));

  ASSERT_EQ(Convert(kKisenToTarvel, paths), "");
  const struct {
    const char* first;
    const char* second;
    int game_number, year, month, day, result, tournament, opening, handicap;
  } expected[] = {{"羽生　善治", "谷川浩司", 2, 2001, 4, 9, 1, 31, 30, 0},
                  {"            ", "谷川浩司", 0, 1999, 12, 31, 6, 0, 0, 1}};
  const std::string tarvel = FileBytes(paths.Index(kTarvelFormat));
  ASSERT_EQ(tarvel.size(), 120u);
  for (int n = 1; n <= 2; ++n) {
    TarvelIndexRecord t;
    std::memcpy(&t, tarvel.data() + 40 * n, sizeof t);
    const auto& e = expected[n - 1];
    const IndexFields f = TarvelIndexFields(t, DatabaseNames{});
    EXPECT_EQ(Utf8(f.FirstPlayer), e.first) << n;
    EXPECT_EQ(Utf8(f.SecondPlayer), e.second) << n;
    EXPECT_EQ(
        std::vector<int>({t.GameNumber.Get(), t.Year.Get(), t.Month.Get(), t.Day.Get(),
                          t.Result.Get(), t.Tournament.Get(), t.Opening.Get(), t.Handicap.Get()}),
        std::vector<int>(
            {e.game_number, e.year, e.month, e.day, e.result, e.tournament, e.opening, e.handicap}))
        << n;
  }
  GameRecord read;
  ResetGameRecord(read);
  std::string message;
  ASSERT_EQ(ReadGame(kTarvelFormat, paths, Folder(), 2, read, message), 2) << message;
  EXPECT_EQ(test::UsiMoves(read), test::UsiMoves(test::GoldenLanceGame()));

  std::filesystem::remove(paths.Index(kKisenFormat));
  std::filesystem::remove(paths.Moves(kKisenFormat));
  ASSERT_EQ(Convert(kTarvelToKisen, paths), "");
  SetWord(index, 1, 2, 0);
  EXPECT_EQ(FileBytes(paths.Index(kKisenFormat)), index);
  EXPECT_EQ(FileBytes(paths.Moves(kKisenFormat)), moves);
}

// Kisen keeps the Tarvel codes 8..10 and reads them as 六枚落ち: the moves are encoded from
// that position, up to the first one it does not allow.
TEST_F(ConversionTest, TarvelHandicapsAboveSevenKeepTheirCodeInKisen) {
  const DatabasePaths paths = PathsOf("games.mix");
  std::string message;
  ASSERT_EQ(CreateDatabase(kTarvelFormat, paths, message), 0);
  const struct {
    Handicap start;
    const char* moves;
    int code;
    const char* kisen_moves;
  } cases[] = {
      {Handicap::kEightPieces, "4a3b 7g7f 3b3a 2g2f", 8, "4a3b 7g7f"},
      {Handicap::kTenPieces, "5a4a 7g7f", 9, ""},
      {Handicap::kBareKing, "5a4a", 10, ""},
      {Handicap::kSixPieces, "4a3b 7g7f", 7, "4a3b 7g7f"},
  };
  for (const auto& c : cases) {
    int number = 0;
    ASSERT_EQ(RegisterGame(kTarvelFormat, paths, Folder(),
                           test::MakeRecord(test::HandicapSfen(c.start), c.moves),
                           number, message),
              0)
        << message;
  }
  ASSERT_EQ(Convert(kTarvelToKisen, paths), "");
  const std::string index = FileBytes(paths.Index(kKisenFormat));
  const std::string blocks = FileBytes(paths.Moves(kKisenFormat));
  for (int n = 1; n <= 4; ++n) {
    const auto& c = cases[n - 1];
    KisenIndexRecord k;
    std::memcpy(&k, index.data() + 32 * n, sizeof k);
    EXPECT_EQ(k.Handicap.Get(), c.code) << n;
    GameRecord read;
    ResetGameRecord(read);
    ASSERT_EQ(ReadGame(kKisenFormat, paths, Folder(), n, read, message), n) << message;
    EXPECT_EQ(test::UsiMoves(read), c.kisen_moves) << n;
    // The block holds the handicap slot and those moves, nothing after them.
    int slots = 0;
    while (slots < 256 && blocks[512 * (n - 1) + 2 * slots] != 0) ++slots;
    EXPECT_EQ(slots, 1 + static_cast<int>(test::SplitUsi(c.kisen_moves).size())) << n;
  }
}

TEST_F(ConversionTest, MissingDamagedAndUnwritableDatabasesAreRefused) {
  const DatabasePaths kisen = CopyGolden(kKisenFormat);
  const DatabasePaths only_index = PathsOf("alone.idx");
  PutFileBytes(only_index.Index(kKisenFormat), std::string(32, '\0'));
  const DatabasePaths damaged = PathsOf("damaged.mix");
  PutFileBytes(damaged.Index(kTarvelFormat), std::string(1, '\3') + std::string(39, '\0'));
  PutFileBytes(damaged.Moves(kTarvelFormat), "");
  const struct {
    const char* what;
    const DatabaseConversion& conversion;
    DatabasePaths paths;
    const char* message;
  } cases[] = {
      {"no Kisen database", kKisenToTarvel, PathsOf("none.idx"), "棋泉ファイルが存在しません。"},
      {"no Kisen move file", kKisenToTarvel, only_index, "棋泉ファイルが存在しません。"},
      {"no Tarvel database", kTarvelToKisen, PathsOf("none.mix"), "Tarvelファイルが存在しません。"},
      {"a damaged pair", kTarvelToKisen, damaged, "ファイルに異常があります。"},
  };
  for (const auto& c : cases) EXPECT_EQ(Convert(c.conversion, c.paths), c.message) << c.what;
  EXPECT_FALSE(std::filesystem::exists(only_index.Index(kTarvelFormat)));

  // A target that cannot be replaced leaves the old target pair as it was.
  PutFileBytes(kisen.Index(kTarvelFormat), "old index");
  std::filesystem::create_directory(kisen.Moves(kTarvelFormat));
  EXPECT_TRUE(ConversionTargetExists(kKisenToTarvel, kisen));
  EXPECT_EQ(Convert(kKisenToTarvel, kisen), "ファイルが作成できません。");
  EXPECT_EQ(FileBytes(kisen.Index(kTarvelFormat)), "old index");
  EXPECT_FALSE(ConversionTargetExists(kTarvelToKisen, PathsOf("none.mix")));
  EXPECT_EQ(&ConversionFrom(kKisenFormat), &kKisenToTarvel);
  EXPECT_EQ(&ConversionFrom(kTarvelFormat), &kTarvelToKisen);
}

TEST_F(ConversionTest, TheTarvelListsAreWrittenFromTheKisenLists) {
  WriteList("KSNAME.DAT", "3     谷川浩司\r\n12    羽生　善治　 \r\n7     　\r\n99\r\n1234567\r\n");
  WriteList("KISEN.DAT", "+01 第10期\r\n05 名人戦\r\n\r\n31 王座戦");
  WriteList("SENKEI/SENKEI.DAT", "07  矢倉\n+1  x\r\n");
  WriteList("戦型.DAT", "old");
  const struct {
    const ConvertedList& list;
    const char* file;
    const char* written;
  } cases[] = {
      {kConvertedLists[0], "棋士名.DAT", "谷川浩司\r\n羽生　善治\r\n7\r\n"},
      {kConvertedLists[1], "棋戦.DAT", "05 名人戦\r\n\r\n31 王座戦"},
      {kConvertedLists[2], "戦型.DAT", "07  矢倉\n+1  x\r\n"},
  };
  for (const auto& c : cases) {
    std::string message;
    ASSERT_EQ(WriteConvertedList(c.list, Folder(), message), 0) << c.file;
    EXPECT_EQ(Utf8(FileBytes(Folder() + c.file)), c.written) << c.file;
  }
  // Without either opening list the new one is empty.
  std::filesystem::remove_all(Folder() + "SENKEI");
  std::string message;
  ASSERT_EQ(WriteConvertedList(kConvertedLists[2], Folder(), message), 0);
  EXPECT_EQ(FileBytes(Folder() + "戦型.DAT"), "");
  EXPECT_EQ(WriteConvertedList(kConvertedLists[1], Folder() + "none/", message), 1);
  EXPECT_EQ(message, "ファイルが作成できません。");
  EXPECT_STREQ(kConvertedLists[0].Question, "棋士名.DATを作成しますか？");
}

}  // namespace
}  // namespace shogi
