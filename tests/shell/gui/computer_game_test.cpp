// A game against 思考ﾚﾍﾞﾙ3 in the window: the person's moves dragged with the mouse, the
// computer's clock running while it thinks, and a right click that stops its thinking.
#include <gtest/gtest.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include "players/engine_player.h"
#include "players/inprocess_player.h"
#include "rules/move_rules.h"
#include "shell/command_table.h"
#include "shell/gui/conditions_window.h"
#include "shell/view_layout.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

using test::ScriptedUserInterface;

class ComputerGameTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    view->InProcess().SetBudgetCap(0.3);  // keeps the test short; level 3 rarely needs more
  }
  // The person (first player) plays the first of its legal moves with the mouse, promoting
  // when asked.
  void PersonPlaysFirstLegalMove() {
    LegalMoveList legal;
    ASSERT_GT(LegalMoves(view->State().Record, view->State().Shown, legal), 0);
    MouseMove(legal.Move(0));
    if (view->PromotionOpen()) {
      Send(wxEVT_LEFT_DOWN, wxPoint(kPromotionMiddle + 10, 190));
      Send(wxEVT_LEFT_UP, wxPoint(kPromotionMiddle + 10, 190));
    }
  }
  void StartAgainstLevel3() {
    ui.ConditionsAnswers.push_back(ScriptedUserInterface::AcceptPlayers(kPersonPlayer, 3));
    view->RunCommand(kCmdStartComputerGame);
  }
};

TEST_F(ComputerGameTest, PlayedWithTheMouseToItsEndAndStoppedByARightClick) {
  ProgramState& s = view->State();
  // The computer's first answer is a long search, pumping every 20 ms meanwhile: the 100 ms
  // clock timer keeps firing and the computer's clock gains a second (a busy machine may
  // drop timer ticks, so the search lasts until then, 5 s at most).
  int pumps = 0;
  bool long_think = true;
  view->MessagePump = [&] {
    ++pumps;
    wxStopWatch watch;
    do {
      wxMilliSleep(20);
      wxTheApp->Yield(true);
    } while (long_think && s.Record.Clocks[kSecond] < 1 && watch.Time() < 5000);
    long_think = false;
  };
  StartAgainstLevel3();
  ASSERT_EQ(s.InteractionState, kStateGame);
  int moves = 0;
  while (s.InteractionState == kStateGame && moves < 200) {
    PersonPlaysFirstLegalMove();
    ++moves;
  }
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Record.ResultCode, kResultSecondWins) << Moves();
  EXPECT_GT(pumps, 10);
  // The person answered at once; only the computer's clock ran.
  EXPECT_EQ(s.Record.Clocks[kFirst], 0);
  EXPECT_GE(s.Record.Clocks[kSecond], 1);
  Pump();
  SavePicture("computer_game");

  // A new game from the start; at the computer's first pump a right click asks to stop.
  ui.MessageAnswers.push_back(MessageAnswer::kYes);  // 最初からやりなおしますか？
  ui.MessageAnswers.push_back(MessageAnswer::kYes);  // 思考を中断しますか？
  bool clicked = false;
  int pumps_after_click = 0;
  view->MessagePump = [&] {
    if (clicked) ++pumps_after_click;
    if (!clicked && s.InteractionState == kStateThinking) {
      clicked = true;
      Send(wxEVT_RIGHT_DOWN, SquarePoint(SquareOf(5, 5)));
      Send(wxEVT_RIGHT_UP, SquarePoint(SquareOf(5, 5)));
    }
    wxTheApp->Yield(true);
  };
  StartAgainstLevel3();
  PersonPlaysFirstLegalMove();
  EXPECT_TRUE(clicked);
  EXPECT_EQ(pumps_after_click, 0);
  EXPECT_EQ(ui.LastMessage(), "思考を中断しますか？");
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Record.ResultCode, kResultNone);
  EXPECT_EQ(s.Record.PlyCount, 1);  // the person's move stands, the computer's never came
}

// fairy-stockfish, registered by its path and chosen in the conditions dialog by its whole
// name, plays the second player at 0.1 s a move until the game ends by the rules. It plays at
// full strength: at its weakest, on a busy machine, it once failed to mate the first legal
// moves before the record's move limit.
TEST_F(ComputerGameTest, GameAgainstAnOutsideEngineToItsEnd) {
  const std::string path = "/usr/games/fairy-stockfish";
  if (!wxFileExists(path)) GTEST_SKIP() << "fairy-stockfish is not installed";
  EngineEntry engine;
  std::string message;
  ASSERT_EQ(ProbeEngine(QuoteCommandWord(path), {10, 5}, engine, message), 0) << message;
  engine.Name += " (a name longer than the record's field holds)";
  engine.Values = {{"Skill Level", "20"}, {"USI_Hash", "16"}};
  view->Engines().SetList({engine});
  view->Engines().SetByoyomiCap(100);
  ProgramState& s = view->State();

  // The person picks the engine from the second player's list, as the toolkit delivers it:
  // the entry selected, then its text.
  ui.ConditionsAnswers.push_back([&](GameConditions& c) {
    CTaikyoku dialog(frame, c, std::string(SHOGI_BIN_DIR) + "/", ui);
    auto* second = static_cast<wxComboBox*>(dialog.FieldControl(ConditionsField::kSecondPlayer));
    const int entry = second->FindString(wxString::FromUTF8(engine.Name), true);
    EXPECT_NE(entry, wxNOT_FOUND);
    second->SetSelection(entry);
    wxCommandEvent typed(wxEVT_TEXT, second->GetId());
    typed.SetEventObject(second);
    second->GetEventHandler()->ProcessEvent(typed);
    return dialog.PressOk();
  });
  view->RunCommand(kCmdStartComputerGame);
  ASSERT_EQ(s.Record.PlayerKind[kSecond], kFirstEnginePlayer);
  int moves = 0;
  while (s.InteractionState == kStateGame && moves < 200) {
    PersonPlaysFirstLegalMove();
    if (++moves == 8) {
      Pump();
      SavePicture("engine_game_in_progress");
    }
  }
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_NE(s.Record.ResultCode, kResultNone) << ui.LastMessage() << Moves();
  EXPECT_EQ(ui.LastMessage().find(kEngineFailurePrefix), std::string::npos) << ui.LastMessage();
}

}  // namespace
}  // namespace shogi::gui
