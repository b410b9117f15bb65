// Browsing a record: steps, continuous replay, the result menu, replay speed, time used.
#include "shell/navigation.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/command_table.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

const char* const kLanceHandicap = test::HandicapSfen(Handicap::kLance);

class NavigationTest : public ShellFixture {
 protected:
  // A record of `usi` moves from the standard position or the lance handicap, with the
  // given cumulative times, shown at its start.
  void MakeRecord(const std::string& usi, const std::vector<int>& times, int start_index = 0,
                  int result = kResultNone) {
    InitProgramState(state);
    LoadSfen(start_index == 1 ? kLanceHandicap : "startpos", usi, times);
    state.Record.ResultCode = result;
  }
};

TEST_F(NavigationTest, TheEndOfTheRecordShowsItsResult) {
  struct Case {
    int start_index, result;
    const char* text;
  } cases[] = {
      {1, kResultSecondWins, "上手勝ちです。"},
      {0, kResultSecondWins, "後手勝ちです。"},
      {0, kResultNone, "指し掛けです。"},
      {1, kResultFirstWinsLater, "以下下手勝ち。"},
  };
  for (const Case& c : cases) {
    MakeRecord("5a4b 7g7f", {}, c.start_index, c.result);
    StepForward(state);
    EXPECT_EQ(state.Message.Lines[0], "");
    StepForward(state);
    EXPECT_EQ(state.Message.Lines[0], c.text);
    EXPECT_FALSE(CommandEnabled(state, kCmdStepForward));
    StepBack(ctx);
    EXPECT_EQ(state.Message.Lines[0], "");
  }
}

// A handicap record starts at ply 1: after every step the board is the position of a game
// played move by move from the handicap position.
TEST_F(NavigationTest, HandicapRecordShowsEachPositionOnItsWay) {
  const char* const moves = "5a4b 7g7f 8b5b 2g2f 4b3b 2f2e 3c3d 2e2d 2c2d 2h2d P*2c 2d2h";
  MakeRecord(moves, {}, 1);
  test::Game game(kLanceHandicap);
  std::vector<Position> positions = {game.pos};
  for (const std::string& move : test::SplitUsi(moves)) {
    ASSERT_TRUE(game.Play(move));
    positions.push_back(game.pos);
  }
  EXPECT_EQ(state.Shown, positions[0]);
  for (std::size_t i = 1; i < positions.size(); ++i) {
    StepForward(state);
    EXPECT_EQ(state.Record.PlyCount, static_cast<int>(i) + 1);
    EXPECT_EQ(ToSfen(state.Shown, SideToMove(state)), ToSfen(positions[i], SideToMove(state)));
  }
  StepBack(ctx);
  EXPECT_EQ(state.Shown, positions[positions.size() - 2]);
  ToInitialPosition(state);
  EXPECT_EQ(state.Shown, positions[0]);
  ToLastPosition(state);
  EXPECT_EQ(state.Shown, positions.back());
}

// A click in the move list shows any ply from the record's start up to its end, the end
// included; a ply outside (one past the end, before the start) changes nothing.
TEST_F(NavigationTest, ShowPlyTakesThePliesOfTheRecordAndNoOther) {
  const std::pair<int, int> cases[] = {{3, 3}, {4, 1}, {0, 1}, {2, 2}};  // asked, then shown
  for (const auto& [asked, shown] : cases) {
    MakeRecord("5a4b 7g7f", {}, 1, kResultSecondWins);  // plies 1..3
    ShowPly(state, asked);
    EXPECT_EQ(state.Record.PlyCount, shown) << asked;
  }
}

TEST_F(NavigationTest, ClocksFollowTheMoveTimes) {
  MakeRecord("7g7f 3c3d 2g2f 8c8d", {10, 20, 35, 50});
  ToLastPosition(state);
  EXPECT_EQ(state.Record.PlyCount, 4);
  EXPECT_EQ(state.Record.Clocks[0], 35);
  EXPECT_EQ(state.Record.Clocks[1], 50);
  StepBack(ctx);
  EXPECT_EQ(state.Record.Clocks[0], 35);
  EXPECT_EQ(state.Record.Clocks[1], 20);
  ToInitialPosition(state);
  EXPECT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 0);
  EXPECT_EQ(state.Shown, kInitialPosition);
  StepForward(state);
  EXPECT_EQ(state.Record.Clocks[0], 10);
  StepForward(state);
  EXPECT_EQ(state.Record.Clocks[1], 20);
}

