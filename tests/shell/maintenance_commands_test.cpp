// The whole-database items of the menus 棋泉 and Tarvel with a scripted person and real files:
// the dialogs they ask with, their questions and messages with their captions, state 4 while
// they run, the search list and the list they leave behind; and the dialogs' field checks.
#include "shell/maintenance_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "database/game_database.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "tests/shell/database_command_fixture.h"

namespace shogi {
namespace {

using test::DatedGame;
using test::FilesOf;

struct Menu {
  DatabaseKind Kind;
  const char* Name;  // "games.idx" / "games.mix"
  int Sort, Duplicates, Merge, Remove;
  unsigned OpenList;
};
const Menu kMenus[] = {
    {DatabaseKind::kKisen, "games.idx", kCmdKisenSort, kCmdKisenDuplicates, kCmdKisenMerge,
     kCmdKisenRemove, kViewOpenKisenList},
    {DatabaseKind::kTarvel, "games.mix", kCmdTarvelSort, kCmdTarvelDuplicates, kCmdTarvelMerge,
     kCmdTarvelRemove, kViewOpenTarvelList},
};

class MaintenanceCommandsTest : public DatabaseCommandFixture {
 protected:
  // `games` as the database `name`, chosen in its menu with a current game and a search list.
  DatabasePaths Choose(const Menu& menu, const std::vector<GameRecord>& games,
                       const char* name = nullptr) {
    const DatabasePaths paths = WriteGames(Format(menu), name ? name : menu.Name, games);
    DatabaseSelection& selection = SelectionOf(state, menu.Kind);
    selection.Paths = paths;
    selection.CurrentRecordNo = 1;
    selection.SearchCount = 1;
    return paths;
  }
  static const DatabaseFormat& Format(const Menu& menu) { return FormatOf(menu.Kind); }
  // Runs `command`, the person's answers to the questions given; every answer must be used.
  ViewUpdate Run(int command, std::vector<MessageAnswer> answers = {}) {
    ui.MessageAnswers.assign(answers.begin(), answers.end());
    const ViewUpdate update = RunCommand(env, command);
    EXPECT_TRUE(ui.MessageAnswers.empty()) << "questions not asked";
    return update;
  }
  int Count(const Menu& menu, const DatabasePaths& paths) {
    int count = -1;
    std::string message;
    EXPECT_EQ(DatabaseGameCount(Format(menu), paths, count, message), 0) << message;
    return count;
  }
};

// ソート: the direction from the dialog, the games rewritten in date order in state 4 (the
// state before it afterwards), the status word, the selection reset and the list opening.
// A cancelled dialog changes nothing.
TEST_F(MaintenanceCommandsTest, SortRewritesInDateOrderAndOpensTheList) {
  const GameRecord a = DatedGame(2001, 5, 3, 1), b = DatedGame(1999, 12, 31, 2),
                   c = DatedGame(2001, 5, 3, 3);
  const struct {
    SortOrderChoice choice;
    std::vector<GameRecord> expected;
  } cases[] = {{SortOrderChoice::kAscending, {b, a, c}}, {SortOrderChoice::kDescending, {a, c, b}}};
  for (const Menu& menu : kMenus) {
    for (const auto& order : cases) {
      SCOPED_TRACE(menu.Name);
      ui.StatusTexts.clear();
      states_while_running.clear();
      const DatabasePaths paths = Choose(menu, {a, b, c});
      const auto before = FilesOf(Format(menu), paths);
      ui.SortAnswers = {SortOrderChoice::kCancel};
      EXPECT_TRUE(Run(menu.Sort).Empty());
      EXPECT_EQ(FilesOf(Format(menu), paths), before);
      EXPECT_TRUE(states_while_running.empty());

      state.InteractionState = kStateGame;
      ui.SortAnswers = {order.choice};
      const ViewUpdate update = Run(menu.Sort);
      EXPECT_EQ(update.Parts, menu.OpenList);
      EXPECT_EQ(FilesOf(Format(menu), paths),
                FilesOf(Format(menu),
                        WriteGames(Format(menu), "expected" + std::string(menu.Name).substr(5),
                                   order.expected)));
      EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
      EXPECT_EQ(state.InteractionState, kStateGame);
      EXPECT_EQ(ui.StatusTexts, Texts({"　ソート中", ""}));
      // The list opened on the whole sorted database.
      EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, static_cast<int>(order.expected.size()));
      ASSERT_FALSE(ui.GameLists.empty());
      ui.GameLists.clear();
      EXPECT_EQ(SelectionOf(state, menu.Kind).CurrentRecordNo, 0);
      EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
      state.InteractionState = kStateIdle;
    }
  }
  // An empty database is refused with the menu's caption, the state restored.
  Choose(kMenus[0], {});
  ui.SortAnswers = {SortOrderChoice::kAscending};
  EXPECT_TRUE(Run(kCmdKisenSort).Empty());
  EXPECT_EQ(ShownWith("棋泉"), Texts{"データ件数が0件です。"});
  EXPECT_EQ(state.InteractionState, kStateIdle);
}

// 重複ﾁｪｯｸ: each pair goes to the search list on two lines, SearchCount is twice the pairs,
// the count is shown and the list opens; no pair leaves the list and the count alone.
TEST_F(MaintenanceCommandsTest, DuplicatePairsBecomeTheSearchList) {
  for (const Menu& menu : kMenus) {
    SCOPED_TRACE(menu.Name);
    ui.Messages.clear();
    ui.StatusTexts.clear();
    Choose(menu, {DatedGame(2001, 1, 1, 2), DatedGame(2001, 1, 2, 4), DatedGame(2001, 1, 3, 2),
                  DatedGame(2001, 1, 4, 2)});
    const ViewUpdate update = Run(menu.Duplicates);
    EXPECT_EQ(update.Parts, menu.OpenList);
    EXPECT_EQ(ShownWith(Format(menu).Caption), Texts{"3組存在しました。"});
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 6);
    EXPECT_EQ(SelectionOf(state, menu.Kind).CurrentRecordNo, 0);
    std::vector<int> listed;
    ASSERT_TRUE(test::ReadListed(SearchListPath(Format(menu), Folder()), listed));
    EXPECT_EQ(listed, (std::vector<int>{1, 3, 1, 4, 3, 4}));
    EXPECT_EQ(ui.StatusTexts, Texts({"重複チェック中", ""}));
    EXPECT_EQ(state.InteractionState, kStateIdle);

    ui.Messages.clear();
    Choose(menu, {DatedGame(2001, 1, 1, 2)});
    EXPECT_TRUE(Run(menu.Duplicates).Empty());
    EXPECT_EQ(ShownWith(Format(menu).Caption), Texts{"重複データは存在しません。"});
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 1);
  }
}

