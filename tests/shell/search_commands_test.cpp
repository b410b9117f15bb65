// The search and list items of the menus 棋泉 and Tarvel with a scripted person and real
// database files: the search dialog's refusals, the search with its status and state, the
// list opened after it and after choosing a database, a listed game loaded at the searched
// ply, 逆順表示, and the list's 削除 and 新規作成.
#include "shell/search_commands.h"

#include <gtest/gtest.h>

#include "database/game_database.h"
#include "database/search_list.h"
#include "tests/shell/database_command_fixture.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::DatedGame;
using test::UsiMoves;
using Texts = std::vector<std::string>;

struct SearchMenu {
  DatabaseKind Kind;
  int File, Search, List, Reverse;
  const char* Index;
  const char* Title;
};
const SearchMenu kSearchMenus[] = {
    {DatabaseKind::kKisen, kCmdKisenFile, kCmdKisenSearch, kCmdKisenList, kCmdKisenReverse,
     "games.idx", "棋　泉　一　覧　表"},
    {DatabaseKind::kTarvel, kCmdTarvelFile, kCmdTarvelSearch, kCmdTarvelList, kCmdTarvelReverse,
     "games.mix", "Ｔａｒｖｅｌ　一　覧　表"},
};

// The games' lengths: a search for the position after three moves keeps games 2 and 4.
const int kPlies[] = {2, 5, 3, 8, 0};

class SearchCommandsTest : public DatabaseCommandFixture {
 protected:
  // The database of kPlies chosen for `menu`, without its list opening.
  void Prepare(const SearchMenu& menu) {
    std::vector<GameRecord> games;
    for (int plies : kPlies) games.push_back(DatedGame(2001, 2, 3, plies));
    WriteGames(FormatOf(menu.Kind), menu.Index, games);
    SelectionOf(state, menu.Kind).Paths = PathsOf(menu.Index);
  }
  // The board at the position after the first `plies` moves of the games' opening.
  void BoardAfter(int plies) {
    state.Record = DatedGame(1999, 1, 1, 8);
    state.Record.PlyCount = state.Record.StartIndex + plies;
    RebuildShown(state);
  }
  static std::function<bool(SearchConditions&)> Type(PositionMode mode) {
    return [mode](SearchConditions& c) {
      c.Mode = mode;
      return true;
    };
  }
  // The numbers at the start of the list's first page.
  static std::vector<int> Numbers(const Texts& lines) {
    std::vector<int> numbers;
    for (const std::string& line : lines) numbers.push_back(std::stoi(line.substr(0, 6)));
    return numbers;
  }
  int Count(const SearchMenu& menu) {
    int count = 0;
    std::string message;
    EXPECT_EQ(DatabaseGameCount(FormatOf(menu.Kind), PathsOf(menu.Index), count, message), 0);
    return count;
  }
};

// Search → list → a double-click: the game loaded at the searched ply, its number current,
// the status bar cleared; "    検索中" and state 4 while the search pumps messages.
TEST_F(SearchCommandsTest, APositionSearchListsItsGamesAndLoadsOneAtTheSearchedPly) {
  for (const SearchMenu& menu : kSearchMenus) {
    SCOPED_TRACE(menu.Index);
    ui = {};
    Prepare(menu);
    BoardAfter(3);
    state.InteractionState = kStateReplaying;
    std::vector<std::string> status_while_running;
    ui.OnPump = [&] {
      states_while_running.insert(state.InteractionState);
      status_while_running.push_back(ui.StatusTexts.empty() ? "" : ui.StatusTexts.back());
    };
    states_while_running.clear();
    ui.SearchAnswers.push_back(Type(PositionMode::kSame));
    ui.GameListAnswers.push_back([](GameListSession& list) { EXPECT_TRUE(list.Choose(0)); });
    const ViewUpdate update = RunCommand(env, menu.Search);

    EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
    EXPECT_EQ(status_while_running, Texts(std::size(kPlies), "    検索中"));
    EXPECT_EQ(ShownWith("検索"), Texts{"　　全部で2件存在します。"});
    ASSERT_EQ(ui.GameLists.size(), 1u);
    EXPECT_EQ(ui.GameLists[0].Title, menu.Title);
    // 逆順表示 is on for the Tarvel list at start: its first line is the last game found.
    const bool reverse = menu.Kind == DatabaseKind::kTarvel;
    EXPECT_EQ(Numbers(ui.GameLists[0].Lines), (reverse ? std::vector{4, 2} : std::vector{2, 4}));
    EXPECT_NE(ui.GameLists[0].Header.find("指し手"), std::string::npos);  // the move column
    const int loaded = reverse ? 4 : 2;
    EXPECT_EQ(SelectionOf(state, menu.Kind).CurrentRecordNo, loaded);
    EXPECT_EQ(UsiMoves(state.Record), UsiMoves(DatedGame(2001, 2, 3, kPlies[loaded - 1])));
    EXPECT_EQ(state.Record.PlyCount, state.Record.StartIndex + 3);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.StatusTexts, (Texts{"    検索中", "", ""}));
    EXPECT_TRUE(update.Parts & kViewBoard);
    EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 2);
    EXPECT_EQ(state.Search.SearchPosition, state.Shown);
  }
}

