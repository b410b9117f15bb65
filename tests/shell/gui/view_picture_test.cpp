// The view's pictures: pieces and grid where they belong, and the pictures of the standard
// position and the whole window written as PNG files under the build folder for a person to
// look at.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>

#include "rules/sfen.h"
#include "shell/view_layout.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class ViewPictureTest : public GuiFixture {
 protected:
  // The share of the opaque pixels of `code`'s picture that the view shows unchanged at the
  // drawn square (inside the cell's grid lines).
  double PieceShown(const wxImage& view_picture, int drawn_square, int code) {
    const wxImage piece = view->Art().Image(PieceImageId(code)).ConvertToImage();
    const Rect cell = CellRect(drawn_square);
    int opaque = 0, same = 0;
    for (int y = cell.Y; y < cell.Bottom(); ++y) {
      for (int x = cell.X; x < cell.Right(); ++x) {
        const int px = x - PieceLeft(drawn_square), py = y - PieceTop(drawn_square);
        if (px >= piece.GetWidth() || py >= piece.GetHeight()) continue;
        if (piece.HasAlpha() && piece.GetAlpha(px, py) != 255) continue;
        ++opaque;
        same += view_picture.GetRed(x, y) == piece.GetRed(px, py) &&
                view_picture.GetGreen(x, y) == piece.GetGreen(px, py) &&
                view_picture.GetBlue(x, y) == piece.GetBlue(px, py);
      }
    }
    return opaque ? static_cast<double>(same) / opaque : 0;
  }
};

// The board as drawn: each piece on its square, seen from the side at the bottom; empty
// squares show the board; the grid lines in their colour.
TEST_F(ViewPictureTest, PiecesStandWhereTheyBelong) {
  struct Case {
    bool flipped;
    const char* move;  // played first, or ""
    int drawn_square;
    int code;  // the piece drawn there, 0 none
  } cases[] = {
      {false, "", 77, kKing},     {false, "", 5, -kKing},     {false, "", 71, kBishop},
      {false, "", 41, 0},         {false, "7g7f", 52, kPawn}, {false, "7g7f", 61, 0},
      {true, "7g7f", 30, -kPawn}, {true, "7g7f", 52, 0},      {true, "7g7f", 17, -kRook},
  };
  ProgramState& s = view->State();
  const DisplayOptions display = s.Display;  // the run's options stay
  for (const Case& c : cases) {
    InitProgramState(s);
    s.Display = display;
    if (*c.move) {
      ASSERT_TRUE(ParseUsiMove(c.move, s.Record.MoveList[0]));
      s.Record.PlyCount = 1;
      RebuildShown(s);
    }
    s.Record.BoardFlipped = c.flipped;
    view->Redraw(true);
    const wxImage picture = view->Snapshot().ConvertToImage();
    if (c.code != 0) {
      EXPECT_GE(PieceShown(picture, c.drawn_square, c.code), 0.99)
          << "square " << c.drawn_square << (c.flipped ? " flipped" : "");
    } else {
      for (int code : {static_cast<int>(kPawn), -kPawn}) {
        EXPECT_LT(PieceShown(picture, c.drawn_square, code), 0.5) << "square " << c.drawn_square;
      }
    }
    if (!c.flipped && !*c.move) SavePicture("standard");
  }
  const wxImage picture = view->Snapshot().ConvertToImage();
  for (int k : {0, 4, 9}) {
    const int x = kGridLeft + kCellWidth * k, y = kGridTop + kCellHeight * k / 2 + 7;
    EXPECT_EQ(wxColour(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y)),
              wxColour(16, 12, 8))
        << "grid line " << k;
  }
}

// The whole frame as the screen shows it: menus, tool bar, view and status bar.
TEST_F(ViewPictureTest, WholeWindow) {
  frame->Move(0, 0);
  frame->Raise();
  Pump();
  SaveScreenPicture(frame->GetScreenRect(), "window");
  // The view got at least the room its layout needs.
  const wxSize client = view->GetClientSize();
  EXPECT_GE(client.x, kViewWidth);
  EXPECT_GE(client.y, kViewHeight);
}

}  // namespace
}  // namespace shogi::gui