// ﾌｧｲﾙ合併: the warning, the source's dialog, the question; はい appends the source, いいえ
// and the database itself leave it as it was.
TEST_F(MaintenanceCommandsTest, MergeWarnsAsksAndAppends) {
  for (const Menu& menu : kMenus) {
    SCOPED_TRACE(menu.Name);
    ui.Messages.clear();
    ui.FileRequests.clear();
    const DatabasePaths paths = Choose(menu, {DatedGame(2001, 1, 1, 2)});
    const std::string source = "more" + std::string(menu.Name).substr(5);
    WriteGames(Format(menu), source, {DatedGame(2002, 1, 1, 3), DatedGame(2003, 1, 1, 4)});
    const std::string warning =
        menu.Kind == DatabaseKind::kKisen
            ? "警告：同一棋譜ファイルを指定すると棋譜ファイルが壊れます。"
            : "警告：同一棋譜" + paths.Base + ".MIXを指定すると、棋譜が壊れます。";
    ui.FileAnswers = {{true, Folder() + source, 0}};
    Run(menu.Merge, {MessageAnswer::kNo});
    EXPECT_EQ(Count(menu, paths), 1);
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 1);
    ui.FileAnswers = {{true, Folder() + source, 0}};
    Run(menu.Merge, {MessageAnswer::kYes});
    EXPECT_EQ(Count(menu, paths), 3);
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 0);
    ui.FileAnswers = {{true, Folder() + menu.Name, 0}};
    Run(menu.Merge);
    EXPECT_EQ(Count(menu, paths), 3);
    const char* question = "合併してよろしいですか？";
    EXPECT_EQ(ShownWith(Format(menu).Caption), Texts({warning, question, warning, question, warning,
                                                      "同じ棋譜ファイルは合併出来ません。"}));
    ASSERT_EQ(ui.FileRequests.size(), 3u);
    EXPECT_EQ(ui.FileRequests[0].Title,
              std::string(Format(menu).Caption) + "・合併する棋譜ファイルの指定");
    EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption,
              menu.Kind == DatabaseKind::kKisen ? "棋泉ファイル(*.idx)" : "Tarvelファイル(*.mix)");
  }
}

