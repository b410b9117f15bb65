// The thinking library's own position record, squares, piece codes, moves and move applying.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace thinking {

// 0 the first player (moves toward rank 1), 1 the second player (moves toward rank 9). An
// int never silently becomes a side, as in the main program.
enum Side : int { kFirst = 0, kSecond = 1 };
constexpr Side Opponent(Side s) {
  return static_cast<Side>(1 - s);
}
// The side that plays ply `ply`: the first player on even plies.
constexpr Side SideOfPly(int ply) {
  return static_cast<Side>(ply & 1);
}

// Squares 1..81 = file + 9 * (rank - 1); rank 1 is the second player's back rank.
// 0 is no square (and the scratch slot of the record).
constexpr int kSquareCount = 81;
constexpr bool IsSquare(int sq) {
  return sq >= 1 && sq <= kSquareCount;
}
constexpr int FileOf(int sq) {
  return (sq - 1) % 9 + 1;
}
constexpr int RankOf(int sq) {
  return (sq - 1) / 9 + 1;
}
constexpr int SquareOf(int file, int rank) {
  return file + 9 * (rank - 1);
}
// Rank counted from the side's own far end: 1 is the rank where its pawns must promote.
constexpr int RelativeRank(Side s, int sq) {
  return s == kFirst ? RankOf(sq) : 10 - RankOf(sq);
}
constexpr bool InPromotionZone(Side s, int sq) {
  return RelativeRank(s, sq) <= 3;
}

// Piece types; a piece code is +type for the first player, -type for the second, 0 empty.
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
constexpr int kPromoteOffset = 8;  // added to a type when it promotes

constexpr int TypeOf(int code) {
  return code < 0 ? -code : code;
}
// The type a captured piece goes into the hand as (a captured king counts as type 0).
constexpr int HandType(int code) {
  return TypeOf(code) & 7;
}
constexpr bool BelongsTo(int code, Side s) {
  return s == kFirst ? code > 0 : code < 0;
}
constexpr bool IsEnemy(int code, Side s) {
  return s == kFirst ? code < 0 : code > 0;
}
constexpr int CodeOf(int type, Side s) {
  return s == kFirst ? type : -type;
}
constexpr bool CanPromote(int type) {
  return type >= kPawn && type <= kRook && type != kGold;
}
// Pawns and lances on the far rank, knights on the last two ranks could never move again.
constexpr bool MustPromote(Side s, int type, int to) {
  return ((type == kPawn || type == kLance) && RelativeRank(s, to) == 1) ||
         (type == kKnight && RelativeRank(s, to) <= 2);
}
// Where a piece of `type` may be dropped (or stand unpromoted).
constexpr bool CanStand(Side s, int type, int sq) {
  return !MustPromote(s, type, sq);
}

// Position record, 100 signed bytes, the same layout and member names as the main program's:
//   0        scratch square, normally 0 (the move choice parks a piece to be dropped here)
//   1..81    piece code of square 1..81
//   82       hand slot of type 0 (a captured king is counted here)
//   83..89   first player's hand, count of type t at 82 + t
//   90       hand slot of type 0 of the second player
//   91..97   second player's hand, count of type t at 90 + t
//   98       square of the first player's king; 0 or -1 (0xFF) when it has none
//   99       square of the second player's king
struct Position {
  std::int8_t Board[82];   // index = square; Board[0] the scratch square
  std::int8_t Hand[2][8];  // Hand[side][type], type 1..7; Hand[side][0] captured kings
  std::int8_t King[2];     // king square of each side, <= 0 when the side has none

  const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(this); }
  // The king's square, or 0 when the side has none.
  int KingSquare(Side s) const { return IsSquare(King[s]) ? King[s] : 0; }
};
static_assert(sizeof(Position) == 100);
static_assert(offsetof(Position, Hand) == 82);
static_assert(offsetof(Position, King) == 98);
static_assert(std::is_trivially_copyable_v<Position>);

constexpr std::int8_t kNoKing = -1;  // 0xFF: what the turned record holds for a missing king
constexpr int kDropBase = 100;       // a drop's origin is 100 + type

// A move as the library handles it: origin 1..81 (0 for the scratch square) or 100 + type for
// a drop, destination 1..81 without the +100, promotion flag 0/1.
struct Move {
  std::uint8_t from;
  std::uint8_t to;
  std::uint8_t promote;
  std::uint8_t spare;
};
static_assert(sizeof(Move) == 4);

constexpr Move MakeMove(int from, int to, int promote) {
  return Move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
              static_cast<std::uint8_t>(promote), 0};
}
constexpr Move MakeDrop(int type, int to) {
  return MakeMove(kDropBase + type, to, 0);
}
constexpr bool IsDrop(const Move& m) {
  return m.from > kDropBase;
}
constexpr int DropType(const Move& m) {
  return m.from - kDropBase;
}
constexpr bool SameMove(const Move& a, const Move& b) {
  return a.from == b.from && a.to == b.to && a.promote == b.promote;
}

// A fixed-capacity move list that lives on the stack. Push refuses beyond the capacity.
template <int N>
struct MoveList {
  static constexpr int kCapacity = N;
  int count = 0;
  Move move[N];

  bool Push(const Move& m) {
    if (count >= N) return false;
    move[count++] = m;
    return true;
  }
  bool Full() const { return count >= N; }
};

// The standard initial position with empty hands.
extern const Position kInitialPosition;

// Plays `m` for side `s` without any legality check: captures go to the mover's hand at their
// base type, promotions add 8 to the type, a plain king move updates the king square.
void ApplyMove(Position& pos, const Move& m, Side s);

// The 32-bit key of bytes 0..93 used to spot earlier positions.
std::uint32_t PositionKey(const Position& pos);

// The position seen from the other side: square q becomes 82 - q with the colours reversed,
// the hands exchanged and a missing king written as 0xFF.
void TurnPosition(const Position& in, Position& out);
// A square of the turned board (0 stays 0).
constexpr int TurnSquare(int sq) {
  return IsSquare(sq) ? 82 - sq : sq;
}

}  // namespace thinking
