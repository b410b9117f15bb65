// The window's commands end to end: the conditions dialog's controls and checks, a KIF
// record opened and replayed both ways, a whole game against the thinking library played
// with the mouse, the stop request while the computer thinks, and the start-up time.
#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/toolbar.h>

#include <chrono>
#include <thread>

#include "platform/cp932.h"
#include "rules/move_rules.h"
#include "shell/command_table.h"
#include "shell/game_conditions.h"
#include "shell/gui/conditions_window.h"
#include "shell/gui/mate_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

using test::ScriptedUserInterface;

class WindowCommandsTest : public GuiFixture {
 protected:
  // Plays the side to move's first legal move with the mouse (promoting when offered).
  void PlayFirstLegalMove() {
    ProgramState& s = view->State();
    LegalMoveList moves;
    ASSERT_GT(LegalMoves(s.Record, s.Shown, moves), 0);
    MouseMove(moves.Move(0));
    if (s.InteractionState == kStatePromotion) {
      Send(wxEVT_LEFT_DOWN, wxPoint(kPromotionMiddle + 10, 190));
      Send(wxEVT_LEFT_UP, wxPoint(kPromotionMiddle + 10, 190));
    }
  }
};

// Every command of the table has its menu item with its label and status text, and the
// menu-update handler enables and checks the items by the table's rules.
TEST_F(WindowCommandsTest, MenusFollowTheCommandTable) {
  wxMenuBar* bar = frame->GetMenuBar();
  ProgramState& s = view->State();
  for (int interaction : {kStateIdle, kStateGame, kStateSetUp}) {
    s.InteractionState = interaction;
    s.Record.ResultCode = interaction;
    for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) bar->GetMenu(i)->UpdateUI(frame);
    for (const CommandRow& row : CommandTable()) {
      const wxMenuItem* item = bar->FindItem(row.Id);
      ASSERT_NE(item, nullptr) << row.Label;
      EXPECT_EQ(item->GetItemLabelText().utf8_string(), row.Label);
      EXPECT_EQ(item->GetHelp().utf8_string(), row.Prompt.substr(0, row.Prompt.find('\n')));
      EXPECT_EQ(item->IsCheckable(), row.Checked != nullptr) << row.Label;
      EXPECT_EQ(item->IsEnabled(), CommandEnabled(s, row.Id)) << row.Label << " " << interaction;
      if (item->IsCheckable()) {
        EXPECT_EQ(item->IsChecked(), CommandChecked(s, row.Id)) << row.Label << " " << interaction;
      }
    }
  }
  s.InteractionState = kStateIdle;
  EXPECT_NE(frame->GetToolBar()->FindById(kCmdMateInGame), nullptr);
}

TEST_F(WindowCommandsTest, ConditionsDialogRefusesBadFieldsAndReturnsThePlayers) {
  GameRecord record;
  ResetGameRecord(record);
  GameConditions c = ConditionsFromRecord(record, true, true, 1, true);
  CTaikyoku dialog(frame, c, std::string(SHOGI_BIN_DIR) + "/", ui);
  ASSERT_EQ(dialog.Lists().Players.size(), 11u);
  ConditionsForm form = dialog.Form();
  EXPECT_EQ(form.FirstPlayer, "人間");
  EXPECT_EQ(form.StartPosition, 1);
  form.GameNumber = "12";
  dialog.SetForm(form);
  EXPECT_FALSE(dialog.PressOk());
  EXPECT_EQ(ui.LastMessage(), "１文字以内で入力してください。");
  EXPECT_EQ(dialog.RefusedField(), ConditionsField::kGameNumber);
  form.GameNumber = "";
  form.Month = "4";
  form.FirstPlayer = "CSA将棋(DLL)";
  form.StartPosition = 2;  // 香落ち: refused with the library
  dialog.SetForm(form);
  EXPECT_FALSE(dialog.PressOk());
  EXPECT_EQ(ui.LastMessage(), "CSA将棋(DLL)での対局は、平手初期局面である必要があります。");
  form.StartPosition = 1;
  form.SecondPlayer = "思考ﾚﾍﾞﾙ2";
  dialog.SetForm(form);
  ASSERT_TRUE(dialog.PressOk());
  EXPECT_EQ(c.PlayerKind[0], -1);
  EXPECT_EQ(c.PlayerKind[1], 2);
  EXPECT_EQ(c.Month, 4);
  EXPECT_EQ(c.FirstPlayer, Cp932("CSA将棋(DLL)"));
}

TEST_F(WindowCommandsTest, ConditionsDialogKeepsNamesWithinTheirBytes) {
  GameRecord record;
  ResetGameRecord(record);
  GameConditions c = ConditionsFromRecord(record, false, true, 1, false);
  CTaikyoku dialog(frame, c, "/nonexistent/", ui);
  auto* first = dynamic_cast<wxComboBox*>(dialog.FieldControl(ConditionsField::kFirstPlayer));
  ASSERT_NE(first, nullptr);
  first->SetValue(wxString::FromUTF8("一二三四五六七八九"));  // 18 bytes: cut to 14
  EXPECT_EQ(first->GetValue().utf8_string(), "一二三四五六七");
}