// 配布ﾃﾞｰﾀ合併: the message, the dialog from the path kept under "配布" (the choice kept
// there), the question and the closing message, all captioned "配布データ合併"; a failed check
// ends before the question.
TEST_F(MaintenanceCommandsTest, DistributedDataReplacesTheNewerGames) {
  const Menu& menu = kMenus[0];
  const DatabasePaths paths = Choose(menu, {DatedGame(2004, 1, 1, 1), DatedGame(2001, 1, 1, 2)});
  WriteGames(kKisenFormat, "dist.idx", {DatedGame(2005, 1, 1, 3), DatedGame(2003, 1, 1, 4)});
  WriteGames(kKisenFormat, "empty.idx", {});
  const char* choose =
      "棋譜データベースの会から配布されたフロッピーの棋譜ファイルを指定してください。";
  ui.FileAnswers = {{true, Folder() + "empty.idx", 0}, {true, Folder() + "dist.idx", 0}};
  Run(kCmdKisenMergeDistributed);
  EXPECT_EQ(Count(menu, paths), 2);
  Run(kCmdKisenMergeDistributed, {MessageAnswer::kYes});
  EXPECT_EQ(Count(menu, paths), 3);
  EXPECT_EQ(ShownWith("配布データ合併"),
            Texts({choose, "配布データに棋譜データがありません。", choose,
                   "合併してよろしいですか？", "配布データ合併は終了しました。"}));
  ASSERT_EQ(ui.FileRequests.size(), 2u);
  EXPECT_EQ(ui.FileRequests[0].Title, "配布棋泉ファイルの指定（棋譜データベースの会専用）");
  EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption, "配布棋泉ファイル(*.idx)");
  EXPECT_EQ(ui.FileRequests[1].InitialPath, Folder() + "empty.idx");
  EXPECT_EQ(profile.GetString(kSectionFileNames, "配布", ""), Folder() + "dist.idx");
  EXPECT_EQ(state.Kisen.SearchCount, 0);
  EXPECT_EQ(ui.StatusTexts, Texts({"ﾃﾞｰﾀ確認作業中", "", "ﾃﾞｰﾀ確認作業中", "配布ﾃﾞｰﾀ合併中", ""}));
}

// ﾌｧｲﾙ削除: after the question both files go; the chosen database of that menu is chosen no
// more when it was the one removed, and stays chosen otherwise.
TEST_F(MaintenanceCommandsTest, RemovingADatabaseForgetsItWhenItWasTheChosenOne) {
  for (const Menu& menu : kMenus) {
    SCOPED_TRACE(menu.Name);
    ui.Messages.clear();
    const DatabasePaths chosen = Choose(menu, {DatedGame(2001, 1, 1)});
    const std::string other = "other" + std::string(menu.Name).substr(5);
    const DatabasePaths other_paths = WriteGames(Format(menu), other, {DatedGame(2001, 1, 1)});
    ui.FileAnswers = {{true, Folder() + other, 0}, {true, Folder() + other, 0}};
    Run(menu.Remove, {MessageAnswer::kNo});
    EXPECT_TRUE(std::filesystem::exists(other_paths.Index(Format(menu))));
    Run(menu.Remove, {MessageAnswer::kYes});
    EXPECT_FALSE(std::filesystem::exists(other_paths.Index(Format(menu))));
    EXPECT_FALSE(std::filesystem::exists(other_paths.Moves(Format(menu))));
    EXPECT_EQ(SelectionOf(state, menu.Kind).Paths.Base, chosen.Base);
    ui.FileAnswers = {{true, Folder() + menu.Name, 0}};
    Run(menu.Remove, {MessageAnswer::kYes});
    EXPECT_FALSE(SelectionOf(state, menu.Kind).Chosen());
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 0);
    EXPECT_EQ(ShownWith(Format(menu).Caption), Texts(3, "削除してよろしいですか？"));
    EXPECT_EQ(ui.FileRequests.back().Title,
              std::string(Format(menu).Caption) + "・削除棋譜ファイルの指定");
  }
}

