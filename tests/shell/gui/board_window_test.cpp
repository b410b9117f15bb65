// The board window as players expect it: coordinates, the last move tinted, counted hands,
// the labelled piece box, whose turn it is, click-click moves with their destinations
// marked, replay from the keys, the wheel and the move list, and the view's scale.
#include <gtest/gtest.h>

#include "shell/board_setup.h"
#include "shell/command_table.h"
#include "shell/view_scene.h"
#include "shell/view_texts.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

// A game of 30 moves, for the replay.
constexpr const char* kThirtyMoves =
    "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 3a2b 5i6h 8b4b 6h7h 5a6b 5g5f 6b7b 4i5h 7b8b "
    "9g9f 9c9d 1g1f 1c1d 4g4f 7a7b 4h4g 4a5b 3g3f 6c6d 2i3g 5b6c 2h2i 4d4e";

class BoardWindowTest : public GuiFixture {
 protected:
  void Key(int code) {
    wxKeyEvent e(wxEVT_KEY_DOWN);
    e.m_keyCode = code;
    e.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(e);
  }
  void Wheel(wxPoint p, int notches) {
    wxMouseEvent e(wxEVT_MOUSEWHEEL);
    e.SetPosition(p);
    e.m_wheelRotation = 120 * notches;
    e.m_wheelDelta = 120;
    e.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(e);
  }
  int Ply() const { return view->State().Record.PlyCount; }
  // The colour of a view pixel (layout point, at the view's scale).
  wxColour Pixel(const wxImage& picture, int x, int y) const {
    const ViewScale& s = view->Scale();
    return wxColour(picture.GetRed(s.Px(x), s.Px(y)), picture.GetGreen(s.Px(x), s.Px(y)),
                    picture.GetBlue(s.Px(x), s.Px(y)));
  }
  // How many pixels of `area` (layout pixels) satisfy `wanted`.
  template <typename Wanted>
  int CountIn(const Rect& area, Wanted wanted) const {
    int n = 0;
    for (int y = area.Y; y < area.Bottom(); ++y) {
      for (int x = area.X; x < area.Right(); ++x) n += wanted(x, y);
    }
    return n;
  }
  // Near the lower-left corner of a drawn square, where no piece is drawn.
  wxPoint CellCorner(int drawn) const {
    const Rect r = CellRect(drawn);
    return wxPoint(r.X + 1, r.Bottom() - 2);
  }
};

TEST_F(BoardWindowTest, ClickClickMovesWithTheDestinationsMarked) {
  // The menu item switches the option and keeps it in the profile.
  view->RunCommand(kCmdShowDestinations);
  EXPECT_FALSE(view->State().Display.Destinations);
  EXPECT_EQ(profile.GetInt(kSectionSettings, "ShowDestinations", 1), 0);
  view->RunCommand(kCmdShowDestinations);
  EXPECT_TRUE(view->State().Display.Destinations);
  EXPECT_EQ(profile.GetInt(kSectionSettings, "ShowDestinations", 0), 1);
  StartPersonsGame();
  Click(SquarePoint(SquareOf(2, 8)));
  EXPECT_EQ(view->State().Selected, (BoardSpot{BoardArea::kBoard, SquareOf(2, 8)}));
  EXPECT_FALSE(view->Dragging());
  Pump();
  SavePicture("click_selected");
  const wxImage picture = view->Snapshot().ConvertToImage();
  // The destinations green, the rook's square blue, another square plain.
  const wxColour target =
      Pixel(picture, CellCorner(SquareOf(5, 8)).x, CellCorner(SquareOf(5, 8)).y);
  const wxColour picked =
      Pixel(picture, CellCorner(SquareOf(2, 8)).x, CellCorner(SquareOf(2, 8)).y);
  const wxColour plain = Pixel(picture, CellCorner(SquareOf(5, 5)).x, CellCorner(SquareOf(5, 5)).y);
  EXPECT_GT(target.Green() - target.Red(), plain.Green() - plain.Red() + 20);
  EXPECT_GT(picked.Blue() - picked.Red(), plain.Blue() - plain.Red() + 40);
  Click(SquarePoint(SquareOf(6, 8)));
  EXPECT_EQ(Moves(), "2h6h");
  EXPECT_EQ(view->State().Selected.Area, BoardArea::kNone);
  // A right click drops a selection.
  Click(SquarePoint(SquareOf(3, 3)));
  Send(wxEVT_RIGHT_DOWN, SquarePoint(SquareOf(3, 4)));
  Send(wxEVT_RIGHT_UP, SquarePoint(SquareOf(3, 4)));
  EXPECT_EQ(view->State().Selected.Area, BoardArea::kNone);
  Click(SquarePoint(SquareOf(3, 4)));
  EXPECT_EQ(Moves(), "2h6h");
}

