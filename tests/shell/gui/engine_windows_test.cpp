// The エンジン menu in the window, with the scripted stand-in engine: the list and options
// dialogs, a game against an engine started from the conditions dialog (the window alive
// while it thinks for ten seconds: repaints and clock ticks are printed), and the 検討 panel
// following the shown position. Pictures go to build/gui-pictures/.
#include <wx/stopwatch.h>

#include <cstdio>

#include "players/engine_player.h"
#include "shell/conditions_dialog.h"
#include "shell/engine_commands.h"
#include "shell/gui/conditions_window.h"
#include "shell/gui/engine_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

using test::ScriptedUserInterface;

class EngineWindowsTest : public GuiFixture {
 protected:
  static EngineEntry Probed(const std::string& mode) {
    EngineEntry e;
    std::string message;
    EXPECT_EQ(ProbeEngine(std::string(SHOGI_FAKE_USI_ENGINE) + " " + mode, {5, 2}, e, message), 0)
        << message;
    e.Name += " (" + mode + ")";
    return e;
  }
  // Pumps events for `ms` milliseconds, so that the timers run.
  static void PumpFor(int ms) {
    wxStopWatch watch;
    while (watch.Time() < ms) {
      Pump();
      wxMilliSleep(10);
    }
  }
};

TEST_F(EngineWindowsTest, ListAndOptionsDialogs) {
  EngineList list{Probed("good")};
  ui.FileAnswers.push_back({true, SHOGI_FAKE_USI_ENGINE, 0});
  {
    CEngineListDialog dialog(frame, list, ui);
    dialog.Add();  // the stand-in engine without arguments answers as "good"
    ASSERT_EQ(dialog.List()->GetCount(), 2u);
    SaveShownDialogPicture(dialog, "engine_list");
    dialog.List()->SetSelection(0);
    dialog.RemoveSelected();
    ASSERT_TRUE(dialog.TransferDataFromWindow());
    dialog.Hide();
  }
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Name, "Fake Engine");

  EngineEntry entry = list[0];
  CEngineOptionsDialog dialog(frame, entry, ui);
  ASSERT_EQ(entry.Offered.size(), 6u);
  EXPECT_EQ(dialog.ValueOf(4), "hello there");
  dialog.SetValueOf(0, "5");      // Skill
  dialog.SetValueOf(2, "Risky");  // Style
  dialog.SetValueOf(5, "true");   // Clear Hash: pressed at start
  SaveShownDialogPicture(dialog, "engine_options");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  dialog.Hide();
  // Only what differs from the engine's defaults is kept.
  ASSERT_EQ(entry.Values.size(), 3u);
  EXPECT_EQ(entry.Values[0].Name, "Skill");
  EXPECT_EQ(entry.Values[0].Value, "5");
  EXPECT_EQ(entry.Values[1].Value, "Risky");
  EXPECT_EQ(entry.Values[2].Name, "Clear Hash");
}

// The conditions dialog offers the engine; the game runs with the window alive: the clock
// timer and repaints go on during a ten-second search.
TEST_F(EngineWindowsTest, GameAgainstAnEngineKeepsTheWindowAlive) {
  EngineEntry thinker = Probed("think");
  thinker.ByoyomiSeconds = 10;
  view->Engines().SetList({thinker});

  GameConditions c;
  c.ComputerMode = true;
  c.Engines = view->Engines().Names();
  {
    CTaikyoku dialog(frame, c, std::string(SHOGI_BIN_DIR) + "/", ui);
    ConditionsForm form = dialog.Form();
    form.FirstPlayer = thinker.Name;
    dialog.SetForm(form);
    SaveShownDialogPicture(dialog, "engine_conditions");
    dialog.Hide();
  }

  ui.ConditionsAnswers.push_back(
      ScriptedUserInterface::AcceptPlayers(kFirstEnginePlayer, kPersonPlayer));
  view->ClearRepaintLog();
  wxStopWatch watch;
  view->RunCommand(kCmdStartComputerGame);
  const long ms = watch.Time();
  const std::size_t repaints = view->RepaintLog().size();
  std::printf("engine search of %.1f s: %zu repaints, the mover's clock at %d s\n", ms / 1000.0,
              repaints, view->State().Record.MoveTimes[0]);
  EXPECT_EQ(Moves().size(), 4u) << ui.LastMessage();  // one move, e.g. "1g1f"
  // The figures depend on the machine's load; that the clock ran and the view repainted
  // while the engine thought is what must hold.
  EXPECT_GT(view->State().Record.MoveTimes[0], 0);
  EXPECT_GT(repaints, 0u);
  Pump();
  SavePicture("engine_game");
}

TEST_F(EngineWindowsTest, AnalysisPanelFollowsTheShownPosition) {
  view->Engines().SetList({Probed("good")});
  view->State().Record = test::MakeRecord("startpos", "7g7f 3c3d 8h2b+");
  RebuildShown(view->State());
  view->RunCommand(kCmdAnalysis);
  ASSERT_NE(view->AnalysisPanel(), nullptr) << ui.LastMessage();
  EXPECT_TRUE(CommandChecked(view->State(), kCmdAnalysis));
  PumpFor(600);
  EXPECT_NE(view->AnalysisPanel()->Text().ToStdString(wxConvUTF8).find("+42"), std::string::npos)
      << view->AnalysisPanel()->Text();
  view->RunCommand(kCmdToLast);
  PumpFor(600);
  const std::string text = view->AnalysisPanel()->Text().ToStdString(wxConvUTF8);
  EXPECT_NE(text.find("3手目 後手番"), std::string::npos) << text;
  EXPECT_NE(text.find("-42"), std::string::npos) << text;
  EXPECT_NE(text.find("読み筋: △"), std::string::npos) << text;
  SaveShownDialogPicture(*view->AnalysisPanel(), "analysis_panel");
  view->RunCommand(kCmdAnalysis);
  EXPECT_EQ(view->AnalysisPanel(), nullptr);
  EXPECT_FALSE(view->State().Analysing);
}

}  // namespace
}  // namespace shogi::gui
