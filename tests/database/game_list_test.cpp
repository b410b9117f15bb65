// The list dialog's model: the golden lines of both formats, paging and the scroll rules, the
// reverse order, opening and closing, and a listed game loaded at the searched ply.
#include "database/game_list.h"

#include <gtest/gtest.h>

#include <numeric>

#include "database/game_database.h"
#include "database/search_list.h"
#include "fixtures/synthetic_database.h"
#include "platform/cp932.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

using test::FileBytes;

class GameListTest : public test::DatabaseFolderTest {
 protected:
  // The header and the lines of the first page (UTF-8, to read failures; the bytes were
  // compared in cp932 first).
  std::vector<std::string> Shown(const GameList& list, const ListSettings& settings,
                                 const PositionPattern& searched) const {
    std::vector<GameList::Line> lines;
    std::string message;
    EXPECT_EQ(list.Page(settings, searched, lines, message), 0) << message;
    std::vector<std::string> shown = {list.HeaderLine(settings)};
    for (const GameList::Line& line : lines) shown.push_back(line.Text);
    return shown;
  }
  std::vector<int> Numbers(const GameList& list, const ListSettings& settings) const {
    std::vector<GameList::Line> lines;
    std::string message;
    EXPECT_EQ(list.Page(settings, PositionPattern(PositionMode::kNone, {}), lines, message), 0);
    std::vector<int> numbers;
    for (const GameList::Line& line : lines) numbers.push_back(line.RecordNo);
    return numbers;
  }
};

// A first player's horse on 2二, alone, looked for turned round as well: the even game has it
// before its 4th move, the lance game has the second player's horse on 8八 before its 6th.
Position HorseOn22() {
  Position pos{};
  pos.Board[SquareOf(2, 2)] = kHorse;
  return pos;
}

TEST_F(GameListTest, GoldenLinesOfBothFormatsWithEveryColumnType) {
  WriteGoldenLists();
  const std::string k2 = std::string(2, ' '), k8 = std::string(8, ' '), k12 = std::string(12, ' '),
                    k14 = std::string(14, ' ');
  struct Case {
    const DatabaseFormat& format;
    int first, second;
    PositionMode mode;
    std::string header, line1, line2;  // UTF-8 as written here, compared in cp932
  } cases[] = {
      {kKisenFormat, 0, 1, PositionMode::kNone,
       " 番号     先手         後手       対局日  棋戦　   　　　　戦型　",
       "     1 羽生　善治   谷川浩司     01/ 4/ 9 名人戦           矢倉",
       "     2              谷川浩司     99/12/31 " + k14 + "   " + k14},
      {kTarvelFormat, 0, 1, PositionMode::kNone,
       " 番号     先手         後手       対局日  棋戦　   　　　　戦型　",
       "     1 羽生善治名人 X谷川浩司九  01/ 4/ 9 第10期　名人戦   矢倉",
       "     2 大山康晴     谷川浩司     99/12/31 " + std::string(17, ' ')},
      {kKisenFormat, 3, 4, PositionMode::kNone,
       " 番号     先手         後手       対局日  局　　   　　　　勝敗　",
       "     1 羽生　善治   谷川浩司     01/ 4/ 9  2               先手勝ち",
       "     2 " + k12 + " 谷川浩司     99/12/31 " + k2 + k14 + " 上手勝ち"},
      {kTarvelFormat, 5, 6, PositionMode::kNone,
       " 番号     先手         後手       対局日  手数　   　　　　手合い",
       "     1 羽生善治名人 X谷川浩司九  01/ 4/ 9    5             平手",
       "     2 大山康晴     谷川浩司     99/12/31    7             香落ち"},
      // Without a position search the moves are the first and the second.
      {kKisenFormat, 2, 7, PositionMode::kNone,
       " 番号     先手         後手       対局日  指し手   　　　　指し手２",
       "     1 羽生　善治   谷川浩司     01/ 4/ 9 ▲７六歩         △３四歩" + k8,
       "     2 " + k12 + " 谷川浩司     99/12/31 △３四歩         ▲７六歩" + k8},
      {kTarvelFormat, 2, 7, PositionMode::kSimilarOrReversed,
       " 番号     先手         後手       対局日  指し手   　　　　指し手２",
       "     1 羽生善治名人 X谷川浩司九  01/ 4/ 9 △同　銀         ▲４五角" + k8,
       "     2 大山康晴     谷川浩司     99/12/31 ▲７八銀         △５五角" + k8},
      // A game that does not reach the searched position shows its first moves.
      {kKisenFormat, 7, 2, PositionMode::kSimilar,
       " 番号     先手         後手       対局日  指し手２ 　　　　指し手",
       "     1 羽生　善治   谷川浩司     01/ 4/ 9 ▲４五角         △同　銀" + k8,
       "     2 " + k12 + " 谷川浩司     99/12/31 ▲７六歩         △３四歩" + k8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format.Caption) + " " + std::to_string(c.first) + "," +
                 std::to_string(c.second));
    DatabaseSelection selection;
    selection.Paths = CopyGolden(c.format);
    GameList list;
    std::string message;
    ASSERT_EQ(list.Open(c.format, Folder(), selection, message), 0) << message;
    ListSettings settings;
    settings.Columns[0] = c.first;
    settings.Columns[1] = c.second;
    settings.ReverseOf(c.format) = false;
    const std::vector<std::string> expected = {Cp932(c.header), Cp932(c.line1), Cp932(c.line2)};
    const std::vector<std::string> shown =
        Shown(list, settings, PositionPattern(c.mode, HorseOn22()));
    EXPECT_EQ(shown, expected);
    for (std::size_t i = 0; i < shown.size() && i < expected.size(); ++i)
      EXPECT_EQ(Utf8(shown[i]), Utf8(expected[i]));
  }
}

