// The frame: under a window manager, which lays it out only after it is shown, it grows to
// hold its whole view at every scale and stays on the screen (run by ctest with openbox
// started beside the test, gui_test_window_manager; skipped elsewhere); closed while long
// work runs, it waits for the work to end, then asks about an unsaved record.
#include <wx/display.h>
#include <wx/stopwatch.h>

#include <cstdlib>

#include "database/game_database.h"
#include "players/inprocess_player.h"
#include "rules/move_rules.h"
#include "shell/record_commands.h"
#include "shell/settings.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/test_files.h"

namespace shogi::gui {
namespace {

class WindowManagerTest : public GuiFixture {
 protected:
  void SetUp() override {
    if (!std::getenv("SHOGI_TEST_WINDOW_MANAGER")) GTEST_SKIP() << "no window manager runs";
    SaveWindowPlacement(profile, {1100, 900});  // stored where the frame would stick out
    GuiFixture::SetUp();
  }
  // Pumps until the window manager has settled the frame (its size and place unchanged for
  // half a second), three seconds at most.
  void Settle() {
    wxStopWatch watch;
    wxRect last;
    long since = 0;
    while (watch.Time() < 3000 && watch.Time() - since < 500) {
      Pump();
      wxMilliSleep(20);
      if (frame->GetScreenRect() != last) {
        last = frame->GetScreenRect();
        since = watch.Time();
      }
    }
  }
  void ExpectWholeViewOnScreen(const char* scale) {
    SCOPED_TRACE(scale);
    Settle();
    const wxSize wanted = view->ScaledSize();
    const wxRect shown = view->GetScreenRect();
    EXPECT_GE(shown.width, wanted.x);
    EXPECT_GE(shown.height, wanted.y);
    const wxRect client(frame->ClientToScreen(wxPoint(0, 0)), frame->GetClientSize());
    EXPECT_TRUE(client.Contains(shown.GetTopLeft()) && client.Contains(shown.GetBottomRight()))
        << "the view is cut by the frame";
    const wxRect screen = wxDisplay(static_cast<unsigned>(0)).GetClientArea();
    EXPECT_TRUE(screen.Contains(frame->GetScreenRect())) << "the frame sticks out";
  }
};

TEST_F(WindowManagerTest, FrameHoldsItsViewOnTheScreenAtEveryScale) {
  ExpectWholeViewOnScreen("100%");
  EXPECT_TRUE(SaveScreenPicture(frame->GetScreenRect(), "frame_under_window_manager").IsOk());
  view->RunCommand(kCmdScale150);
  ExpectWholeViewOnScreen("150%");
  view->RunCommand(kCmdScale100);
  ExpectWholeViewOnScreen("100% again");
}

class ClosingTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    frame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
      if (e.GetEventObject() == frame) destroyed_ = true;
      e.Skip();
    });
  }
  void TearDown() override {
    if (destroyed_) frame = nullptr;  // already gone
    GuiFixture::TearDown();
  }
  // The first time the work pumps messages, the person closes the window.
  void CloseAtTheFirstPump() {
    view->MessagePump = [this] {
      if (!closed_) {
        closed_ = true;
        frame->Close();
      }
      wxTheApp->Yield(true);
    };
  }
  bool closed_ = false, destroyed_ = false;
};

// A close during a database command waits for its end: the window stays whole meanwhile
// and closes after it.
TEST_F(ClosingTest, DuringADatabaseCommandTheWindowClosesAfterIt) {
  test::TempFolder folder;
  DatabaseSelection& tarvel = view->State().Tarvel;
  std::string message;
  ASSERT_EQ(ChooseDatabase(folder.Path() + "games.mix", tarvel, message), 0) << message;
  ASSERT_EQ(CreateDatabase(kTarvelFormat, tarvel.Paths, message), 0) << message;
  for (int i = 0; i < 3; ++i) {
    GameRecord game = test::MakeRecord("startpos", "7g7f 3c3d");
    int number = 0;
    ASSERT_EQ(RegisterGame(kTarvelFormat, tarvel.Paths, folder.Path(), game, number, message), 0);
  }
  view->Settings().Folder = folder.Path();
  CloseAtTheFirstPump();
  view->RunCommand(kCmdTarvelDuplicates);
  EXPECT_TRUE(closed_);
  EXPECT_FALSE(destroyed_);                                   // not while the command ran
  EXPECT_EQ(ui.MessageTexts().front(), "3組存在しました。");  // the command ran to its end
  Pump();
  EXPECT_TRUE(destroyed_);
}

// A close while the computer thinks stops it; the game played is offered to be saved, and
// キャンセル keeps the window alive until the next close.
TEST_F(ClosingTest, DuringTheComputersThinkingTheGameIsOfferedToBeSaved) {
  view->InProcess().SetBudgetCap(0.3);
  ui.ConditionsAnswers.push_back(test::ScriptedUserInterface::AcceptPlayers(0, 3));
  view->RunCommand(kCmdStartComputerGame);
  ui.MessageAnswers = {MessageAnswer::kCancel, MessageAnswer::kNo};
  CloseAtTheFirstPump();
  MouseMove("7g7f");
  EXPECT_TRUE(closed_);
  Pump();
  EXPECT_FALSE(destroyed_);
  EXPECT_EQ(ui.LastMessage(), kUnsavedQuestion);
  EXPECT_EQ(view->State().InteractionState, kStateIdle);
  EXPECT_EQ(Moves(), "7g7f");  // the computer's move never came; the person's stands
  view->RunCommand(kCmdExit);
  Pump();
  EXPECT_TRUE(destroyed_);
}

}  // namespace
}  // namespace shogi::gui