TEST_F(NavigationTest, ChoosingAResultInTheMiddleCutsTheRecord) {
  MakeRecord("7g7f 3c3d 2g2f 8c8d", {10, 20, 35, 50});
  StepForward(state);
  StepForward(state);
  ChooseResult(state, kResultFirstWinsLater);
  EXPECT_EQ(state.Record.ResultCode, kResultFirstWinsLater);
  EXPECT_EQ(Moves(), "7g7f 3c3d");
  EXPECT_EQ(state.Record.MoveTimes[2], 10);  // the first player's clock, to move at ply 2
  EXPECT_TRUE(CommandChecked(state, ResultCommand(kResultFirstWinsLater)));

  // During set-up only the code changes.
  MakeRecord("7g7f 3c3d", {});
  state.InteractionState = kStateSetUp;
  ChooseResult(state, kResultImpasse);
  EXPECT_EQ(state.Record.ResultCode, kResultImpasse);
  EXPECT_EQ(Moves(), "7g7f 3c3d");
}

TEST_F(NavigationTest, ContinuousReplayStepsOnEachTimerUntilTheEnd) {
  MakeRecord("7g7f 3c3d 2g2f", {});
  state.Settings.ReplayInterval = 400;
  ViewUpdate u = StartContinuousForward(state);
  EXPECT_EQ(state.InteractionState, kStateReplaying);
  EXPECT_TRUE(u.StartTimers & kTimerReplayForward);
  EXPECT_EQ(u.ReplayInterval, 400);
  u = ReplayForwardTimer(state);
  EXPECT_TRUE(u.StartTimers & kTimerReplayForward);
  u = ReplayForwardTimer(state);
  EXPECT_EQ(state.Record.PlyCount, 3);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_TRUE(u.StopTimers & kTimerReplayForward);
  EXPECT_FALSE(u.StartTimers & kTimerReplayForward);
  EXPECT_EQ(state.Message.Lines[0], "指し掛けです。");

  // Backwards, stopped half way by the right button; a late timer then does nothing.
  u = ContinuousBack(ctx);
  EXPECT_TRUE(u.StartTimers & kTimerReplayBack);
  EXPECT_EQ(state.Record.PlyCount, 2);
  u = StopContinuousReplay(state);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_TRUE(u.StopTimers & kTimerReplayBack);
  ReplayBackTimer(state);
  EXPECT_EQ(state.Record.PlyCount, 2);
}

TEST_F(NavigationTest, ReplaySpeedScrollBarSteps) {
  struct Case {
    int from;
    ScrollAction action;
    int thumb, expected;
  } cases[] = {
      {900, ScrollAction::kLineLess, 0, 400},     {600, ScrollAction::kLineLess, 0, 100},
      {599, ScrollAction::kLineLess, 0, 100},     {2000, ScrollAction::kLineLess, 0, 1500},
      {2500, ScrollAction::kLineLess, 0, 1500},   {10000, ScrollAction::kLineLess, 0, 9000},
      {12000, ScrollAction::kLineLess, 0, 7000},  {100, ScrollAction::kLineMore, 0, 600},
      {1999, ScrollAction::kLineMore, 0, 2499},   {2000, ScrollAction::kLineMore, 0, 3000},
      {10000, ScrollAction::kLineMore, 0, 11000}, {16000, ScrollAction::kLineMore, 0, 20000},
      {900, ScrollAction::kThumb, 7300, 7300},    {900, ScrollAction::kThumb, 20, 100},
      {900, ScrollAction::kOther, 0, 900},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaySpeedStep(c.from, c.action, c.thumb), c.expected)
        << c.from << " " << static_cast<int>(c.action);
  }
  ui.SpeedAnswers = {5000, std::nullopt};
  ChooseReplaySpeed(ctx);
  ChooseReplaySpeed(ctx);
  EXPECT_EQ(state.Settings.ReplayInterval, 5000);
}

TEST_F(NavigationTest, TimeUsedNeedsMovesAndResetsTheClocks) {
  int edits = 0;
  auto editor = [&](GameRecord& r) {
    ++edits;
    r.MoveTimes[0] = 60;
    r.MoveTimes[1] = 120;
    r.MoveTimes[2] = 180;
    return true;
  };
  EditTimeUsed(ctx, editor);
  EXPECT_EQ(edits, 0);
  EXPECT_EQ(ui.LastMessage(), "指し手が存在しません。");
  EXPECT_EQ(ui.Messages.back().Caption, "消費時間");

  MakeRecord("7g7f 3c3d 2g2f", {});
  ToLastPosition(state);
  EditTimeUsed(ctx, editor);
  EXPECT_EQ(edits, 1);
  EXPECT_EQ(state.Record.Clocks[1], 120);  // side to move at ply 3: from move times 1
  EXPECT_EQ(state.Record.Clocks[0], 180);
}

}  // namespace
}  // namespace shogi
