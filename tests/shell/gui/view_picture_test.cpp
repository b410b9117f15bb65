// Pictures of the view for a person to look at: the standard position, a game in progress
// and set-up mode, written as PNG files under the build folder.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>

#include "shell/command_table.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class ViewPictureTest : public GuiFixture {};

TEST_F(ViewPictureTest, StandardPosition) {
  std::string path = SavePicture("standard");
  std::printf("picture: %s\n", path.c_str());
}

// The whole frame as the screen shows it: menus, tool bar, view and status bar.
TEST_F(ViewPictureTest, WholeWindow) {
  frame->Move(0, 0);
  frame->Raise();
  Pump();
  const wxRect r = frame->GetScreenRect();
  wxBitmap shot(r.width, r.height, 24);
  {
    wxScreenDC screen;
    wxMemoryDC dc(shot);
    dc.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
  }
  wxString dir = wxString::FromUTF8(SHOGI_BIN_DIR) + "/../gui-pictures";
  wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  EXPECT_TRUE(shot.ConvertToImage().SaveFile(dir + "/window.png", wxBITMAP_TYPE_PNG));
  // The view got at least the room its layout needs.
  const wxSize client = view->GetClientSize();
  EXPECT_GE(client.x, kViewWidth);
  EXPECT_GE(client.y, kViewHeight);
}

}  // namespace
}  // namespace shogi::gui
