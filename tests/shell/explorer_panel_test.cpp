// The 局面統計 panel: its rows for the shown position, its double-clicks, and
// 局面インデックス作成 with the panel answering the same from the index.
#include <filesystem>

#include "database/position_index.h"
#include "platform/cp932.h"
#include "shell/explorer_panel.h"
#include "tests/shell/database_command_fixture.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

class ExplorerPanelTest : public DatabaseCommandFixture {
 protected:
  void SetUp() override {
    DatabaseCommandFixture::SetUp();
    GameRecord pawn = test::MakeRecord("startpos", "2g2f 8c8d");
    test::SetHeader(pawn, "甲", "乙", "", "", 0, 2000, 6, 1, kResultSecondWins);
    paths = WriteGames(kTarvelFormat, "games.mix",
                       {test::GoldenEvenGame(), test::DatedGame(2003, 5, 5, 3),
                        test::DatedGame(1999, 1, 1, 0), pawn});
  }
  void Choose() {
    state.Tarvel.Paths = paths;
    state.LastChosenDatabase = DatabaseKind::kTarvel;
  }
  // The panel's rows as text, a line each.
  static std::string Rows(const ExplorerPanelView& v) {
    std::string text = v.Heading.substr(v.Heading.rfind(' ') + 1) + "\n";
    for (const ExplorerMoveRow& m : v.Moves)
      text +=
          m.Text + " " + m.Games + " " + m.FirstWins + " " + m.SecondWins + " " + m.Other + "\n";
    for (const ExplorerGameRow& g : v.Games)
      text += g.NumberText + " " + g.Date + " " + g.FirstPlayer + " " + g.SecondPlayer + " " +
              g.Result + " " + g.PlyText + "\n";
    return text;
  }

  DatabasePaths paths;
  ExplorerPanel panel{Folder()};
};

TEST_F(ExplorerPanelTest, RowsFollowTheShownPositionAndDoubleClicksPlayOrLoad) {
  EXPECT_TRUE(panel.Follow(ctx));
  EXPECT_EQ(panel.View().Heading, kExplorerNoDatabase);
  Choose();
  ASSERT_TRUE(panel.Follow(ctx));
  EXPECT_EQ(Rows(panel.View()),
            "4局\n"
            "▲７六歩 2 2 (100%) 0 (0%) 0 (0%)\n"
            "▲２六歩 1 0 (0%) 1 (100%) 0 (0%)\n"
            "2 2003-05-05 先手 後手 先手勝ち 0手目\n"
            "1 2001-04-09 羽生善治名人 X谷川浩司九 先手勝ち 0手目\n"
            "4 2000-06-01 甲 乙 後手勝ち 0手目\n"
            "3 1999-01-01 先手 後手 先手勝ち 0手目\n");
  EXPECT_FALSE(panel.Follow(ctx));  // the same position is not asked again
  state.InteractionState = kStateGame;
  EXPECT_TRUE(panel.Follow(ctx));
  EXPECT_EQ(Rows(panel.View()), std::string(kExplorerNotIdle) + "\n");
  state.InteractionState = kStateIdle;
  EXPECT_TRUE(panel.Follow(ctx));  // asked again once the record is browsed

  // The second move row: another line than the record's; then the first: the record's own.
  state.Record = test::MakeRecord("startpos", "7g7f 3c3d");
  state.Record.ResultCode = kResultFirstWins;
  RebuildShown(state);
  EXPECT_FALSE(panel.Follow(ctx));  // the same position: the rows stand
  (void)panel.PlayMove(ctx, 1);
  EXPECT_EQ(test::UsiMoves(state.Record), "2g2f");
  EXPECT_EQ(state.Record.PlyCount, 1);
  EXPECT_EQ(state.Record.ResultCode, kResultNone);
  state.Record = test::MakeRecord("startpos", "7g7f 3c3d");
  RebuildShown(state);
  (void)panel.PlayMove(ctx, 0);
  EXPECT_EQ(test::UsiMoves(state.Record), "7g7f 3c3d");
  EXPECT_EQ(state.Record.PlyCount, 1);
  ASSERT_TRUE(panel.Follow(ctx));
  const std::string after = "2局\n△３四歩 2 2 (100%) 0 (0%) 0 (0%)\n";
  EXPECT_EQ(Rows(panel.View()).substr(0, after.size()), after);

  // A game row: that game at the position's ply, the database's current game.
  (void)panel.LoadGame(ctx, 1);
  EXPECT_EQ(Utf8(state.Record.FirstName), "羽生善治名人");
  EXPECT_EQ(state.Record.PlyCount, 1);
  EXPECT_EQ(state.Tarvel.CurrentRecordNo, 1);
}

// キャンセル in the progress box stops the pass: the panel says so, the box closes, the
// database commands were held meanwhile and the state is idle again.
TEST_F(ExplorerPanelTest, APassStoppedInTheProgressBoxSaysSo) {
  Choose();
  ExplorerPanel at_once{Folder(), std::chrono::milliseconds(0)};
  ui.ProgressAnswer = [](const std::string&) { return false; };
  ASSERT_TRUE(at_once.Follow(ctx));
  EXPECT_EQ(at_once.View().Heading, kMessageExplorerStopped);
  EXPECT_EQ(ui.ProgressTexts, std::vector<std::string>{"局面統計 0 / 4"});
  EXPECT_EQ(ui.ProgressEnds, 1);
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
  EXPECT_EQ(state.InteractionState, kStateIdle);
  ui.ProgressAnswer = {};
  EXPECT_TRUE(at_once.Follow(ctx));  // asked again
  EXPECT_EQ(at_once.View().Moves.size(), 2u);
}

TEST_F(ExplorerPanelTest, TheIndexAnswersTheSameAndAStaleOneIsSaid) {
  Choose();
  ASSERT_TRUE(panel.Follow(ctx));
  const std::string scanned = Rows(panel.View());
  ASSERT_TRUE(CommandEnabled(state, kCmdTarvelPositionIndex));
  EXPECT_FALSE(CommandEnabled(state, kCmdKisenPositionIndex));
  (void)RunCommand(env, kCmdTarvelPositionIndex);
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_EQ(ui.StatusTexts.back().substr(0, 45), "局面インデックスを作成しました");
  ExplorerAnswer answer;
  EXPECT_EQ(ExploreFromIndex(kTarvelFormat, paths, ExplorerQuery{}, answer), IndexUse::kUsed);
  panel.Forget();
  ASSERT_TRUE(panel.Follow(ctx));
  EXPECT_EQ(Rows(panel.View()), scanned);
  // A database changed behind the index: the pass answers and the status bar says why.
  std::filesystem::resize_file(paths.Moves(kTarvelFormat), 3 * kMoveBlockBytes);
  ASSERT_TRUE(panel.Follow(ctx));
  EXPECT_EQ(ui.StatusTexts.back(), IndexUseNote(IndexUse::kStale));
}

}  // namespace
}  // namespace shogi
