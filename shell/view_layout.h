// The board view's fixed pixel layout: the regions, the squares, the hand and piece-box
// slots with their spreads, the text lines, the image numbers of the pieces and the hit test
// that maps a mouse point to a square or slot.
#pragma once

#include <algorithm>

#include "shell/program_state.h"

namespace shogi {

// A pixel rectangle, right and bottom edges exclusive.
struct Rect {
  int X = 0, Y = 0, Width = 0, Height = 0;

  constexpr int Right() const { return X + Width; }
  constexpr int Bottom() const { return Y + Height; }
  constexpr bool Contains(int x, int y) const {
    return x >= X && x < Right() && y >= Y && y < Bottom();
  }
  constexpr bool Empty() const { return Width <= 0 || Height <= 0; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
// The rectangle from (x0, y0) up to, not including, (x1, y1).
constexpr Rect RectFromTo(int x0, int y0, int x1, int y1) {
  return Rect{x0, y0, x1 - x0, y1 - y0};
}
// The smallest rectangle holding both (an empty one is ignored).
Rect UnionOf(const Rect& a, const Rect& b);

// The extent of the layout; the view paints its background beyond it.
constexpr int kViewWidth = 640;
constexpr int kViewHeight = 388;

constexpr Rect kBoardPanelRect = RectFromTo(152, 10, 488, 380);
constexpr Rect kUpperHandRect = RectFromTo(8, 10, 144, 176);
constexpr Rect kLowerHandRect = RectFromTo(496, 215, 632, 380);
constexpr Rect kInfoPanelRect = RectFromTo(496, 10, 632, 136);
constexpr Rect kMessageRect = RectFromTo(496, 154, 632, 199);
constexpr Rect kMovePanelRect = RectFromTo(8, 179, 144, 380);
constexpr Rect kPromotionRect{280, 165, 88, 61};

// Grid: ten lines each way, two pixels wide.
constexpr int kGridLeft = 157, kGridTop = 15, kCellWidth = 36, kCellHeight = 40;
constexpr int kGridLineWidth = 2;
// The top-left corners of the four 7 x 7 star points.
constexpr int kStarPoints[4][2] = {{261, 131}, {369, 131}, {261, 251}, {369, 251}};
constexpr int kStarSize = 7;

// Piece images are 32 x 40; what a piece shows lies inside rows 2..39, so that it stays
// between the grid lines.
constexpr int kPieceWidth = 32, kPieceHeight = 40;

// Where the piece of drawn square `square` (1..81, as drawn, file 1 at the right) goes.
constexpr int PieceLeft(int square) {
  return 447 - kCellWidth * (FileOf(square) - 1);
}
constexpr int PieceTop(int square) {
  return kGridTop + kCellHeight * (RankOf(square) - 1);
}
// The inside of a cell between its grid lines: what a change of the square repaints.
constexpr Rect CellRect(int square) {
  return Rect{PieceLeft(square), PieceTop(square) + kGridLineWidth, kCellWidth - kGridLineWidth,
              kCellHeight - kGridLineWidth};
}

// The two hands as drawn: the lower-right hand is the bottom side's (the first player's
// unless the board is flipped).
enum ScreenHand : int { kLowerHand = 0, kUpperHand = 1 };
constexpr Side OwnerOfScreenHand(ScreenHand hand, bool flipped) {
  return (hand == kLowerHand) != flipped ? kFirst : kSecond;
}

// One slot of a hand or of the piece box: n pieces of its type are drawn overlapping over
// min(Spread, 32 (n - 1)) pixels from (X, Y), to the right or (upper hand) to the left.
struct PieceSlot {
  int X = 0, Y = 0, Spread = 0;
  bool Leftward = false;
};
// The slot of piece type 1..7 in a hand.
PieceSlot HandSlot(ScreenHand hand, int type);
// The slot of box index 0 (the kings) or 1..7.
PieceSlot BoxSlot(int index);
// The left edge of piece k (0-based) of n in `slot`.
int SlotPieceLeft(const PieceSlot& slot, int k, int n);
// Everything a slot can cover, whatever its count.
Rect SlotRect(const PieceSlot& slot);

// Text: 16-pixel lines; the information panel's six lines, the message area's two (or one
// centred line) and the move list's ten.
constexpr int kTextHeight = 16;
constexpr int kInfoLineCount = 6;
constexpr int kInfoTextLeft = 504;
constexpr int InfoLineTop(int line) {
  return 12 + 20 * line;
}
Rect InfoLineRect(int line);
constexpr int kMessageTextLeft = 504;
constexpr int kMessageLineTops[2] = {158, 178};
constexpr int kMessageSingleLineTop = 168;
constexpr int kMoveListLines = 10;
constexpr int kMoveListTextLeft = 16;
constexpr int MoveLineTop(int line) {
  return 181 + 20 * line;
}
Rect MoveLineRect(int line);
// A mark "▲" / "△" at the start of a line is a 16 x 16 image; the text follows after it.
constexpr int kMarkSize = 16;

// The promotion choice: the plain piece left, the promoted piece right; a click right of
// the middle promotes; the pointer is kept inside the box and starts at its centre.
constexpr int kPromotionPlainLeft = 286, kPromotionPromotedLeft = 327, kPromotionPieceTop = 175;
constexpr int kPromotionMiddle = 324;
constexpr Rect kPointerCage = RectFromTo(280, 165, 367, 225);
constexpr int kPromotionPointerX = 343, kPromotionPointerY = 196;
// The pointer position nearest to (x, y) inside the promotion box.
inline void KeepInPromotionBox(int& x, int& y) {
  x = std::clamp(x, kPointerCage.X, kPointerCage.Right() - 1);
  y = std::clamp(y, kPointerCage.Y, kPointerCage.Bottom() - 1);
}

// A dragged piece is drawn with its centre at the pointer.
constexpr Rect DraggedPieceRect(int x, int y) {
  return Rect{x - kPieceWidth / 2, y - kPieceHeight / 2, kPieceWidth, kPieceHeight};
}

// The coordinates: the board's wood reaches into the gaps above and beside the panels, the
// file digits ９..１ in the strip above the grid, the rank numerals 一..九 in the one at its
// right (flipped with the board).
constexpr Rect kCoordinateBoardRect = RectFromTo(152, 1, 495, 380);
constexpr int kSmallTextHeight = 11;
constexpr int kFileLabelTop = 2;
constexpr int kRankLabelLeft = 484;
// The label of the file drawn in column `drawn_file` (1 at the right) and of the rank drawn
// in row `drawn_rank` (1 at the top), UTF-8.
const char* FileLabel(int drawn_file, bool flipped);
const char* RankLabel(int drawn_rank, bool flipped);

// With counts shown, two or more pieces of a slot are one piece and its count: a numeral on a
// small plate beside the piece, right of it in the lower hand and the box, left of it in the
// turned-round upper hand. Inside SlotRect, so that the slot's repaint covers it.
constexpr int kCountTextHeight = 12;
Rect CountPlateRect(const PieceSlot& slot, int n);
// How many of a slot's `n` pieces are drawn.
constexpr int PiecesDrawn(int n, bool counts) {
  return counts && n >= 2 ? 1 : n;
}
// The piece box's label "駒箱" in set-up, right of the kings.
constexpr int kBoxLabelLeft = 88, kBoxLabelTop = 190;

// The line 0..9 of the move list under a point, or -1.
int MoveLineAt(int x, int y);

// The view drawn at a scale: layout pixels to the screen's and back.
struct ViewScale {
  int Percent = 100;
  constexpr int Px(int v) const { return v * Percent / 100; }
  constexpr Rect Px(const Rect& r) const {
    return RectFromTo(Px(r.X), Px(r.Y), Px(r.Right()), Px(r.Bottom()));
  }
  // The layout point of a screen point (the hit test works in layout pixels).
  constexpr int Layout(int v) const { return v * 100 / Percent; }
};

// "ウィンドウに合わせる": the largest scale (per cent) at which a layout of `layout_width` x
// `layout_height` fits a view of `width` x `height` pixels, never below kMinFitPercent.
constexpr int kMinFitPercent = 50;
constexpr int FitPercent(int width, int height, int layout_width, int layout_height) {
  return std::max(kMinFitPercent,
                  std::min(width * 100 / layout_width, height * 100 / layout_height));
}

// Image numbers of the artwork.
constexpr int kImageBackground = 102;    // 48 x 48 tile of the whole view
constexpr int kImageBoardTile = 103;     // 64 x 40 tile of the board and the hands
constexpr int kImageStarPoint = 104;     // 7 x 7
constexpr int kImagePanel = 137;         // background of the text panels
constexpr int kImageGoteMark = 138;      // "△", 16 x 16
constexpr int kImageSenteMark = 140;     // "▲", 16 x 16
constexpr int kImagePromotionBox = 141;  // 88 x 61
// The image of a piece code as drawn (positive: upright, the bottom side's; negative:
// turned round), or 0 for an empty square and codes that name no piece.
int PieceImageId(int code);

// The mouse point's square, hand slot or piece-box slot (the box answers in every state; only
// set-up takes pieces from it). Hands are named by their owner.
BoardSpot HitTest(int x, int y, bool flipped);

}  // namespace shogi