// 入れ換え: the dialog gets the count; the question is captioned "入れ換え"; はい swaps.
TEST_F(MaintenanceCommandsTest, SwapAsksThenExchangesTheTwoGames) {
  const Menu& menu = kMenus[1];
  const GameRecord a = DatedGame(2001, 1, 1, 1), b = DatedGame(2002, 1, 1, 2),
                   c = DatedGame(2003, 1, 1, 3);
  const DatabasePaths paths = Choose(menu, {a, b, c});
  const auto accept = [](SwapRequest& r) {
    r.First = 1;
    r.Second = 3;
    return true;
  };
  ui.SwapDialog.Answers = {[](SwapRequest&) { return false; }, accept, accept};
  Run(kCmdTarvelSwap);
  Run(kCmdTarvelSwap, {MessageAnswer::kNo});
  EXPECT_EQ(state.Tarvel.SearchCount, 1);
  Run(kCmdTarvelSwap, {MessageAnswer::kYes});
  EXPECT_EQ(FilesOf(kTarvelFormat, paths),
            FilesOf(kTarvelFormat, WriteGames(kTarvelFormat, "expected.mix", {c, b, a})));
  ASSERT_EQ(ui.SwapDialog.Shown.size(), 3u);
  EXPECT_EQ(ui.SwapDialog.Shown[0].Count, 3);
  EXPECT_EQ(ShownWith("入れ換え"), Texts(2, "1番と3番を入れ換えて宜しいですか？"));
  EXPECT_EQ(state.Tarvel.SearchCount, 0);
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
}

TEST(SwapFieldsTest, NumbersAreCheckedAgainstTheCountAndEachOther) {
  const struct {
    const char *first, *second;
    SwapInput input;
    const char* message;
  } cases[] = {
      {"1", "3", SwapInput::kAccepted, ""},
      {"4", "1", SwapInput::kFirst, "番号が登録データ数を超してます。"},
      {"0", "1", SwapInput::kFirst, "番号が登録データ数を超してます。"},
      {"x1", "1", SwapInput::kFirst, "番号が登録データ数を超してます。"},
      {"000001", "1", SwapInput::kFirst, "番号が登録データ数を超してます。"},
      {"1", "", SwapInput::kSecond, "番号が登録データ数を超してます。"},
      {"2", "02", SwapInput::kSecond, "同じ番号は、指定出来ません。"},
  };
  for (const auto& c : cases) {
    SwapRequest request{3, c.first, c.second};
    std::string message;
    EXPECT_EQ(CheckSwapFields(request, message), c.input) << c.first << " " << c.second;
    EXPECT_EQ(message, c.message) << c.first << " " << c.second;
    if (c.input == SwapInput::kAccepted) {
      EXPECT_EQ(request.Second, 3);
    }
  }
}