// 45 entries: pages at 0, 20 and 25 down, 5 and 0 up; in reverse order the first line shows
// the last number. A list built for SearchCount 0 is every game, written to the list file.
TEST_F(GameListTest, PagesAndScrollRulesOfFortyFiveEntries) {
  DatabaseSelection selection;
  selection.Paths = PathsOf("games.mix");
  ASSERT_TRUE(test::WriteSyntheticDatabase(
      kTarvelFormat, selection.Paths, 45, test::RandomGames(kTarvelFormat, 3, 4, 2, 5)));
  GameList list;
  std::string message;
  ASSERT_EQ(list.Open(kTarvelFormat, Folder(), selection, message), 0);
  EXPECT_EQ(selection.SearchCount, 45);
  std::vector<int> all(45);
  std::iota(all.begin(), all.end(), 1);
  std::vector<int> read;
  ASSERT_TRUE(test::ReadListed(SearchListPath(kTarvelFormat, Folder()), read));
  EXPECT_EQ(read, all);
  EXPECT_EQ(list.ScrollMax(), 25);

  using Action = GameList::ScrollAction;
  struct Step {
    Action action;
    int thumb;
    bool changed;
    int top;
  } steps[] = {
      {Action::kArrowDown, 0, true, 20},    {Action::kArrowDown, 0, true, 25},
      {Action::kArrowDown, 0, false, 25},   {Action::kOther, 0, false, 25},
      {Action::kArrowUp, 0, true, 5},       {Action::kArrowUp, 0, true, 0},
      {Action::kArrowUp, 0, false, 0},      {Action::kThumbReleased, 30, true, 25},
      {Action::kThumbReleased, 7, true, 7}, {Action::kArrowDown, 0, true, 25},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(list.Scroll(s.action, s.thumb), s.changed) << list.Top();
    EXPECT_EQ(list.Top(), s.top);
  }
  ListSettings settings;  // the Tarvel list starts in reverse order
  EXPECT_EQ(Numbers(list, settings), std::vector<int>(all.rbegin() + 25, all.rend()));
  settings.ReverseOf(kTarvelFormat) = false;
  EXPECT_EQ(Numbers(list, settings), std::vector<int>(all.begin() + 25, all.end()));
  list.Scroll(Action::kThumbReleased, 0);
  EXPECT_EQ(Numbers(list, settings), std::vector<int>(all.begin(), all.begin() + 20));
  settings.ReverseOf(kTarvelFormat) = true;
  EXPECT_EQ(Numbers(list, settings).front(), 45);

  // A search's list; a number the database does not hold gives no line.
  selection.SearchCount = 3;
  test::PutSearchList(SearchListPath(kTarvelFormat, Folder()), {3, 46, 9, 40});
  ASSERT_EQ(list.Open(kTarvelFormat, Folder(), selection, message), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ScrollMax(), 0);
  EXPECT_EQ(Numbers(list, settings), (std::vector<int>{9, 3}));
}

