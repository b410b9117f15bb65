// The Bonanza menu's book items with a scripted person: the lookup dialog's rows and the
// lookup's messages, the book file kept under "BOOK", the builder dialog with the inputs the
// profile keeps, its report and its state, and the checks of the dialog's fields.
#include "shell/book_commands.h"

#include <gtest/gtest.h>

#include "database/game_database.h"
#include "tests/database/database_test_util.h"
#include "tests/shell/database_command_fixture.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

class BookCommandsTest : public DatabaseCommandFixture {
 protected:
  // "games.mix" of games from the even position with these moves.
  void MakeDatabase(std::initializer_list<const char*> games) {
    std::vector<GameRecord> records;
    for (const char* usi : games) records.push_back(test::MakeRecord("startpos", usi));
    std::string message;
    ASSERT_EQ(test::WriteGames(kTarvelFormat, PathsOf("games.mix"), Folder(), records, message), 0)
        << message;
  }
  // The builder dialog answered with the database, the book and the options.
  void AnswerBuilder(int plies, int condition = kBookAllMoves, bool resign_rule = false) {
    ui.BookBuildAnswers.push_back([=, this](BookBuildOptions& o) {
      o.Input = Folder() + "games.mix";
      o.Output = Folder() + "book.bin";
      o.Plies = plies;
      o.Condition = condition;
      o.ResignRule = resign_rule;
      return true;
    });
  }
  // The record with these moves shown after `shown` of them.
  void Show(const char* usi, int shown) {
    state.Record = test::MakeRecord("startpos", usi);
    state.Record.PlyCount = shown;
    RebuildShown(state);
  }
};

// "Tarvel->Book": the dialog starts from the profile's last inputs (defaults at first), its
// answer is kept there, the book is built in state 4 and the report shown.
TEST_F(BookCommandsTest, TheBuilderKeepsItsInputsAndReportsTheBook) {
  MakeDatabase({"7g7f 3c3d 2g2f", "7g7f 3c3d 7f7e"});
  state.InteractionState = kStateGame;
  // Both games count as won by the first player, whose moves alone are taken.
  AnswerBuilder(3, kBookNoLoser, true);
  RunCommand(env, kCmdBuildBook);
  ASSERT_EQ(ui.BookBuildShown.size(), 1u);
  const BookBuildOptions& first = ui.BookBuildShown[0];
  EXPECT_EQ(first.Input, "");
  EXPECT_EQ(first.Output, "book.bin");
  EXPECT_EQ(first.Plies, 30);
  EXPECT_FALSE(first.ResignRule);
  EXPECT_EQ(first.Condition, kBookAllMoves);
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "Tarvel->Book");
  EXPECT_EQ(ui.Messages[0].Text, "2局面作成しました。(0)");
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
  EXPECT_EQ(state.InteractionState, kStateGame);

  // The next run starts from what was given; a cancelled dialog keeps the profile.
  ui.BookBuildAnswers.push_back([](BookBuildOptions& o) {
    o.Plies = 7;
    return false;
  });
  RunCommand(env, kCmdBuildBook);
  ASSERT_EQ(ui.BookBuildShown.size(), 2u);
  const BookBuildOptions& second = ui.BookBuildShown[1];
  EXPECT_EQ(second.Input, Folder() + "games.mix");
  EXPECT_EQ(second.Output, Folder() + "book.bin");
  EXPECT_EQ(second.Plies, 3);
  EXPECT_TRUE(second.ResignRule);
  EXPECT_EQ(second.Condition, kBookNoLoser);
  EXPECT_EQ(LoadBookBuildOptions(profile).Plies, 3);
  EXPECT_EQ(ui.Messages.size(), 1u);

  // A failure is reported in the same box, and the state comes back.
  ui.BookBuildAnswers.push_back([](BookBuildOptions& o) {
    o.Input = "x.mi";
    return true;
  });
  RunCommand(env, kCmdBuildBook);
  EXPECT_EQ(ui.LastMessage(), "Tarvel形式ファイル名が異常です。");
  EXPECT_EQ(state.InteractionState, kStateGame);
}

