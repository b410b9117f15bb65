// The bulk changes: the dialog's checks, the fields each one replaces and how they count,
// and the index rewritten alone.
#include <gtest/gtest.h>

#include "database/bulk_rename.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

using test::DatedGame;
using test::FilesOf;

TEST(RenameCheckTest, NumbersOutsideTheirRangeSendTheFocusBack) {
  struct Case {
    const char *old_text, *new_text;
    int highest;
    RenameInput input;
    const char *message, *caption;
  } cases[] = {
      {"5", "7", 999, RenameInput::kAccepted, "", ""},
      {"0", "999", 999, RenameInput::kAccepted, "", ""},
      {"1000", "7", 999, RenameInput::kOldNumber, "0～999の範囲の数を入力してください。",
       kCaptionOldNumber},
      {"", "7", 99, RenameInput::kOldNumber, "0～99の範囲の数を入力してください。",
       kCaptionOldNumber},
      {"5", "100", 99, RenameInput::kNewNumber, "0～99の範囲の数を入力してください。",
       kCaptionNewNumber},
      {"5", "-1", 99, RenameInput::kNewNumber, "0～99の範囲の数を入力してください。",
       kCaptionNewNumber},
      {"5", "x", 99, RenameInput::kNewNumber, "0～99の範囲の数を入力してください。",
       kCaptionNewNumber},
      {"7", "7", 99, RenameInput::kOldNumber, kMessageNothingToChange, ""},
  };
  for (const Case& c : cases) {
    int old_number = -1, new_number = -1;
    std::string message, caption;
    EXPECT_EQ(CheckRenameNumbers(c.old_text, c.new_text, c.highest, old_number, new_number, message,
                                 caption),
              c.input)
        << c.old_text << " " << c.new_text;
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(caption, c.caption);
    if (c.input == RenameInput::kAccepted) {
      EXPECT_EQ(old_number, std::stoi(c.old_text));
      EXPECT_EQ(new_number, std::stoi(c.new_text));
    }
  }
}

class BulkRenameTest : public test::DatabaseFolderTest {
 protected:
  // Sets the 16-bit field at `offset` of record n in the index of `paths`.
  void SetField(const DatabaseFormat& format, const DatabasePaths& paths, int n, int offset,
                int value) const {
    std::string index = test::FileBytes(paths.Index(format));
    const std::size_t at = format.IndexRecordBytes * n + offset;
    index[at] = static_cast<char>(value & 0xFF);
    index[at + 1] = static_cast<char>(value >> 8);
    test::PutFileBytes(paths.Index(format), index);
  }
};

