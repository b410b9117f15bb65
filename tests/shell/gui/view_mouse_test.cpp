// The view's mouse work through wx events: the flipped hit test, a move from pick-up to
// put-down, the promotion choice and its pointer cage, set-up editing with the piece box,
// and what a move repaints.
#include <gtest/gtest.h>

#include <set>

#include "shell/board_setup.h"
#include "shell/command_table.h"
#include "shell/view_texts.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class ViewMouseTest : public GuiFixture {};

TEST_F(ViewMouseTest, FlippedBoardTopLeftCellIsSquare73) {
  view->RunCommand(kCmdFlip);
  EXPECT_TRUE(CommandChecked(view->State(), kCmdFlip));
  view->RunCommand(kCmdFreeSetUp);
  ASSERT_EQ(view->State().InteractionState, kStateSetUp);
  const Rect top_left = CellRect(1 + 0 * 9 + 8);  // drawn square 9: file 9, rank 1
  Send(wxEVT_LEFT_DOWN, wxPoint(top_left.X + 5, top_left.Y + 5));
  ASSERT_TRUE(view->State().Held.Active);
  EXPECT_EQ(view->State().Held.From.Index, 73);
  EXPECT_EQ(view->State().Held.Code, kLance);  // 9九 of the first player, drawn at the top
  EXPECT_TRUE(view->Dragging());
  Send(wxEVT_LEFT_UP, wxPoint(top_left.X + 5, top_left.Y + 5));
  EXPECT_FALSE(view->Dragging());
  EXPECT_EQ(view->State().Shown.Board[73], kLance);
}

TEST_F(ViewMouseTest, AMoveFromPickUpToPutDownRepaintsOnlyItsSquaresAndLines) {
  StartPersonsGame();
  Pump();
  Send(wxEVT_LEFT_DOWN, SquarePoint(SquareOf(7, 7)));
  EXPECT_TRUE(view->Dragging());
  EXPECT_EQ(view->State().Shown.Board[SquareOf(7, 7)], 0);  // the piece left its square
  std::set<int> cells;
  for (const SceneChange& c : view->LastChanges()) {
    if (c.Item == SceneItem::kCell) cells.insert(c.Index);
  }
  // With the destinations marked, the pawn's one destination is tinted as well.
  std::set<int> picked_up{SquareOf(7, 7)};
  if (view->State().Display.Destinations) picked_up.insert(SquareOf(7, 6));
  EXPECT_EQ(cells, picked_up);
  Send(wxEVT_MOTION, SquarePoint(SquareOf(7, 6)));
  SavePicture("dragging");
  view->ClearRepaintLog();
  Send(wxEVT_LEFT_UP, SquarePoint(SquareOf(7, 6)));
  EXPECT_FALSE(view->Dragging());
  EXPECT_EQ(Moves(), "7g7f");
  // The pick-up emptied 7七 already; the put-down repaints 7六, the counter, the last move
  // and one list line, and nothing else.
  std::set<std::pair<int, int>> changed;
  for (const RepaintRecord& r : view->RepaintLog()) {
    for (const SceneChange& c : r.Changes) changed.insert({static_cast<int>(c.Item), c.Index});
  }
  std::set<std::pair<int, int>> expected = {
      {static_cast<int>(SceneItem::kCell), SquareOf(7, 6)},
      {static_cast<int>(SceneItem::kInfoLine), kInfoCounter},
      {static_cast<int>(SceneItem::kInfoLine), kInfoLastMove},
      {static_cast<int>(SceneItem::kMoveLine), 0},
  };
  // The display options: the origin is tinted as the last move's, and the message says
  // whose turn it is.
  const DisplayOptions& d = view->State().Display;
  if (d.LastMove) expected.insert({static_cast<int>(SceneItem::kCell), SquareOf(7, 7)});
  if (d.TurnMessage) expected.insert({static_cast<int>(SceneItem::kMessage), 0});
  EXPECT_EQ(changed, expected);

  // Measured: the repaint of the next moves (the largest of each put-down's repaints).
  for (const char* usi : {"3c3d", "2g2f", "8c8d", "2f2e", "8d8e"}) {
    view->ClearRepaintLog();
    MouseMove(usi);
    long longest = 0, longest_screen = 0;
    for (const RepaintRecord& r : view->RepaintLog()) {
      longest = std::max(longest, r.PictureMicroseconds);
      longest_screen = std::max(longest_screen, r.ScreenMicroseconds);
    }
    std::printf("redraw after %s: %ld us into the picture, %ld us with the screen update\n", usi,
                longest, longest_screen);
  }
}