// The number changes: the dialog's title, range and caption by item; the count shown, the
// search list to be rebuilt and the list opening after a change; nothing matched changes
// nothing.
TEST_F(MaintenanceCommandsTest, BulkNumberChangesCountAndOpenTheList) {
  const struct {
    const Menu& menu;
    int command;
    const char* title;
    int highest;
    const char* changed;  // each player field counts
  } cases[] = {
      {kMenus[0], kCmdKisenRenamePlayers, "棋士番号一括変更", 999, "4件変更しました。"},
      {kMenus[0], kCmdKisenRenameTournaments, "棋戦番号一括変更", 99, "2件変更しました。"},
      {kMenus[0], kCmdKisenRenameOpenings, "戦型番号一括変更", 99, "2件変更しました。"},
      {kMenus[1], kCmdTarvelRenameTournaments, "棋戦番号一括変更", 99, "2件変更しました。"},
      {kMenus[1], kCmdTarvelRenameOpenings, "戦型番号一括変更", 99, "2件変更しました。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    ui.Messages.clear();
    ui.RenameNumbersDialog.Shown.clear();
    // DatedGame has no tournament nor opening (0), and Kisen players 0 for its names.
    Choose(c.menu, {DatedGame(2001, 1, 1), DatedGame(2001, 1, 2)});
    const auto answer = [](int old_number) {
      return [old_number](RenameNumbersRequest& r) {
        r.Old = old_number;
        r.New = 7;
        return true;
      };
    };
    ui.RenameNumbersDialog.Answers = {answer(5), answer(0)};
    EXPECT_TRUE(Run(c.command).Empty());
    EXPECT_EQ(SelectionOf(state, c.menu.Kind).SearchCount, 1);
    EXPECT_EQ(Run(c.command).Parts, c.menu.OpenList);
    // The list opened on the whole database (its two games).
    EXPECT_EQ(SelectionOf(state, c.menu.Kind).SearchCount, 2);
    EXPECT_FALSE(ui.GameLists.empty());
    EXPECT_EQ(SelectionOf(state, c.menu.Kind).CurrentRecordNo, 1);
    EXPECT_EQ(ShownWith(Format(c.menu).Caption),
              Texts({"変更対象データが存在しません。", c.changed}));
    ASSERT_EQ(ui.RenameNumbersDialog.Shown.size(), 2u);
    EXPECT_EQ(ui.RenameNumbersDialog.Shown[0].Title, c.title);
    EXPECT_EQ(ui.RenameNumbersDialog.Shown[0].Highest, c.highest);
    EXPECT_EQ(ui.RenameNumbersDialog.Shown[0].Caption, Format(c.menu).Caption);
  }
}

TEST(RenameFieldsTest, RefusedFieldsNameTheirCaption) {
  const struct {
    const char *old_text, *new_text;
    RenameInput input;
    const char *message, *caption;
  } cases[] = {
      {"5", "7", RenameInput::kAccepted, "", ""},
      {"1000", "7", RenameInput::kOldNumber, "0～999の範囲の数を入力してください。", "変更前番号"},
      {"5", "x", RenameInput::kNewNumber, "0～999の範囲の数を入力してください。", "変更後番号"},
      {"5", "5", RenameInput::kOldNumber, "変更データが存在しません。", "棋泉"},
  };
  for (const auto& c : cases) {
    RenameNumbersRequest request{"棋士番号一括変更", 999, "棋泉", c.old_text, c.new_text};
    std::string message, caption;
    EXPECT_EQ(CheckRenameRequest(request, message, caption), c.input) << c.old_text;
    EXPECT_EQ(message, c.message) << c.old_text;
    EXPECT_EQ(caption, c.caption) << c.old_text;
    if (c.input == RenameInput::kAccepted) {
      EXPECT_EQ(request.New, 7);
    }
  }
}

// 棋士一括変更 of Tarvel: the combo boxes offer the names of 棋士名.DAT; the chosen names
// replace each other byte for byte.
TEST_F(MaintenanceCommandsTest, TarvelPlayerNamesAreChosenFromTheList) {
  WriteList("棋士名.DAT", "羽生善治  \r\n\r\n升田幸三\r\n");
  GameRecord game = DatedGame(2001, 1, 1);
  CopyCp932Field(game.FirstName, Cp932("羽生善治"));
  Choose(kMenus[1], {game, DatedGame(2001, 1, 2)});
  ui.RenameNamesDialog.Answers = {[](RenameNamesRequest& r) {
    r.Old = "羽生善治";
    r.New = "升田幸三";
    return true;
  }};
  EXPECT_EQ(Run(kCmdTarvelRenamePlayers).Parts, kViewOpenTarvelList);
  EXPECT_EQ(ShownWith("Tarvel"), Texts{"1件変更しました。"});
  ASSERT_EQ(ui.RenameNamesDialog.Shown.size(), 1u);
  EXPECT_EQ(ui.RenameNamesDialog.Shown[0].Names, Texts({"羽生善治", "升田幸三"}));
  GameRecord read;
  std::string message;
  ASSERT_EQ(ReadGame(kTarvelFormat, state.Tarvel.Paths, Folder(), 1, read, message), 1);
  EXPECT_EQ(Utf8(FieldText(read.FirstName)), "升田幸三");
}

// 将棋年鑑: the files from the dialog, the count shown captioned "将棋年鑑"; an import over the
// chosen Tarvel database resets its list; a missing input is named.
TEST_F(MaintenanceCommandsTest, YearbookImportsIntoANewTarvelDatabase) {
  test::YearbookGame game;
  game.Title = "王位戦第１局";
  game.FirstFamily = "羽生";
  game.SecondFamily = "谷川";
  const test::YearbookPaths inputs = test::WriteYearbookFiles(Folder(), {game});
  const DatabasePaths chosen = Choose(kMenus[1], {DatedGame(2001, 1, 1), DatedGame(2001, 1, 2)});
  const auto import_to = [&](std::string headers, std::string database) {
    return [=](YearbookFiles& files) {
      files = {headers, inputs.MoveIndex, inputs.MoveData, database};
      return true;
    };
  };
  ui.YearbookDialog.Answers = {import_to(inputs.Headers, Folder() + "year.mix"),
                               import_to(inputs.Headers, Folder() + "games.mix"),
                               import_to(Folder() + "none.dat", Folder() + "x.mix")};
  Run(kCmdYearbook);
  EXPECT_EQ(Count(kMenus[1], PathsOf("year.mix")), 1);
  EXPECT_EQ(state.Tarvel.SearchCount, 1);
  Run(kCmdYearbook);
  EXPECT_EQ(Count(kMenus[1], chosen), 1);
  EXPECT_EQ(state.Tarvel.SearchCount, 0);
  EXPECT_EQ(state.Tarvel.CurrentRecordNo, 0);
  Run(kCmdYearbook);
  EXPECT_EQ(ShownWith("将棋年鑑"), Texts({"全部で1局変換しました。", "全部で1局変換しました。",
                                          "ファイル（" + Folder() + "none.dat）が存在しません。"}));
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
}

// The "..." buttons of 将棋年鑑: the inputs show every file, the Tarvel file its type list and
// gets ".mix" when typed bare; a cancelled dialog keeps the field.
TEST(YearbookDialogTest, BrowseFillsTheFieldFromTheFileDialog) {
  test::ScriptedUserInterface ui;
  ui.FileAnswers = {{}, {true, "/data/moves.dat", 0}, {true, "/data/year", 0}};
  std::string field = "/old/moves.dat";
  EXPECT_FALSE(BrowseYearbookFile(ui, field, false));
  EXPECT_EQ(field, "/old/moves.dat");
  EXPECT_TRUE(BrowseYearbookFile(ui, field, false));
  EXPECT_EQ(field, "/data/moves.dat");
  std::string tarvel;
  EXPECT_TRUE(BrowseYearbookFile(ui, tarvel, true));
  EXPECT_EQ(tarvel, "/data/year.mix");
  ASSERT_EQ(ui.FileRequests.size(), 3u);
  EXPECT_EQ(ui.FileRequests[0].InitialPath, "/old/moves.dat");
  EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption, "全てのファイル(*.*)");
  EXPECT_EQ(ui.FileRequests[2].Filters[0].Caption, "Tarvelファイル(*.mix)");
}

// The general open offers the yearbook when the profile integer "将棋年鑑" holds 1.
TEST(YearbookDialogTest, TheModeIsOnForValueOneOnly) {
  ProgramSettings settings;
  for (const auto& [value, on] : {std::pair{0, false}, {1, true}, {2, false}}) {
    settings.Yearbook = value;
    EXPECT_EQ(YearbookModeOn(settings), on) << value;
  }
}

}  // namespace
}  // namespace shogi
