// The board view's layout and hit test.
#include "shell/view_layout.h"

namespace shogi {
namespace {

// Rows of a lower-right arrangement (the lower hand and the piece box): the left slot's
// type, the right slot's type (0: the left slot spans the row), the row's top.
struct SlotRow {
  int LeftType, RightType, Top;
};
constexpr SlotRow kLowerRows[4] = {
    {kRook, kBishop, 219}, {kGold, kSilver, 259}, {kKnight, kLance, 299}, {kPawn, 0, 339}};
// The upper hand, turned round: pawns on top, the rook at the bottom right.
constexpr SlotRow kUpperRows[4] = {
    {kPawn, 0, 15}, {kLance, kKnight, 55}, {kSilver, kGold, 95}, {kBishop, kRook, 135}};

PieceSlot RowSlot(const SlotRow (&rows)[4], int type, int left_x, int right_x, bool leftward) {
  for (const SlotRow& row : rows) {
    if (row.LeftType == type) {
      int spread = row.RightType == 0 ? 96 : 32;
      return PieceSlot{left_x, row.Top, spread, leftward};
    }
    if (row.RightType == type) return PieceSlot{right_x, row.Top, 30, leftward};
  }
  return PieceSlot{};
}

}  // namespace

Rect UnionOf(const Rect& a, const Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return RectFromTo(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.Right(), b.Right()),
                    std::max(a.Bottom(), b.Bottom()));
}

PieceSlot HandSlot(ScreenHand hand, int type) {
  if (hand == kLowerHand) return RowSlot(kLowerRows, type, 499, 568, false);
  // The upper hand's pawns start at the right slot's x as well.
  PieceSlot slot = RowSlot(kUpperRows, type, 43, 109, true);
  if (type == kPawn) slot.X = 109;
  return slot;
}

PieceSlot BoxSlot(int index) {
  if (index == 0) return PieceSlot{11, 179, 32, false};
  return RowSlot(kLowerRows, index, 11, 80, false);
}

int SlotPieceLeft(const PieceSlot& slot, int k, int n) {
  if (n <= 1) return slot.X;
  const int used = std::min(slot.Spread, kPieceWidth * (n - 1));
  const int offset = used * k / (n - 1);
  return slot.Leftward ? slot.X - offset : slot.X + offset;
}

Rect SlotRect(const PieceSlot& slot) {
  const int left = slot.Leftward ? slot.X - slot.Spread : slot.X;
  return Rect{left, slot.Y, slot.Spread + kPieceWidth, kPieceHeight};
}

Rect InfoLineRect(int line) {
  return RectFromTo(kInfoPanelRect.X, InfoLineTop(line), kInfoPanelRect.Right(),
                    InfoLineTop(line) + 20);
}

Rect MoveLineRect(int line) {
  return RectFromTo(kMovePanelRect.X, MoveLineTop(line), kMovePanelRect.Right(),
                    MoveLineTop(line) + 20);
}

const char* FileLabel(int drawn_file, bool flipped) {
  static constexpr const char* kDigits[10] = {"",   "１", "２", "３", "４",
                                              "５", "６", "７", "８", "９"};
  return kDigits[flipped ? 10 - drawn_file : drawn_file];
}

const char* RankLabel(int drawn_rank, bool flipped) {
  static constexpr const char* kNumerals[10] = {"",   "一", "二", "三", "四",
                                                "五", "六", "七", "八", "九"};
  return kNumerals[flipped ? 10 - drawn_rank : drawn_rank];
}

Rect CountPlateRect(const PieceSlot& slot, int n) {
  const int width = n >= 10 ? 17 : 11, height = 13;
  const int top = slot.Y + (kPieceHeight - height) / 2;
  if (slot.Leftward) return Rect{slot.X - width - 2, top, width, height};
  return Rect{slot.X + kPieceWidth + 2, top, width, height};
}

int MoveLineAt(int x, int y) {
  if (!kMovePanelRect.Contains(x, y) || y < MoveLineTop(0)) return -1;
  const int line = (y - MoveLineTop(0)) / (MoveLineTop(1) - MoveLineTop(0));
  return line < kMoveListLines ? line : -1;
}

int PieceImageId(int code) {
  // Indexed by piece type 1..15; 0 where a type has no image.
  static constexpr int kFirstImage[16] = {0,   105, 107, 110, 111, 113, 115, 117,
                                          119, 106, 108, 109, 112, 0,   116, 118};
  static constexpr int kSecondImage[16] = {0,   120, 122, 124, 126, 133, 130, 132,
                                           134, 121, 123, 125, 127, 0,   131, 139};
  const int type = TypeOf(code);
  if (type < 1 || type > 15) return 0;
  return code > 0 ? kFirstImage[type] : kSecondImage[type];
}

BoardSpot HitTest(int x, int y, bool flipped) {
  if (x >= 157 && x <= 480 && y >= 15 && y <= 374) {
    int square = ((y - 15) / 40) * 9 + (480 - x) / 36 + 1;
    return {BoardArea::kBoard, flipped ? 82 - square : square};
  }
  const BoardArea lower = flipped ? BoardArea::kSecondHand : BoardArea::kFirstHand;
  const BoardArea upper = flipped ? BoardArea::kFirstHand : BoardArea::kSecondHand;
  if (x >= 496 && x <= 631 && y >= 215 && y < 380) {
    const bool left = x < 562;
    int type = y >= 339   ? kPawn
               : y >= 299 ? (left ? kKnight : kLance)
               : y >= 259 ? (left ? kGold : kSilver)
                          : (left ? kRook : kBishop);
    return {lower, type};
  }
  if (x >= 8 && x < 144 && y >= 10 && y < 176) {
    const bool left = x < 76;
    int type = y < 55    ? kPawn
               : y < 95  ? (left ? kLance : kKnight)
               : y < 135 ? (left ? kSilver : kGold)
                         : (left ? kBishop : kRook);
    return {upper, type};
  }
  if (x >= 8 && x <= 142 && y >= 179 && y <= 378) {
    const bool left = x < 74;
    int index = y >= 339   ? kPawn
                : y >= 299 ? (left ? kKnight : kLance)
                : y >= 259 ? (left ? kGold : kSilver)
                : y < 219  ? 0
                           : (left ? kRook : kBishop);
    return {BoardArea::kPieceBox, index};
  }
  return {};
}

}  // namespace shogi
