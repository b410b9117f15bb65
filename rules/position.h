// The 100-byte position record, the standard initial position, ApplyMove and the king finder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "rules/types.h"

namespace shogi {

// Byte layout (signed 8-bit values), shared byte for byte with the thinking library, the
// record formats and the databases:
//   0        always 0 (there is no square 0)
//   1..81    PieceCode of square 1..81
//   82       always 0 (hand slot of type 0)
//   83..89   first player's pieces in hand, count of type t at 82 + t
//   90       always 0
//   91..97   second player's pieces in hand, count of type t at 90 + t
//   98       square of the first player's king; 0 or -1 (0xFF) when there is none
//   99       square of the second player's king; 0 or -1 when there is none
struct Position {
  std::int8_t Board[82];   // index = square; Board[0] stays 0
  std::int8_t Hand[2][8];  // Hand[side][type], type 1..7; Hand[side][0] stays 0
  std::int8_t King[2];     // king square of each side, <= 0 when the side has none

  const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(this); }
  std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(this); }
  bool HasKing(Side s) const { return King[s] > 0; }

  friend bool operator==(const Position& a, const Position& b) {
    return std::memcmp(&a, &b, sizeof(Position)) == 0;
  }
};
static_assert(sizeof(Position) == 100);
static_assert(offsetof(Position, Board) == 0);
static_assert(offsetof(Position, Hand) == 82);
static_assert(offsetof(Position, Hand) + 8 == 90);
static_assert(offsetof(Position, King) == 98);

constexpr std::int8_t kNoKing = -1;  // 0xFF, written by the set-up commands

// The standard initial position (平手).
extern const Position kInitialPosition;

// Plays one move without any legality check. `origin` is 1..81 or 101..107 (a drop),
// `destination` 1..81 without the promotion 100, `promote` 0/1. Inline: the move generator
// and the database search replay millions of moves.
inline void ApplyMove(Position& pos, int origin, Side side, int destination, int promote) {
  if (IsDropOrigin(origin)) {
    int type = DroppedType(origin);
    pos.Board[destination] = static_cast<std::int8_t>(CodeOf(type, side));
    --pos.Hand[side][type];
    return;
  }
  int captured = pos.Board[destination];
  if (captured > 0) {
    ++pos.Hand[kSecond][captured & 7];
  } else if (captured < 0) {
    ++pos.Hand[kFirst][(-captured) & 7];
  }
  int code = pos.Board[origin];
  if (promote) {
    code += code > 0 ? kPromoteOffset : -kPromoteOffset;
  } else if (code == kKing) {
    pos.King[kFirst] = static_cast<std::int8_t>(destination);
  } else if (code == -kKing) {
    pos.King[kSecond] = static_cast<std::int8_t>(destination);
  }
  pos.Board[destination] = static_cast<std::int8_t>(code);
  pos.Board[origin] = 0;
}

// Plays a move code for `side`.
inline void ApplyMove(Position& pos, MoveCode m, Side side) {
  ApplyMove(pos, OriginOf(m), side, DestinationOf(m), IsPromotion(m) ? 1 : 0);
}

// Sets both king squares from the board: the first square (in ascending order) holding 8
// and the first holding -8, kNoKing where there is none. Every place that rebuilds a
// position from its squares (set-up, record diagrams and boards, SFEN) uses this one rule,
// so that a board with two kings of one side gets the same king square everywhere.
void FindKingSquares(Position& pos);

}  // namespace shogi