TEST_F(BulkRenameTest, NumbersAreReplacedInEveryFieldThatHoldsThem) {
  struct Case {
    const char* name;
    const DatabaseFormat& format;
    RenamedList list;
    std::vector<std::vector<int>> fields;  // per game, the list's fields
    int old_number, new_number;
    int changed;
    std::vector<std::vector<int>> expected;
  } cases[] = {
      {"a game of player 5 against player 5 counts 2",
       kKisenFormat,
       RenamedList::kPlayers,
       {{5, 5}, {5, 3}, {3, 3}},
       5,
       7,
       3,
       {{7, 7}, {7, 3}, {3, 3}}},
      {"Kisen tournaments",
       kKisenFormat,
       RenamedList::kTournaments,
       {{4}, {9}, {4}},
       4,
       6,
       2,
       {{6}, {9}, {6}}},
      {"Tarvel tournaments",
       kTarvelFormat,
       RenamedList::kTournaments,
       {{4}, {9}},
       9,
       0,
       1,
       {{4}, {0}}},
      {"Kisen openings", kKisenFormat, RenamedList::kOpenings, {{1}, {2}}, 2, 30, 1, {{1}, {30}}},
      {"Tarvel openings",
       kTarvelFormat,
       RenamedList::kOpenings,
       {{1}, {2}, {1}},
       1,
       99,
       2,
       {{99}, {2}, {99}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ListNumberFields& fields = RenamedFields(c.format, c.list);
    std::vector<GameRecord> games;
    for (std::size_t n = 0; n < c.fields.size(); ++n)
      games.push_back(DatedGame(2001, 1, 1 + n, 1 + n));
    const auto fill = [&](const char* name, const std::vector<std::vector<int>>& values) {
      const DatabasePaths paths = WriteGames(c.format, name, games);
      for (std::size_t n = 0; n < values.size(); ++n) {
        for (std::size_t f = 0; f < values[n].size(); ++f)
          SetField(c.format, paths, static_cast<int>(n + 1), fields.Offsets[f], values[n][f]);
      }
      return paths;
    };
    const DatabasePaths paths = fill("games.idx", c.fields);
    const auto expected = FilesOf(c.format, fill("expected.idx", c.expected));
    std::vector<std::string> words;
    int changed = 0;
    std::string message;
    ASSERT_EQ(RenameNumbers(c.format, paths, c.list, c.old_number, c.new_number,
                            {[&](const char* w) { words.push_back(w); }, {}}, changed, message),
              0)
        << message;
    EXPECT_EQ(changed, c.changed);
    EXPECT_EQ(message, Printed(kMessageChanged, c.changed));
    EXPECT_EQ(FilesOf(c.format, paths), expected);
    EXPECT_EQ(words, std::vector<std::string>{kStatusRenaming});
  }
}

TEST_F(BulkRenameTest, NothingToChangeLeavesTheIndexAsItWas) {
  const DatabasePaths paths = WriteGames(kKisenFormat, "games.idx", {DatedGame(2001, 1, 1)});
  const auto before = FilesOf(kKisenFormat, paths);
  struct Case {
    DatabasePaths paths;
    int old_number, new_number;
    const char* message;
  } cases[] = {
      {paths, 5, 5, kMessageNothingToChange},
      {paths, 5, 7, kMessageNoneMatched},
      {PathsOf("missing.idx"), 5, 7, kMessageCannotAccess},
  };
  for (const Case& c : cases) {
    int changed = -1;
    std::string message;
    EXPECT_EQ(RenameNumbers(kKisenFormat, c.paths, RenamedList::kPlayers, c.old_number,
                            c.new_number, {}, changed, message),
              1);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(FilesOf(kKisenFormat, paths), before);
  }
}

TEST_F(BulkRenameTest, TarvelPlayerNamesAreReplacedByteForByte) {
  const auto game = [](const char* first, const char* second) {
    GameRecord r = DatedGame(2001, 1, 1);
    CopyCp932Field(r.FirstName, Cp932(first));
    CopyCp932Field(r.SecondName, Cp932(second));
    return r;
  };
  const std::vector<GameRecord> games = {
      game("羽生善治", "谷川浩司"), game("谷川浩司", "羽生善治"), game("羽生善治", "羽生善治"),
      game("羽生善治 ", "谷川"),        // a trailing space: another name
      game("羽生善治名人位", "谷川")};  // cut to 12 bytes as registered: "羽生善治名人"
  const std::vector<GameRecord> renamed = {
      game("升田幸三", "谷川浩司"), game("谷川浩司", "升田幸三"), game("升田幸三", "升田幸三"),
      game("羽生善治 ", "谷川"), game("羽生善治名人位", "谷川")};
  const DatabasePaths paths = WriteGames(kTarvelFormat, "games.mix", games);
  const auto moves_before = FilesOf(kTarvelFormat, paths).Moves;
  int changed = 0;
  std::string message;
  ASSERT_EQ(RenamePlayerNames(kTarvelFormat, paths, Cp932("羽生善治"), Cp932("升田幸三"), {},
                              changed, message),
            0);
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(FilesOf(kTarvelFormat, paths),
            FilesOf(kTarvelFormat, WriteGames(kTarvelFormat, "expected.mix", renamed)));
  EXPECT_EQ(FilesOf(kTarvelFormat, paths).Moves, moves_before);
  // A name longer than a field finds the names registered from it.
  ASSERT_EQ(RenamePlayerNames(kTarvelFormat, paths, Cp932("羽生善治名人位"), Cp932("X"), {},
                              changed, message),
            0);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(
      RenamePlayerNames(kTarvelFormat, paths, Cp932("升田"), Cp932("升田"), {}, changed, message),
      1);
  EXPECT_EQ(message, kMessageNothingToChange);
}

}  // namespace
}  // namespace shogi