TEST_F(GameListTest, OpeningClosingColumnsAndTheLoadedGame) {
  DatabaseSelection selection;
  selection.Paths = PathsOf("empty.idx");
  GameList list;
  std::string message;
  EXPECT_EQ(list.Open(kKisenFormat, Folder(), selection, message), 1);
  EXPECT_EQ(message, "指定ファイルが存在しません。");
  ASSERT_EQ(CreateDatabase(kKisenFormat, selection.Paths, message), 0);
  EXPECT_EQ(list.Open(kKisenFormat, Folder(), selection, message), 1);
  EXPECT_EQ(message, "表示対象データがありません。");

  selection.Paths = CopyGolden(kKisenFormat);
  ASSERT_EQ(list.Open(kKisenFormat, Folder(), selection, message), 0);
  struct Close {
    int count;  // SearchCount when キャンセル is pressed
    const char* message;
    int current;
  } closes[] = {{2, "", 7}, {1, "", 0}, {0, "表示対象データがなくなりました。", 0}};
  for (const Close& c : closes) {
    selection.SearchCount = c.count;
    selection.CurrentRecordNo = 7;
    EXPECT_EQ(list.Close(selection), c.message);
    EXPECT_EQ(selection.CurrentRecordNo, c.current);
  }

  ListSettings settings;
  EXPECT_FALSE(settings.ReverseOf(kKisenFormat));
  EXPECT_TRUE(settings.ReverseOf(kTarvelFormat));
  for (int i = 0; i < 7; ++i) AdvanceListColumn(settings, 1);
  EXPECT_EQ(settings.Columns[1], 0);
  AdvanceListColumn(settings, 0);
  EXPECT_EQ(settings.Columns[0], 1);
  EXPECT_STREQ(ListColumnHeader(7), "指し手２");

  // The game at the searched ply, or at its start; the result message at its end only.
  int empty = 0;
  GameRecord no_moves = test::GoldenEvenGame();
  no_moves.MoveList[0] = MoveCode{};
  ASSERT_EQ(RegisterGame(kKisenFormat, selection.Paths, DatabaseNames{}, no_moves, empty, message),
            0);
  struct Load {
    int number;
    PositionMode mode;
    int ply;
    const char* status;
  } loads[] = {{2, PositionMode::kSimilarOrReversed, 6, ""},
               {2, PositionMode::kSimilar, 1, ""},
               {1, PositionMode::kSimilar, 3, ""},
               {empty, PositionMode::kNone, 0, "先手勝ちです。"}};
  for (const Load& l : loads) {
    static GameRecord record;
    std::string status = "old";
    ASSERT_EQ(LoadListedGame(kKisenFormat, Folder(), l.number, PositionPattern(l.mode, HorseOn22()),
                             selection, record, status, message),
              l.number);
    EXPECT_EQ(record.PlyCount, l.ply) << l.number;
    EXPECT_EQ(status, l.status) << l.number;
    EXPECT_EQ(selection.CurrentRecordNo, l.number);
  }
  std::string status = "kept";
  EXPECT_EQ(LoadListedGame(kKisenFormat, Folder(), 9, PositionPattern(PositionMode::kNone, {}),
                           selection, no_moves, status, message),
            0);
  EXPECT_EQ(status, "kept");
  EXPECT_EQ(selection.CurrentRecordNo, empty);
}

}  // namespace
}  // namespace shogi
