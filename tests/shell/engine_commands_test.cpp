// The エンジン menu: the list dialog's answer kept in the profile and given to the players,
// and 検討 started, restarted on another shown position, stopped by the toggle, by a game, or
// by a failing engine.
#include "shell/engine_commands.h"

#include <gtest/gtest.h>

#include "players/engine_analysis.h"
#include "players/engine_player.h"
#include "shell/navigation.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

class EngineCommandsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    ctx.Engines = &engines;
    ctx.Analysis = &analysis;
    analysis.SetLimits({2, 1});
  }
  void TearDown() override { StopAnalysis(ctx); }

  static EngineEntry Fake(const std::string& mode) {
    EngineEntry e;
    e.Name = "Fake " + mode;
    e.Command = std::string(SHOGI_FAKE_USI_ENGINE) + " " + mode;
    return e;
  }
  // Ticks until the panel shows a principal variation (the engine's info arrived).
  void TickUntilShown() {
    for (int i = 0; i < 300 && state.Analysing; ++i) {
      TickAnalysis(ctx);
      if (!ui.AnalysisShown.empty() && !ui.AnalysisShown.back().Pv.empty()) return;
    }
  }

  MemoryProfile profile;
  EnginePlayer engines{&state.AbortFlag};
  EngineAnalysis analysis;
};

TEST_F(EngineCommandsTest, TheListDialogsAnswerGoesToTheProfileAndThePlayers) {
  ui.EngineListAnswers.push_back([](EngineList& list) {
    list.push_back(Fake("good"));
    return true;
  });
  ui.EngineListAnswers.push_back([](EngineList& list) {
    list.clear();
    return false;  // キャンセル: nothing changes
  });
  ManageEngines(ctx, profile);
  ManageEngines(ctx, profile);
  ASSERT_EQ(engines.List().size(), 1u);
  ASSERT_EQ(LoadEngineList(profile).size(), 1u);
  EXPECT_EQ(LoadEngineList(profile)[0].Name, "Fake good");
}

TEST_F(EngineCommandsTest, AnalysisFollowsTheShownPositionUntilStopped) {
  ToggleAnalysis(ctx);
  EXPECT_EQ(ui.LastMessage(), kNoEngineMessage);
  EXPECT_FALSE(state.Analysing);

  engines.SetList({Fake("good")});
  LoadSfen("startpos", "7g7f 3c3d");
  ToggleAnalysis(ctx);
  ASSERT_TRUE(state.Analysing);
  TickUntilShown();
  ASSERT_FALSE(ui.AnalysisShown.empty());
  EXPECT_EQ(ui.AnalysisShown.back().Position, "0手目 先手番");
  EXPECT_EQ(ui.AnalysisShown.back().Score, "+42");
  // Stepping forward restarts it on the new position.
  StepForward(state);
  ui.AnalysisShown.clear();
  TickUntilShown();
  ASSERT_FALSE(ui.AnalysisShown.empty());
  EXPECT_EQ(ui.AnalysisShown.back().Position, "1手目 後手番");
  EXPECT_EQ(ui.AnalysisShown.back().Pv.rfind("△", 0), 0u);
  // The toggle stops it and hides the panel.
  ToggleAnalysis(ctx);
  EXPECT_FALSE(state.Analysing);
  EXPECT_FALSE(ui.AnalysisOpen);
  EXPECT_FALSE(analysis.Running());

  // Leaving the idle state (a game begins) ends it too.
  ToggleAnalysis(ctx);
  ASSERT_TRUE(state.Analysing);
  state.InteractionState = kStateGame;
  TickAnalysis(ctx);
  EXPECT_FALSE(state.Analysing);
  EXPECT_FALSE(analysis.Running());
}

TEST_F(EngineCommandsTest, FailingEngineEndsTheAnalysisWithAMessage) {
  engines.SetList({Fake("crash")});  // ends at its second "go"
  LoadSfen("startpos", "7g7f");
  ToggleAnalysis(ctx);
  ASSERT_TRUE(state.Analysing);
  StepForward(state);
  for (int i = 0; i < 300 && state.Analysing; ++i) TickAnalysis(ctx);
  EXPECT_FALSE(state.Analysing);
  EXPECT_FALSE(ui.AnalysisOpen);
  EXPECT_EQ(ui.LastMessage().rfind(kEngineFailurePrefix, 0), 0u) << ui.LastMessage();
}

}  // namespace
}  // namespace shogi
