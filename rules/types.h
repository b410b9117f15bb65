// The shared vocabulary of the game model: sides, squares, piece codes and move codes.
#pragma once

#include <cstdint>

namespace shogi {

// 0 the first player (先手, moves toward rank 1), 1 the second player (後手). A side is
// used as an index (hands, kings, clocks), so it converts to int; an int never silently
// becomes a side, so that arguments in the wrong order do not compile.
enum Side : int { kFirst = 0, kSecond = 1 };
constexpr Side Opponent(Side s) {
  return static_cast<Side>(1 - s);
}
// A board step seen from side S (the first player's steps as they are, the second player's
// negated), and whether a piece code is S's own (the first player's codes are positive).
template <Side S>
constexpr int Toward(int d) {
  return S == kFirst ? d : -d;
}
template <Side S>
constexpr bool Own(int code) {
  return S == kFirst ? code > 0 : code < 0;
}
// The side that plays ply `ply`: the first player on even plies.
constexpr Side SideOfPly(int ply) {
  return static_cast<Side>(ply & 1);
}

// Squares 1..81 = file + 9 * (rank - 1); rank 1 is the second player's back rank.
// Square 0 stands for "no square".
using Square = int;
constexpr Square kNoSquare = 0;
constexpr int kSquareCount = 81;
constexpr Square SquareOf(int file, int rank) {
  return file + 9 * (rank - 1);
}
constexpr int FileOf(Square s) {
  return (s - 1) % 9 + 1;
}
constexpr int RankOf(Square s) {
  return (s - 1) / 9 + 1;
}
constexpr bool IsSquare(int s) {
  return s >= 1 && s <= kSquareCount;
}

// Steps between neighbouring squares, as seen from above with rank 1 at the top.
constexpr int kUp = -9;         // toward rank 1 (the first player's forward)
constexpr int kDown = 9;        // toward rank 9 (the second player's forward)
constexpr int kLeftward = -1;   // file - 1
constexpr int kRightward = 1;   // file + 1
constexpr int kUpLeft = -10;    // rank - 1, file - 1
constexpr int kUpRight = -8;    // rank - 1, file + 1
constexpr int kDownLeft = 8;    // rank + 1, file - 1
constexpr int kDownRight = 10;  // rank + 1, file + 1

// The promotion zone: ranks 1..3 for the first player, 7..9 for the second.
constexpr bool InPromotionZone(Side side, Square s) {
  return side == kFirst ? s <= 27 : s >= 55;
}

// Piece types 1..15 (unsigned); a PieceCode is +type for the first player, -type for the
// second, 0 for an empty square. Promotion adds 8 to the type; 13 never occurs.
using PieceCode = std::int8_t;
enum PieceType : int {
  kEmpty = 0,
  kPawn = 1,
  kLance = 2,
  kKnight = 3,
  kSilver = 4,
  kGold = 5,
  kBishop = 6,
  kRook = 7,
  kKing = 8,
  kPromotedPawn = 9,
  kPromotedLance = 10,
  kPromotedKnight = 11,
  kPromotedSilver = 12,
  kHorse = 14,
  kDragon = 15,
};
constexpr int kPromoteOffset = 8;

constexpr int TypeOf(int code) {
  return code < 0 ? -code : code;
}
constexpr bool IsFirstPiece(int code) {
  return code > 0;
}
constexpr bool IsSecondPiece(int code) {
  return code < 0;
}
constexpr bool BelongsTo(int code, Side side) {
  return side == kFirst ? code > 0 : code < 0;
}
constexpr int CodeOf(int type, Side side) {
  return side == kFirst ? type : -type;
}
// The unpromoted type of a piece type; the king stays the king.
constexpr int BaseType(int type) {
  return type == kKing ? kKing : (type & 7);
}
constexpr bool CanPromote(int type) {
  return type >= kPawn && type <= kRook && type != kGold;
}
constexpr int PromotedType(int type) {
  return type + kPromoteOffset;
}

// A move of two bytes. Byte 0: destination 1..81, plus 100 when the move promotes.
// Byte 1: origin 1..81 for a board move, 100 + piece type for a drop. A zero byte 0 ends a
// move list. The side is not stored: it follows from the ply.
struct MoveCode {
  std::uint8_t to = 0;
  std::uint8_t from = 0;

  friend bool operator==(const MoveCode&, const MoveCode&) = default;
};
static_assert(sizeof(MoveCode) == 2);

constexpr int kDropBase = 100;
constexpr int kPromoteFlag = 100;
constexpr bool IsDropOrigin(int origin) {
  return origin > kDropBase;
}
constexpr int DropOrigin(int type) {
  return kDropBase + type;
}
constexpr int DroppedType(int origin) {
  return origin - kDropBase;
}

constexpr MoveCode EncodeMove(int origin, int destination, int promote) {
  return MoveCode{static_cast<std::uint8_t>(destination + (promote ? kPromoteFlag : 0)),
                  static_cast<std::uint8_t>(origin)};
}
constexpr bool IsEndMarker(MoveCode m) {
  return m.to == 0;
}
constexpr bool IsDrop(MoveCode m) {
  return m.from > kDropBase;
}
constexpr bool IsPromotion(MoveCode m) {
  return m.to > kPromoteFlag;
}
constexpr int DestinationOf(MoveCode m) {
  return m.to > kPromoteFlag ? m.to - kPromoteFlag : m.to;
}
constexpr int OriginOf(MoveCode m) {
  return m.from;
}

}  // namespace shogi