TEST_F(ViewMouseTest, PromotionChoiceKeepsThePointerAndPromotesOnTheRight) {
  StartPersonsGame();
  MouseMove("7g7f");
  MouseMove("3c3d");
  MouseMove("8h2b");
  ASSERT_EQ(view->State().InteractionState, kStatePromotion);
  EXPECT_TRUE(view->PromotionOpen());
  Pump();
  SavePicture("promotion");
  // The pointer went into the box and cannot leave it.
  wxPoint inside = view->ScreenToClient(wxGetMousePosition());
  EXPECT_TRUE(kPointerCage.Contains(inside.x, inside.y)) << inside.x << "," << inside.y;
  Send(wxEVT_MOTION, wxPoint(10, 10));
  Pump();
  wxPoint kept = view->ScreenToClient(wxGetMousePosition());
  EXPECT_TRUE(kPointerCage.Contains(kept.x, kept.y)) << kept.x << "," << kept.y;
  // Left of the middle would not promote; right of it does.
  Send(wxEVT_LEFT_DOWN, wxPoint(kPromotionMiddle + 10, 190));
  Send(wxEVT_LEFT_UP, wxPoint(kPromotionMiddle + 10, 190));
  EXPECT_FALSE(view->PromotionOpen());
  EXPECT_EQ(Moves(), "7g7f 3c3d 8h2b+");
  EXPECT_EQ(view->State().Shown.Board[SquareOf(2, 2)], kHorse);
  EXPECT_EQ(view->State().Shown.Hand[kFirst][kBishop], 1);

  // The silver takes the horse (no choice for it) and the bishop is dropped from the hand.
  MouseMove("3a2b");
  EXPECT_EQ(view->State().InteractionState, kStateGame);
  MouseMove("B*5e");
  EXPECT_EQ(Moves(), "7g7f 3c3d 8h2b+ 3a2b B*5e");
  SavePicture("game");
}

TEST_F(ViewMouseTest, RightClickCancelsThePromotionChoice) {
  StartPersonsGame();
  MouseMove("7g7f");
  MouseMove("3c3d");
  MouseMove("8h2b");
  ASSERT_TRUE(view->PromotionOpen());
  Send(wxEVT_RIGHT_DOWN, wxPoint(300, 190));
  Send(wxEVT_RIGHT_UP, wxPoint(300, 190));
  EXPECT_FALSE(view->PromotionOpen());
  EXPECT_EQ(view->State().InteractionState, kStateGame);
  EXPECT_EQ(Moves(), "7g7f 3c3d");
  EXPECT_EQ(view->State().Shown.Board[SquareOf(8, 8)], kBishop);
}

TEST_F(ViewMouseTest, SetUpMovesPiecesBetweenHandsBoardAndBox) {
  view->RunCommand(kCmdMateSetUp);
  ASSERT_EQ(view->State().InteractionState, kStateSetUp);
  ProgramState& s = view->State();
  // A gold from the second player's hand to 5二.
  MouseDrag(HandPoint(kSecond, kGold), SquarePoint(SquareOf(5, 2)));
  EXPECT_EQ(s.Shown.Board[SquareOf(5, 2)], -kGold);
  EXPECT_EQ(s.Shown.Hand[kSecond][kGold], 3);
  // Into the box and out again as the first player's (the side at the bottom).
  MouseDrag(SquarePoint(SquareOf(5, 2)), BoxPoint(kGold));
  EXPECT_EQ(s.PieceBox[kGold], 1);
  MouseDrag(BoxPoint(kGold), SquarePoint(SquareOf(5, 3)));
  EXPECT_EQ(s.Shown.Board[SquareOf(5, 3)], kGold);
  // The second player's king into the box; a king cannot go into a hand: it comes back.
  MouseDrag(SquarePoint(SquareOf(5, 1)), BoxPoint(0));
  ASSERT_EQ(s.PieceBox[0], 1);
  MouseDrag(BoxPoint(0), HandPoint(kFirst, kPawn));
  EXPECT_EQ(s.PieceBox[0], 1);
  MouseDrag(BoxPoint(0), SquarePoint(SquareOf(5, 9)));
  EXPECT_EQ(s.Shown.Board[SquareOf(5, 9)], kKing);
  // A right click turns the gold into the other side's.
  Send(wxEVT_RIGHT_DOWN, SquarePoint(SquareOf(5, 3)));
  Send(wxEVT_RIGHT_UP, SquarePoint(SquareOf(5, 3)));
  EXPECT_EQ(s.Shown.Board[SquareOf(5, 3)], -kGold);
  MouseDrag(HandPoint(kSecond, kRook), BoxPoint(kRook));
  MouseDrag(HandPoint(kSecond, kPawn), BoxPoint(kPawn));
  MouseDrag(HandPoint(kSecond, kPawn), BoxPoint(kPawn));
  Pump();
  SavePicture("setup");
  view->RunCommand(kCmdEndSetUp);
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Shown.King[kFirst], SquareOf(5, 9));
  EXPECT_EQ(s.Shown.King[kSecond], kNoKing);
  EXPECT_EQ(s.Record.InitialPosition, s.Shown);
}

TEST_F(ViewMouseTest, ClockLinesInBothModes) {
  view->State().Record.Clocks[kFirst] = 3900;
  view->ApplyUpdate(ViewUpdate{});
  view->RunCommand(kCmdClockMinutes);
  EXPECT_TRUE(CommandChecked(view->State(), kCmdClockMinutes));
  ViewScene scene = BuildScene(view->State(), false);
  EXPECT_EQ(scene.Info[kInfoFirstClock], "(1:05)     ");
  std::set<int> lines;
  for (const SceneChange& c : view->LastChanges()) {
    ASSERT_EQ(c.Item, SceneItem::kInfoLine);
    lines.insert(c.Index);
  }
  EXPECT_EQ(lines, (std::set<int>{kInfoFirstClock, kInfoSecondClock}));
  view->RunCommand(kCmdClockMinutes);
  EXPECT_EQ(BuildScene(view->State(), false).Info[kInfoFirstClock], "(01:05:00)");
}

}  // namespace
}  // namespace shogi::gui