TEST_F(WindowCommandsTest, KifRecordOpensAndReplaysForwardAndBack) {
  const std::string path = std::string(SHOGI_TEST_DATA) + "/kif/even.kif";
  ui.FileAnswers.push_back({true, path, 0});
  view->RunCommand(kCmdReadKif);
  ProgramState& s = view->State();
  ASSERT_EQ(RecordMoveCount(s.Record), 5) << ui.LastMessage();
  EXPECT_EQ(frame->GetTitle().utf8_string(), "even.kif - Shogi");
  EXPECT_EQ(profile.GetString("ファイル名", "柿木", ""), path);
  // Right after loading the list shows the next moves from the start.
  EXPECT_EQ(BuildScene(s, true).Moves[0], "▲７六歩");
  EXPECT_TRUE(CommandEnabled(view->State(), kCmdStepForward));
  EXPECT_FALSE(CommandEnabled(view->State(), kCmdStepBack));
  view->RunCommand(kCmdStepForward);
  view->RunCommand(kCmdStepForward);
  EXPECT_EQ(s.Record.PlyCount, 2);
  EXPECT_EQ(s.Record.Clocks[kFirst], 10);
  view->RunCommand(kCmdToLast);
  EXPECT_EQ(s.Record.PlyCount, 5);
  EXPECT_EQ(s.Message.Lines[0], "先手勝ちです。");
  view->RunCommand(kCmdStepBack);
  EXPECT_EQ(s.Record.PlyCount, 4);
  view->RunCommand(kCmdToInitial);
  EXPECT_EQ(s.Record.PlyCount, 0);
  EXPECT_EQ(s.Record.Clocks[kSecond], 0);
  // Continuous replay runs on timer 200 until the end.
  s.Settings.ReplayInterval = 100;
  view->RunCommand(kCmdContinuousForward);
  EXPECT_EQ(s.InteractionState, kStateReplaying);
  wxStopWatch watch;
  while (s.InteractionState == kStateReplaying && watch.Time() < 5000) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Record.PlyCount, 5);
  // And back on timer 300, stopped by a right click.
  view->RunCommand(kCmdContinuousBack);
  EXPECT_EQ(s.InteractionState, kStateReplaying);
  Send(wxEVT_RIGHT_DOWN, wxPoint(300, 200));
  Send(wxEVT_RIGHT_UP, wxPoint(300, 200));
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Record.PlyCount, 4);
}

TEST_F(WindowCommandsTest, AWholeGameAgainstTheLibraryWithTheMouse) {
  ASSERT_TRUE(view->LibraryOffered()) << "sikou not found in " << SHOGI_BIN_DIR;
  ui.ConditionsAnswers.push_back([](GameConditions& c) {
    EXPECT_TRUE(c.LibraryOffered);
    c.SecondPlayer = Cp932("CSA将棋(DLL)");
    c.PlayerKind[1] = -1;
    return true;
  });
  view->RunCommand(kCmdStartComputerGame);
  ProgramState& s = view->State();
  ASSERT_EQ(s.InteractionState, kStateGame);
  int person_moves = 0;
  while (s.InteractionState == kStateGame && person_moves < 200) {
    const int ply = s.Record.PlyCount;
    PlayFirstLegalMove();
    ASSERT_GT(s.Record.PlyCount, ply) << "the move was not played";
    ++person_moves;
  }
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_NE(s.Record.ResultCode, 0) << ui.LastMessage();
  EXPECT_FALSE(ui.Messages.empty());
  std::printf("game against the library: %d plies, result %d (%s)\n",
              s.Record.PlyCount - s.Record.StartIndex, s.Record.ResultCode,
              ui.LastMessage().c_str());
  Pump();
  SavePicture("game_end");
}

