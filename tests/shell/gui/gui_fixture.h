// The common ground of the window tests: a frame with its view on a scripted person and a
// memory profile, event pumping, simulated mouse clicks and pictures written to PNG files.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <string>

#include "platform/profile.h"
#include "shell/command_table.h"
#include "shell/gui/main_frame.h"
#include "shell/view_layout.h"
#include "tests/support/game_builder.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi::gui {

// Set by the test program's option --plain-view: every window starts with the display
// options off (the plain layout), and the pictures are named "plain-..."; without it every
// option is on.
inline bool g_plain_view = false;

class GuiFixture : public ::testing::Test {
 public:
  // Runs pending events until none is left (paints included).
  static void Pump() {
    for (int i = 0; i < 20; ++i) {
      wxTheApp->ProcessPendingEvents();
      if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
        loop->YieldFor(wxEVT_CATEGORY_ALL);
      } else {
        wxTheApp->Yield(true);
      }
    }
  }

  // The window's options: the given profile and person, the build's bin folder.
  static ViewOptions Options(MemoryProfile& profile, test::ScriptedUserInterface& ui) {
    ViewOptions options;
    options.Settings = &profile;
    options.Dialogs = &ui;
    options.ProgramFolder = std::string(SHOGI_BIN_DIR) + "/";
    return options;
  }

  // Where pictures are written: <build>/gui-pictures/<name>.png.
  static wxString PicturePath(const std::string& name) {
    const wxString dir = wxString::FromUTF8(SHOGI_BIN_DIR) + "/../gui-pictures";
    wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    return dir + "/" + (g_plain_view ? "plain-" : "") + wxString::FromUTF8(name) + ".png";
  }
  // Writes what the screen shows in `area` as the picture `name`, and returns it.
  static wxImage SaveScreenPicture(const wxRect& area, const std::string& name) {
    wxBitmap shot(area.width, area.height, 24);
    {
      wxScreenDC screen;
      wxMemoryDC dc(shot);
      dc.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    const wxImage image = shot.ConvertToImage();
    EXPECT_TRUE(image.SaveFile(PicturePath(name), wxBITMAP_TYPE_PNG));
    return image;
  }

 protected:
  void SetUp() override {
    // Every display option on (the legal destinations too, off by default), or every one off.
    const bool on = !g_plain_view;
    SaveDisplayOptions(profile, DisplayOptions{on, on, on, on, on, 100});
    frame = new CMainFrame(Options(profile, ui));
    frame->Show();
    view = frame->View();
    Pump();
  }
  void TearDown() override {
    if (!frame) return;  // skipped before the frame was made
    frame->Destroy();
    Pump();
  }

  // A game between two persons through 対局開始, the conditions accepted.
  void StartPersonsGame() {
    ui.ConditionsAnswers.push_back(test::ScriptedUserInterface::Accept());
    view->RunCommand(kCmdStartGame);
    ASSERT_EQ(view->State().InteractionState, kStateGame);
  }

  // The centre of a square as drawn (square 1..81 of the record; the board may be flipped).
  wxPoint SquarePoint(int square) const {
    const int drawn = view->State().Record.BoardFlipped ? 82 - square : square;
    const Rect r = CellRect(drawn);
    return wxPoint(r.X + r.Width / 2, r.Y + r.Height / 2);
  }

  // A mouse event sent through the view's event handler, as the window system delivers it.
  void Send(wxEventType type, wxPoint p) {
    wxMouseEvent e(type);
    e.SetPosition(p);
    e.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(e);
  }
  // The view's point of a layout point, scaled and placed as drawn.
  wxPoint OnScreen(wxPoint layout_point) const {
    const ViewScale& s = view->Scale();
    return view->Origin() + wxPoint(s.Px(layout_point.x), s.Px(layout_point.y));
  }
  // A click: press and release of the left button at a layout point, scaled and placed as
  // the view draws it.
  void Click(wxPoint layout_point) {
    const wxPoint p = OnScreen(layout_point);
    Send(wxEVT_LEFT_DOWN, p);
    Send(wxEVT_LEFT_UP, p);
  }
  // The record of `usi` moves from the start position, shown from its start.
  void LoadRecord(const char* usi) {
    view->State().Record = test::MakeRecord("startpos", usi);
    RebuildShown(view->State());
    view->ApplyUpdate(ViewUpdate{kViewEverything});
  }
  // A press and release of the left button at `from` and `to` with moves in between, as
  // mouse events.
  void MouseDrag(wxPoint from, wxPoint to) {
    Send(wxEVT_LEFT_DOWN, from);
    Send(wxEVT_MOTION, wxPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
    Send(wxEVT_MOTION, to);
    Send(wxEVT_LEFT_UP, to);
  }
  // Where a hand slot of `side` is drawn (the slot's first piece).
  wxPoint HandPoint(Side side, int type) const {
    const bool flipped = view->State().Record.BoardFlipped;
    const ScreenHand hand =
        OwnerOfScreenHand(kLowerHand, flipped) == side ? kLowerHand : kUpperHand;
    const PieceSlot slot = HandSlot(hand, type);
    return wxPoint(slot.X + 10, slot.Y + 20);
  }
  wxPoint BoxPoint(int index) const {
    const PieceSlot slot = BoxSlot(index);
    return wxPoint(slot.X + 10, slot.Y + 20);
  }
  // A move of the side to move dragged with the mouse, from its square or its hand.
  void MouseMove(MoveCode m) {
    const wxPoint from =
        IsDrop(m) ? HandPoint(SideToMove(view->State()), DroppedType(m.from)) : SquarePoint(m.from);
    MouseDrag(from, SquarePoint(DestinationOf(m)));
  }
  void MouseMove(const std::string& usi) { MouseMove(test::UsiMove(usi)); }
  // The record's moves as USI.
  std::string Moves() const { return test::UsiMoves(view->State().Record); }

  // Writes the view's picture.
  void SavePicture(const std::string& name) {
    EXPECT_TRUE(view->Snapshot().ConvertToImage().SaveFile(PicturePath(name), wxBITMAP_TYPE_PNG));
  }
  // Writes a picture of `dialog` (or another top-level window), shown without a modal loop,
  // once it had time to paint, and returns it.
  static wxImage SaveShownDialogPicture(wxTopLevelWindow& dialog, const std::string& name) {
    dialog.Show();
    dialog.Raise();
    // The window system maps and paints the dialog in its own time.
    for (int i = 0; i < 20; ++i) {
      Pump();
      wxMilliSleep(20);
    }
    dialog.Update();
    const wxSize size = dialog.GetSize();
    wxBitmap shot(size.x, size.y, 24);
    {
      wxWindowDC window(&dialog);
      wxMemoryDC memory(shot);
      memory.Blit(0, 0, size.x, size.y, &window, 0, 0);
    }
    const wxImage image = shot.ConvertToImage();
    EXPECT_TRUE(image.SaveFile(PicturePath(name), wxBITMAP_TYPE_PNG));
    return image;
  }

  MemoryProfile profile;
  test::ScriptedUserInterface ui;
  CMainFrame* frame = nullptr;
  CShogiView* view = nullptr;
};

// A dialog shown for real; after one, the toolkit under Xvfb paints no further top-level
// window of the process, so each of these runs as a program of its own (see CMakeLists.txt).
class DialogPictureTest : public GuiFixture {
 protected:
  // Runs `dialog` modally, as the program does, and writes what the screen shows of it once
  // it had time to paint; then closes it.
  void SaveDialogPicture(wxDialog& dialog, const std::string& name) {
    wxTimer timer(&dialog);
    dialog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      SaveScreenPicture(dialog.GetScreenRect(), name);
      dialog.EndModal(wxID_CANCEL);
    });
    timer.StartOnce(400);
    dialog.ShowModal();
    Pump();
  }
};

}  // namespace shogi::gui
