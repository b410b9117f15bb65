// The board view's hit test, slot spreads and piece images.
#include "shell/view_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace shogi {
namespace {

TEST(ViewLayoutTest, HitTestMapsPointsToSquaresAndSlots) {
  struct Case {
    int x, y;
    bool flipped;
    BoardArea area;
    int index;
  } cases[] = {
      {160, 20, false, BoardArea::kBoard, 9},    // top-left cell: 9一
      {160, 20, true, BoardArea::kBoard, 73},    // flipped: the board turned round
      {480, 374, false, BoardArea::kBoard, 73},  // bottom-right pixel: 1九
      {481, 374, false, BoardArea::kNone, 0},    // right of the grid
      {320, 200, false, BoardArea::kBoard, 41},  // 5五 in the middle
      {500, 350, false, BoardArea::kFirstHand, kPawn},
      {561, 300, false, BoardArea::kFirstHand, kKnight},
      {562, 300, false, BoardArea::kFirstHand, kLance},
      {500, 220, true, BoardArea::kSecondHand, kRook},  // flipped: the hands change owners
      {600, 260, false, BoardArea::kFirstHand, kSilver},
      {10, 20, false, BoardArea::kSecondHand, kPawn},
      {75, 100, false, BoardArea::kSecondHand, kSilver},
      {76, 140, false, BoardArea::kSecondHand, kRook},
      {76, 60, true, BoardArea::kFirstHand, kKnight},
      {20, 190, false, BoardArea::kPieceBox, 0},  // kings
      {73, 230, false, BoardArea::kPieceBox, kRook},
      {74, 230, false, BoardArea::kPieceBox, kBishop},
      {100, 370, false, BoardArea::kPieceBox, kPawn},
      {143, 370, false, BoardArea::kNone, 0},
      {634, 100, false, BoardArea::kNone, 0},
  };
  for (const Case& c : cases) {
    BoardSpot spot = HitTest(c.x, c.y, c.flipped);
    EXPECT_EQ(spot.Area, c.area) << c.x << "," << c.y;
    EXPECT_EQ(spot.Index, c.index) << c.x << "," << c.y;
  }
}

TEST(ViewLayoutTest, EverySquareCentreHitsItsOwnSquare) {
  for (bool flipped : {false, true}) {
    for (int drawn = 1; drawn <= 81; ++drawn) {
      Rect cell = CellRect(drawn);
      BoardSpot spot = HitTest(cell.X + cell.Width / 2, cell.Y + cell.Height / 2, flipped);
      ASSERT_EQ(spot.Area, BoardArea::kBoard);
      EXPECT_EQ(spot.Index, flipped ? 82 - drawn : drawn);
    }
  }
}

TEST(ViewLayoutTest, PiecesOfASlotSpreadWithinItsWidth) {
  // Eighteen pawns in the lower hand overlap within 96 pixels.
  PieceSlot pawns = HandSlot(kLowerHand, kPawn);
  EXPECT_EQ(SlotPieceLeft(pawns, 0, 18), 499);
  EXPECT_EQ(SlotPieceLeft(pawns, 17, 18), 499 + 96);
  // Two rooks: 32 pixels apart; two bishops: the right slot's spread is 30.
  EXPECT_EQ(SlotPieceLeft(HandSlot(kLowerHand, kRook), 1, 2), 499 + 32);
  EXPECT_EQ(SlotPieceLeft(HandSlot(kLowerHand, kBishop), 1, 2), 568 + 30);
  EXPECT_EQ(SlotPieceLeft(HandSlot(kLowerHand, kPawn), 2, 3), 499 + 64);
  // The upper hand spreads to the left.
  EXPECT_EQ(SlotPieceLeft(HandSlot(kUpperHand, kPawn), 0, 1), 109);
  EXPECT_EQ(SlotPieceLeft(HandSlot(kUpperHand, kPawn), 17, 18), 109 - 96);
  EXPECT_EQ(SlotPieceLeft(HandSlot(kUpperHand, kLance), 3, 4), 43 - 32);
  // The piece box: the lower arrangement moved left, the kings on top.
  EXPECT_EQ(BoxSlot(0).Y, 179);
  EXPECT_EQ(BoxSlot(kBishop).X, 80);
  // Every slot stays inside its panel and no two slots of a panel overlap.
  auto inside = [](const Rect& inner, const Rect& outer) {
    return inner.X >= outer.X && inner.Y >= outer.Y && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
  };
  for (int t = kPawn; t <= kRook; ++t) {
    EXPECT_TRUE(inside(SlotRect(HandSlot(kLowerHand, t)), kLowerHandRect)) << t;
    EXPECT_TRUE(inside(SlotRect(HandSlot(kUpperHand, t)), kUpperHandRect)) << t;
  }
  for (int i = 0; i < kPieceBoxSlots; ++i) {
    EXPECT_TRUE(inside(SlotRect(BoxSlot(i)), kMovePanelRect)) << i;
    for (int j = i + 1; j < kPieceBoxSlots; ++j) {
      Rect a = SlotRect(BoxSlot(i)), b = SlotRect(BoxSlot(j));
      bool overlap = a.X < b.Right() && b.X < a.Right() && a.Y < b.Bottom() && b.Y < a.Bottom();
      EXPECT_FALSE(overlap) << i << " " << j;
    }
  }
}

// With counts shown a slot is one piece and its count, the count beside the piece (never over
// its glyph) and inside the slot.
TEST(ViewLayoutTest, CountsStandBesideTheirPieceInsideTheSlot) {
  std::vector<PieceSlot> slots;
  for (int t = kPawn; t <= kRook; ++t) {
    slots.push_back(HandSlot(kLowerHand, t));
    slots.push_back(HandSlot(kUpperHand, t));
  }
  for (int i = 0; i < kPieceBoxSlots; ++i) slots.push_back(BoxSlot(i));
  for (const PieceSlot& slot : slots) {
    for (int n : {2, 18}) {
      SCOPED_TRACE(std::to_string(slot.X) + "," + std::to_string(slot.Y) + " n " +
                   std::to_string(n));
      ASSERT_EQ(PiecesDrawn(n, true), 1);
      const Rect piece{SlotPieceLeft(slot, 0, 1), slot.Y, kPieceWidth, kPieceHeight};
      const Rect plate = CountPlateRect(slot, n);
      EXPECT_TRUE(plate.Right() <= piece.X || plate.X >= piece.Right()) << "over the piece";
      const Rect all = SlotRect(slot);
      EXPECT_TRUE(plate.X >= all.X && plate.Right() <= all.Right() && plate.Y >= all.Y &&
                  plate.Bottom() <= all.Bottom());
    }
  }
  EXPECT_EQ(PiecesDrawn(3, false), 3);
}

TEST(ViewLayoutTest, PieceImagesFollowTheResourceNumbers) {
  EXPECT_EQ(PieceImageId(kPawn), 105);
  EXPECT_EQ(PieceImageId(kKnight), 110);
  EXPECT_EQ(PieceImageId(kPromotedKnight), 109);
  EXPECT_EQ(PieceImageId(-kGold), 133);
  EXPECT_EQ(PieceImageId(-kDragon), 139);
  EXPECT_EQ(PieceImageId(-kKing), 134);
  EXPECT_EQ(PieceImageId(0), 0);
  EXPECT_EQ(PieceImageId(13), 0);
}

}  // namespace
}  // namespace shogi