TEST_F(BoardWindowTest, KeysWheelAndTheMoveListStepThroughARecord) {
  LoadRecord(kThirtyMoves);
  Key(WXK_RIGHT);
  EXPECT_EQ(Ply(), 1);
  Key(WXK_END);
  EXPECT_EQ(Ply(), 30);
  Key(WXK_LEFT);
  EXPECT_EQ(Ply(), 29);
  Key(WXK_HOME);
  EXPECT_EQ(Ply(), 0);
  // The wheel: towards the user forward, away back, one move a notch; over the board or the
  // list only.
  const wxPoint board = SquarePoint(SquareOf(5, 5));
  Wheel(board, -3);
  EXPECT_EQ(Ply(), 3);
  Wheel(wxPoint(MoveLineRect(2).X + 20, MoveLineRect(2).Y + 5), 1);
  EXPECT_EQ(Ply(), 2);
  Wheel(wxPoint(kInfoPanelRect.X + 10, kInfoPanelRect.Y + 10), -1);
  EXPECT_EQ(Ply(), 2);
  // The list follows the shown move: at move 25 its last line is move 25, its first move 16;
  // a click on the first line shows the position after move 16.
  Key(WXK_END);
  for (int i = 0; i < 5; ++i) Key(WXK_LEFT);
  ASSERT_EQ(Ply(), 25);
  EXPECT_EQ(MoveListLines(view->State().Record, false)[9], LastMoveText(view->State().Record));
  Click(wxPoint(MoveLineRect(0).X + 30, MoveLineRect(0).Y + 8));
  EXPECT_EQ(Ply(), 16);
  Pump();
  SavePicture("replay_move_16");
  // In a game the keys do what the menu allows: nothing forward, ← takes a move back.
  LoadRecord("");
  StartPersonsGame();
  MouseMove("7g7f");
  MouseMove("3c3d");
  const int ply = Ply();
  Key(WXK_RIGHT);
  Key(WXK_END);
  Wheel(board, -1);
  EXPECT_EQ(Ply(), ply);
  Click(wxPoint(MoveLineRect(0).X + 30, MoveLineRect(0).Y + 8));
  EXPECT_EQ(Ply(), ply);
  Key(WXK_LEFT);
  EXPECT_EQ(Ply(), ply - 1);
  EXPECT_EQ(view->State().InteractionState, kStateGame);
}

TEST_F(BoardWindowTest, TheScaleDrawsEverythingLargerAndScalesTheHitTest) {
  const wxSize plain = view->GetClientSize();
  // At 150 % a click on the scaled square picks it.
  view->RunCommand(kCmdScale150);
  Pump();
  EXPECT_EQ(view->Art().Image(PieceImageId(kPawn)).GetWidth(), kPieceWidth * 3 / 2);
  StartPersonsGame();
  Click(SquarePoint(SquareOf(2, 7)));
  EXPECT_EQ(view->State().Selected, (BoardSpot{BoardArea::kBoard, SquareOf(2, 7)}));
  Pump();
  SavePicture("view_150");
  view->RunCommand(kCmdSuspend);
  LoadRecord("");
  view->RunCommand(kCmdScale200);
  Pump();
  EXPECT_EQ(view->Scale().Percent, 200);
  EXPECT_EQ(profile.GetInt(kSectionSettings, "ViewScale", 0), 200);
  EXPECT_GE(view->GetClientSize().x, 2 * kViewWidth);
  EXPECT_GE(view->GetClientSize().y, 2 * kViewHeight);
  const wxBitmap picture = view->Snapshot();
  EXPECT_GE(picture.GetWidth(), 2 * kViewWidth);
  // The pieces are drawn at the scale, not stretched: twice the size of the plain ones.
  EXPECT_EQ(view->Art().Image(PieceImageId(kPawn)).GetWidth(), 2 * kPieceWidth);
  StartPersonsGame();
  // A drag and a click-click at the scaled squares.
  const ViewScale& s = view->Scale();
  auto scaled = [&](int square) {
    const wxPoint p = SquarePoint(square);
    return wxPoint(s.Px(p.x), s.Px(p.y));
  };
  MouseDrag(scaled(SquareOf(7, 7)), scaled(SquareOf(7, 6)));
  Click(SquarePoint(SquareOf(3, 3)));
  Click(SquarePoint(SquareOf(3, 4)));
  EXPECT_EQ(Moves(), "7g7f 3c3d");
  Pump();
  SavePicture("view_200");
  view->RunCommand(kCmdScale100);
  for (int i = 0; i < 10 && view->GetClientSize() != plain; ++i) {
    Pump();
    wxMilliSleep(20);
  }
  EXPECT_EQ(view->GetClientSize(), plain);
  EXPECT_EQ(frame->GetClientSize(), plain) << frame->GetSize().x;
  MouseMove("2g2f");
  EXPECT_EQ(Moves(), "7g7f 3c3d 2g2f");

  // The next start opens at the stored scale, the frame around it.
  view->RunCommand(kCmdScale150);
  auto* next = new CMainFrame(Options(profile, ui));
  next->Show();
  Pump();
  EXPECT_EQ(next->View()->Scale().Percent, 150);
  EXPECT_EQ(next->View()->Art().Image(PieceImageId(kPawn)).GetWidth(), kPieceWidth * 3 / 2);
  EXPECT_GE(next->GetClientSize().y, kViewHeight * 3 / 2);
  next->Destroy();
  Pump();
}