// A list without a search loads a game at its start; a game whose start is its end shows its
// result in the status bar. 一覧表 follows 逆順表示 and its check mark.
TEST_F(SearchCommandsTest, TheListFollowsReverseOrderAndShowsTheResultOfAGameAtItsEnd) {
  for (const SearchMenu& menu : kSearchMenus) {
    SCOPED_TRACE(menu.Index);
    ui = {};
    Prepare(menu);
    const bool reverse = menu.Kind == DatabaseKind::kTarvel;
    EXPECT_EQ(CommandChecked(state, menu.Reverse), reverse);
    RunCommand(env, menu.Reverse);
    EXPECT_EQ(CommandChecked(state, menu.Reverse), !reverse);
    const struct {
      int line;  // the line double-clicked
      int number;
      bool at_end;
    } cases[] = {{reverse ? 0 : 4, 1, false}, {reverse ? 4 : 0, 5, true}};
    for (const auto& c : cases) {
      ui.GameListAnswers.push_back(
          [&](GameListSession& list) { EXPECT_TRUE(list.Choose(c.line)); });
      RunCommand(env, menu.List);
      EXPECT_EQ(Numbers(ui.GameLists.back().Lines),
                reverse ? (std::vector{1, 2, 3, 4, 5}) : (std::vector{5, 4, 3, 2, 1}));
      EXPECT_EQ(SelectionOf(state, menu.Kind).CurrentRecordNo, c.number);
      EXPECT_EQ(state.Record.PlyCount, state.Record.StartIndex);
      EXPECT_EQ(ui.StatusTexts.back(), c.at_end ? ResultText(state.Record) : "");
      EXPECT_NE(ui.StatusTexts.back().empty(), c.at_end);
    }
  }
}

// The search dialog refuses bad dates with the message, its caption and the field to focus,
// and stays open; キャンセル searches nothing. A search that finds nothing opens no list.
TEST_F(SearchCommandsTest, BadDatesKeepTheDialogOpenAndNothingFoundOpensNoList) {
  const SearchMenu& menu = kSearchMenus[0];
  Prepare(menu);
  const auto dates = [](const char* sy, const char* sm, const char* ey, const char* em) {
    return [=](SearchConditions& c) {
      c.StartYear = sy, c.StartMonth = sm, c.EndYear = ey, c.EndMonth = em;
      return true;
    };
  };
  ui.SearchAnswers = {dates("2000", "4", "2000", "3"), dates("\x82\x51\x82\x4f", "4", "", ""),
                      dates("2000", "13", "2000", "3"), [](SearchConditions&) { return false; }};
  RunCommand(env, menu.Search);
  EXPECT_EQ(ui.MessageTexts(), (Texts{"範囲指定が間違ってます。", "整数を入力してください。",
                                      "1～12の範囲で入力してください。"}));
  EXPECT_EQ(ui.Messages[0].Caption, "対局日");
  EXPECT_EQ(ui.SearchFocus, (std::vector{SearchField::kEndMonth, SearchField::kStartYear,
                                         SearchField::kStartMonth}));
  EXPECT_TRUE(ui.StatusTexts.empty());
  EXPECT_EQ(SelectionOf(state, menu.Kind).SearchCount, 0);

  // Accepted dates are kept for the next dialog; none of the games lies in that range.
  ui = {};
  ui.SearchAnswers = {dates("1990", "1", "1990", "12")};
  RunCommand(env, menu.Search);
  EXPECT_EQ(ShownWith("検索"), Texts{"該当データは存在しません。"});
  EXPECT_TRUE(ui.GameLists.empty());
  EXPECT_EQ(state.Search.EndYear, "1990");
  EXPECT_EQ(state.SearchedDates.EndMonth, 12);
  ui.SearchAnswers = {[](SearchConditions&) { return false; }};
  RunCommand(env, kCmdTarvelSearch);  // no Tarvel database chosen: nothing asked
  SelectionOf(state, DatabaseKind::kTarvel).Paths = PathsOf("none.mix");
  RunCommand(env, kCmdTarvelSearch);
  ASSERT_EQ(ui.SearchShown.size(), 2u);
  EXPECT_EQ(ui.SearchShown[1].StartYear, "1990");
}

// Choosing a database opens its list; an empty one says so instead.
TEST_F(SearchCommandsTest, ChoosingADatabaseOpensItsList) {
  for (const SearchMenu& menu : kSearchMenus) {
    SCOPED_TRACE(menu.Index);
    ui = {};
    Prepare(menu);
    ui.FileAnswers.push_back({true, Folder() + menu.Index, 0});
    RunCommand(env, menu.File);
    ASSERT_EQ(ui.GameLists.size(), 1u);
    EXPECT_EQ(ui.GameLists[0].Lines.size(), std::size(kPlies));
    // A database made new opens no list; chosen again, its empty list says so.
    ui.FileAnswers.push_back({true, Folder() + "empty" + (menu.Index + 5), 0});
    ui.MessageAnswers.push_back(MessageAnswer::kYes);
    RunCommand(env, menu.File);
    EXPECT_EQ(ui.LastMessage(), "ファイルを新規に作成しますか？");
    ui.FileAnswers.push_back({true, Folder() + "empty" + (menu.Index + 5), 0});
    RunCommand(env, menu.File);
    EXPECT_EQ(ui.LastMessage(), "表示対象データがありません。");
    EXPECT_EQ(ui.GameLists.size(), 1u);
  }
}

