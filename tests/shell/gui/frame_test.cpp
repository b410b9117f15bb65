// The frame under a window manager, which lays it out only after it is shown: it grows to
// hold its whole view at every scale and stays on the screen. Run by ctest with openbox
// started beside the test (gui_test_window_manager); skipped elsewhere.
#include <wx/display.h>
#include <wx/stopwatch.h>

#include <cstdlib>

#include "shell/settings.h"
#include "tests/shell/gui/gui_fixture.h"

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
  const wxRect r = frame->GetScreenRect();
  wxBitmap shot(r.width, r.height, 24);
  {
    wxScreenDC screen;
    wxMemoryDC dc(shot);
    dc.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
  }
  EXPECT_TRUE(
      shot.ConvertToImage().SaveFile(PicturePath("frame_under_window_manager"), wxBITMAP_TYPE_PNG));
  view->RunCommand(kCmdScale150);
  ExpectWholeViewOnScreen("150%");
  view->RunCommand(kCmdScale100);
  ExpectWholeViewOnScreen("100% again");
}

}  // namespace
}  // namespace shogi::gui