// A computer side that thinks until it is asked to stop, pumping messages meanwhile, as a
// long search does.
class PatientComputer : public ComputerPlayer {
 public:
  explicit PatientComputer(CShogiView* view) : view_(view) {}
  int Think(const ThinkRequest& request, ComputerAnswer&) override {
    ProgramState& s = view_->State();
    wxStopWatch watch;
    bool asked = false;
    while (s.AbortFlag == kAbortNone && watch.Time() < 8000) {
      if (StopRequested(request.Progress, 0)) break;
      // Once the clock has counted a second, the person right-clicks.
      if (!asked && *request.MoverClock >= 1) {
        wxMouseEvent e(wxEVT_RIGHT_DOWN);
        e.SetPosition(wxPoint(300, 200));
        view_->GetEventHandler()->QueueEvent(e.Clone());
        asked = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    clock_seen = *request.MoverClock;
    return 0;
  }
  int clock_seen = 0;

 private:
  CShogiView* view_;
};

TEST_F(WindowCommandsTest, RightClickStopsTheThinkingWhileTheClockRuns) {
  PatientComputer patient(view);
  view->Context().Library = &patient;
  ui.ConditionsAnswers.push_back(ScriptedUserInterface::AcceptPlayers(0, -1, 1));
  ui.MessageAnswers.push_back(MessageAnswer::kYes);  // "思考を中断しますか？"
  view->RunCommand(kCmdStartComputerGame);
  ProgramState& s = view->State();
  ASSERT_EQ(s.InteractionState, kStateGame);
  MouseDrag(SquarePoint(SquareOf(7, 7)), SquarePoint(SquareOf(7, 6)));
  EXPECT_GE(patient.clock_seen, 1);  // the clock timer ran during the thinking
  ASSERT_FALSE(ui.Messages.empty());
  EXPECT_EQ(ui.Messages.back().Text, "思考を中断しますか？");
  EXPECT_EQ(s.InteractionState, kStateIdle);  // the game is left suspended
  EXPECT_EQ(s.Record.PlyCount, 1);
  view->Context().Library = nullptr;
}

TEST_F(WindowCommandsTest, MateCommandsSolveFromTheMenu) {
  ProgramState& s = view->State();
  s.Record = test::MakeRecord("4k4/9/4G4/9/9/9/9/9/9 b G2r2b2g4s4n4l18p 1");
  RebuildShown(s);
  view->Redraw(true);
  ASSERT_TRUE(CommandEnabled(view->State(), kCmdMate1));
  view->RunCommand(kCmdMate1);
  EXPECT_EQ(s.Message.Lines[0], "詰みました(^_^)");
  EXPECT_EQ(RecordMoveCount(s.Record), 1);
  // The in-game analysis asks for the attacker and leaves the record alone.
  s.Record.PlyCount = 0;
  RebuildShown(s);
  CutRecordAt(s.Record, 0);
  view->RunCommand(kCmdMateInGame);  // the scripted person cancels the attacker choice
  EXPECT_EQ(RecordMoveCount(s.Record), 0);
}

TEST_F(WindowCommandsTest, MateStartDialogRefusesEvenAndLargeDepths) {
  MateStartSettings settings;
  CTume3 dialog(frame, settings, ui);
  for (const char* bad : {"2", "50", "x"}) {
    dialog.DepthField()->ChangeValue(bad);
    EXPECT_FALSE(dialog.PressStart()) << bad;
    EXPECT_EQ(ui.LastMessage(), "1～49の範囲の奇数を入力してください。");
    EXPECT_EQ(ui.Messages.back().Caption, "開始手数");
  }
  dialog.DepthField()->ChangeValue("7");
  EXPECT_TRUE(dialog.PressStart());
  EXPECT_EQ(dialog.Settings().StartDepth, "7");
}

// The df-pn dialog refuses bad fields with their captions.
TEST_F(DialogPictureTest, DfpnDialogRefusesBadFields) {
  CTumeDfpn dialog(frame, DfpnSettings{"60", "256"}, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "詰将棋（df-pn）");
  SaveDialogPicture(dialog, "mate_dfpn_dialog");
  dialog.SecondsField()->ChangeValue("0");
  EXPECT_FALSE(dialog.PressStart());
  EXPECT_EQ(ui.Messages.back().Caption, "時間制限");
  dialog.SecondsField()->ChangeValue("30");
  dialog.TableField()->ChangeValue("20000");
  EXPECT_FALSE(dialog.PressStart());
  EXPECT_EQ(ui.Messages.back().Caption, "置換表");
  EXPECT_EQ(dialog.TableField()->GetStringSelection(), "20000");
  dialog.TableField()->ChangeValue("16");
  EXPECT_TRUE(dialog.PressStart());
  EXPECT_EQ(dialog.Settings().Seconds, "30");
}

// The df-pn menu item solves the shown problem and the board shows the mate.
TEST_F(WindowCommandsTest, DfpnMenuItemSolvesTheShownProblem) {
  ProgramState& s = view->State();
  s.Record = test::MakeRecord("1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1");
  RebuildShown(s);
  ui.DfpnDialog.Answers.push_back([](DfpnSettings& d) {
    d.TableMegabytes = "16";
    return true;
  });
  ASSERT_TRUE(CommandEnabled(s, kCmdMateDfpn));
  view->RunCommand(kCmdMateDfpn);
  EXPECT_EQ(s.Message.Lines[0], "詰みました(^_^)");
  EXPECT_EQ(test::UsiMoves(s.Record), "R*8c 8a9b 7c8b+");
  view->Redraw(true);
  Pump();
  SavePicture("mate_dfpn_solved");
}

TEST(StartupTest, FirstCompletePaintAndResidentSize) {
  MemoryProfile profile;
  test::ScriptedUserInterface ui;
  wxStopWatch watch;
  auto* frame = new CMainFrame(GuiFixture::Options(profile, ui));
  frame->Show();
  while (!frame->View()->Painted() && watch.Time() < 10000) GuiFixture::Pump();
  const long ms = watch.Time();
  EXPECT_TRUE(frame->View()->Painted());
  std::printf("frame and view to the first complete paint: %ld ms\n", ms);
  frame->Destroy();
  GuiFixture::Pump();
}

}  // namespace
}  // namespace shogi::gui