// "Book検索": the moves of the shown position in KI2 notation with the mover's mark and their
// shares; a failure in a plain box.
TEST_F(BookCommandsTest, TheLookupShowsTheShownPositionsMoves) {
  MakeDatabase({"7g7f 3c3d 2g2f", "7g7f 3c3d 7f7e"});
  AnswerBuilder(3);
  RunCommand(env, kCmdBuildBook);
  ui.Messages.clear();
  settings.Files.BonanzaBook = Folder() + "book.bin";
  const struct {
    int shown;
    std::vector<BookMoveRow> rows;
    const char* message;
  } cases[] = {
      {2, {{"▲２六歩", "  50.0007630"}, {"▲７五歩", "  49.9992370"}}, ""},
      {1, {{"△３四歩", "100"}}, ""},
      {3, {}, "この局面は存在しません。"},
  };
  for (const auto& c : cases) {
    Show("7g7f 3c3d 2g2f", c.shown);
    ui.BookMovesShown.clear();
    ui.Messages.clear();
    RunCommand(env, kCmdBookLookup);
    if (*c.message) {
      EXPECT_TRUE(ui.BookMovesShown.empty());
      ASSERT_EQ(ui.Messages.size(), 1u);
      EXPECT_EQ(ui.Messages[0].Caption, "Book検索");
      EXPECT_EQ(ui.Messages[0].Text, c.message);
      EXPECT_EQ(ui.Messages[0].Icon, MessageIcon::kNone);
      continue;
    }
    ASSERT_EQ(ui.BookMovesShown.size(), 1u) << ui.LastMessage();
    ASSERT_EQ(ui.BookMovesShown[0].size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      EXPECT_EQ(ui.BookMovesShown[0][i].Move, c.rows[i].Move);
      EXPECT_EQ(ui.BookMovesShown[0][i].Share, c.rows[i].Share);
    }
  }
  settings.Files.BonanzaBook = Folder() + "none.bin";
  RunCommand(env, kCmdBookLookup);
  EXPECT_EQ(ui.LastMessage(), Folder() + "none.binがアクセス出来ません。");
}

// "Bookﾌｧｲﾙ名": the dialog from the current name ("book.bin" at first); OK keeps it.
TEST_F(BookCommandsTest, TheBookFileIsChosenAndKept) {
  ui.FileAnswers = {{}, {true, Folder() + "other.bin", 0}};
  RunCommand(env, kCmdBookFile);
  EXPECT_EQ(settings.Files.BonanzaBook, "book.bin");
  RunCommand(env, kCmdBookFile);
  ASSERT_EQ(ui.FileRequests.size(), 2u);
  EXPECT_EQ(ui.FileRequests[0].Title, "Bookファイル名の設定");
  EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption, "Bookファイル(*.bin)");
  EXPECT_EQ(ui.FileRequests[0].InitialPath, "book.bin");
  EXPECT_EQ(settings.Files.BonanzaBook, Folder() + "other.bin");
  EXPECT_EQ(profile.GetString(kSectionFileNames, "BOOK", ""), Folder() + "other.bin");
}

TEST(BookDialogChecksTest, PliesAreAWholeNumberUpTo256) {
  const struct {
    const char* text;
    bool accepted;
    int plies;
  } cases[] = {{"0", true, 0},   {"30", true, 30}, {"256", true, 256}, {"257", false, 0},
               {"-1", false, 0}, {"x", false, 0},  {"", false, 0},     {"3x", false, 0}};
  for (const auto& c : cases) {
    int plies = -5;
    std::string message;
    EXPECT_EQ(ParseBookPlies(c.text, plies, message) == 0, c.accepted) << c.text;
    EXPECT_EQ(plies, c.accepted ? c.plies : -5) << c.text;
    EXPECT_EQ(message, c.accepted ? "" : "有効手数は0～256の整数で入力してください。") << c.text;
  }
}

TEST(BookDialogChecksTest, TheProfileGivesDefaultsForUnusableInputs) {
  MemoryProfile profile;
  ASSERT_TRUE(profile.WriteInt(kBookBuildSection, "TESU", 300));
  ASSERT_TRUE(profile.WriteInt(kBookBuildSection, "JOKEN", 4));
  ASSERT_TRUE(profile.WriteInt(kBookBuildSection, "TORYO", 1));
  const BookBuildOptions o = LoadBookBuildOptions(profile);
  EXPECT_EQ(o.Plies, 30);
  EXPECT_EQ(o.Condition, kBookAllMoves);
  EXPECT_TRUE(o.ResignRule);
  // The "..." buttons' dialogs.
  const FileDialogRequest input = BookInputFileRequest("a.mix"),
                          output = BookOutputFileRequest("b");
  EXPECT_EQ(input.Title, "SET Tarvel形式ファイル");
  EXPECT_EQ(input.Filters[0].Caption, "Tarvel形式ファイル(*.mix)");
  EXPECT_EQ(input.InitialPath, "a.mix");
  EXPECT_EQ(output.Title, "SET 定跡ファイル名");
  EXPECT_EQ(output.Filters[1].Caption, "ALL FILES (*.*)");
  EXPECT_TRUE(output.MayBeNew);
}

}  // namespace
}  // namespace shogi