// 削除: none selected, the question answered no and yes; the list renumbered and written,
// the close rule afterwards; the last game deleted closes the list with its message.
TEST_F(SearchCommandsTest, DeleteRenumbersTheListAndTheCloseRuleFollows) {
  const SearchMenu& menu = kSearchMenus[0];
  Prepare(menu);
  DatabaseSelection& selection = SelectionOf(state, menu.Kind);
  selection.CurrentRecordNo = 3;
  ui.MessageAnswers = {MessageAnswer::kNo, MessageAnswer::kYes};
  ui.GameListAnswers.push_back([&](GameListSession& list) {
    EXPECT_FALSE(list.Delete(-1));
    EXPECT_FALSE(list.Delete(1));  // answered no
    EXPECT_EQ(Count(menu), 5);
    EXPECT_FALSE(list.Delete(1));
    EXPECT_EQ(Numbers(list.Lines()), (std::vector{1, 2, 3, 4}));
    list.Cancel();
  });
  RunCommand(env, menu.List);
  EXPECT_EQ(ShownWith("棋泉"),
            (Texts{"削除データが選択されてません。", "2番目を削除してよろしいでしょうか？",
                   "2番目を削除してよろしいでしょうか？"}));
  EXPECT_EQ(Count(menu), 4);
  EXPECT_EQ(selection.SearchCount, 4);
  EXPECT_EQ(selection.CurrentRecordNo, 0);
  std::vector<int> written;
  ASSERT_TRUE(test::ReadListed(SearchListPath(kKisenFormat, Folder()), written));
  EXPECT_EQ(written, (std::vector{1, 2, 3, 4}));

  // A list of one game: deleting it closes the list.
  ui = {};
  const std::vector<int> one = {2};
  test::PutSearchList(SearchListPath(kKisenFormat, Folder()), one);
  selection.SearchCount = 1;
  ui.MessageAnswers = {MessageAnswer::kYes};
  ui.GameListAnswers.push_back([](GameListSession& list) { EXPECT_TRUE(list.Delete(0)); });
  RunCommand(env, menu.List);
  EXPECT_EQ(ui.LastMessage(), "表示対象データがなくなりました。");
  EXPECT_EQ(selection.SearchCount, 0);
  EXPECT_EQ(Count(menu), 3);
}

// 新規作成: the listed games in the list file's order (not the reversed display) into a new
// database; an existing one only after the question.
TEST_F(SearchCommandsTest, WriteListedCopiesTheListedGamesInFileOrder) {
  const SearchMenu& menu = kSearchMenus[1];
  Prepare(menu);
  BoardAfter(3);
  const auto write_to = [](GameListSession& list) { list.WriteListed(); };
  ui.SearchAnswers.push_back(Type(PositionMode::kSame));
  ui.FileAnswers = {{true, Folder() + "found", 0}, {true, Folder() + "found.mix", 0}};
  ui.GameListAnswers = {write_to};
  RunCommand(env, menu.Search);
  ASSERT_EQ(ui.FileRequests.size(), 1u);
  EXPECT_EQ(ui.FileRequests[0].Title, "Tarvel・新規棋譜ファイル名の設定");
  const DatabasePaths found = PathsOf("found.mix");
  int count = 0;
  std::string message;
  ASSERT_EQ(DatabaseGameCount(kTarvelFormat, found, count, message), 0);
  EXPECT_EQ(count, 2);
  for (int n = 1; n <= 2; ++n) {
    GameRecord read;
    ASSERT_EQ(ReadGame(kTarvelFormat, found, Folder(), n, read, message), n);
    EXPECT_EQ(UsiMoves(read), UsiMoves(DatedGame(2001, 2, 3, kPlies[n == 1 ? 1 : 3])));
  }
  // The whole database listed into the same name: the question; no leaves it, yes replaces it.
  for (const MessageAnswer answer : {MessageAnswer::kNo, MessageAnswer::kYes}) {
    SelectionOf(state, menu.Kind).SearchCount = 0;
    ui.FileAnswers = {{true, Folder() + "found.mix", 0}};
    ui.MessageAnswers = {answer};
    ui.GameListAnswers = {write_to};
    RunCommand(env, menu.List);
    EXPECT_EQ(ui.LastMessage(),
              "すでに棋譜ファイルが存在します。\n上書きしてよろしいでしょうか？　");
    ASSERT_EQ(DatabaseGameCount(kTarvelFormat, found, count, message), 0);
    EXPECT_EQ(count, answer == MessageAnswer::kYes ? 5 : 2);
  }
}

}  // namespace
}  // namespace shogi