TEST_F(BoardWindowTest, PicturesOfTheAdditions) {
  Pump();
  SavePicture("board_standard");
  wxImage picture = view->Snapshot().ConvertToImage();
  // The coordinates stand on the wood above the grid: dark letters in the strip; flipped, the
  // labels turn with the board.
  const Rect strip = RectFromTo(kGridLeft, kFileLabelTop, kGridLeft + 9 * kCellWidth, kGridTop);
  EXPECT_GT(CountIn(strip, [&](int x, int y) { return Pixel(picture, x, y).Red() < 180; }), 9 * 5);
  view->RunCommand(kCmdFlip);
  Pump();
  SavePicture("board_flipped");
  const wxImage flipped = view->Snapshot().ConvertToImage();
  EXPECT_GT(
      CountIn(strip, [&](int x, int y) { return Pixel(flipped, x, y) != Pixel(picture, x, y); }),
      9 * 5);
  view->RunCommand(kCmdFlip);

  // A game with captures: both hands hold pawns, the last move tinted.
  StartPersonsGame();
  for (const char* usi : {"7g7f", "3c3d", "2g2f", "8c8d", "2f2e", "8d8e", "2e2d", "2c2d", "2h2d",
                          "8e8f", "8g8f", "8b8f"}) {
    MouseMove(usi);
  }
  ASSERT_EQ(view->State().Shown.Hand[kFirst][kPawn], 2);
  EXPECT_EQ(BuildScene(view->State(), false).Message[0], g_plain_view ? "" : "先手の番です。");
  Pump();
  SavePicture("game_in_progress");
  picture = view->Snapshot().ConvertToImage();
  const wxPoint dest = CellCorner(SquareOf(8, 6));
  const wxPoint origin = CellCorner(SquareOf(8, 2));
  const wxPoint plain = CellCorner(SquareOf(5, 5));
  auto warmth = [&](wxPoint p) {
    const wxColour c = Pixel(picture, p.x, p.y);
    return c.Red() - c.Blue();
  };
  EXPECT_GT(warmth(dest), warmth(origin));
  EXPECT_GT(warmth(origin), warmth(plain));
  // The count of the first player's two pawns: a dark plate with a white numeral.
  const Rect plate = CountPlateRect(HandSlot(kLowerHand, kPawn), 2);
  auto white = [](const wxColour& c) { return c.Red() > 200 && c.Blue() > 200; };
  EXPECT_GT(CountIn(plate, [&](int x, int y) { return white(Pixel(picture, x, y)); }), 3);
  EXPECT_GT(CountIn(plate, [&](int x, int y) { return Pixel(picture, x, y).Red() < 70; }), 20);
  // Switched off, the numerals go at once.
  view->RunCommand(kCmdShowPieceCounts);
  const wxImage plain_counts = view->Snapshot().ConvertToImage();
  EXPECT_EQ(CountIn(plate, [&](int x, int y) { return white(Pixel(plain_counts, x, y)); }), 0);
  view->RunCommand(kCmdShowPieceCounts);

  // A pawn in hand selected by a click: framed in its slot.
  Click(HandPoint(kFirst, kPawn));
  EXPECT_EQ(view->State().Selected, (BoardSpot{BoardArea::kFirstHand, kPawn}));
  Pump();
  SavePicture("hand_selected");
  Send(wxEVT_RIGHT_DOWN, HandPoint(kFirst, kPawn));
  Send(wxEVT_RIGHT_UP, HandPoint(kFirst, kPawn));

  // Set-up: the piece box labelled.
  view->RunCommand(kCmdSuspend);
  view->RunCommand(kCmdMateSetUp);
  ASSERT_EQ(view->State().InteractionState, kStateSetUp);
  Pump();
  SavePicture("setup_piece_box");
}

}  // namespace
}  // namespace shogi::gui
