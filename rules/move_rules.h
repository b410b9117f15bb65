// The rule book: legal moves, the pawn-drop-mate ban, repetition, the perpetual-check ban
// and the check of a position before a game starts.
#pragma once

#include <cstdint>

#include "rules/game_record.h"
#include "rules/movegen.h"

namespace shogi {

// Three parallel lists: origin (1..81 or 100 + type), destination (1..81, never with 100
// added) and promotion flag. Sized like the generator's buffer, so that no position, not
// even a hand-built one, can overflow them.
struct LegalMoveList {
  int count = 0;
  std::int32_t origin[kMoveBufferSize];
  std::int32_t destination[kMoveBufferSize];
  std::int32_t promote[kMoveBufferSize];

  MoveCode Move(int i) const { return EncodeMove(origin[i], destination[i], promote[i]); }
};

// The legal moves of the side to move (record.PlyCount mod 2) in `pos`, the shown position
// of `record`, in generation order. Returns the count; 0 means mated or stalemated.
[[nodiscard]] int LegalMoves(const GameRecord& record, const Position& pos, LegalMoveList& out);

// Whether `move` is one of the legal moves of the side to move (record.PlyCount mod 2) in
// `pos`, the shown position of `record`.
[[nodiscard]] bool IsLegalMove(const GameRecord& record, const Position& pos, MoveCode move);

// Whether a record reader may take `move` as played by `side` in `pos`: a board move of one
// of the side's pieces that the pseudo-legal generator lists (its promotion rules
// included), or a drop of a piece the side holds onto an empty square; never a capture of a
// king. A move that leaves the mover's king in check, or a pawn dropped into a file that
// already holds the mover's pawn, still passes: records of real games end with such fouls.
[[nodiscard]] bool IsPlayableMove(const Position& pos, Side side, MoveCode move);

// A board move of a piece that cannot promote any more (a promoted piece, or the king)
// carries no promotion mark: a mark that a file or a database gives it ("５七龍成(77)") is
// dropped rather than the move refused.
inline MoveCode WithoutRedundantMark(const Position& pos, MoveCode m) {
  if (IsPromotion(m) && !IsDrop(m) && IsSquare(OriginOf(m)) &&
      TypeOf(pos.Board[OriginOf(m)]) > kRook)
    m.to = static_cast<std::uint8_t>(m.to - kPromoteFlag);
  return m;
}

// -1 if `side` dropping a pawn on `square` would mate (and is forbidden), 0 otherwise.
[[nodiscard]] int PawnDropMate(const Position& pos, Side side, Square square);

constexpr int kPerpetualCheck = -20000;

// The score of the candidate position `after` that the side to move of `record` (at its
// PlyCount) would produce: kPerpetualCheck when the move completes a forbidden perpetual
// check (the fourth occurrence reached through continuous checks), otherwise a value <= 0.
[[nodiscard]] int PerpetualCheckScore(const GameRecord& record, const Position& after);

// How often `shown` (the position at record.PlyCount) has occurred with the same side to
// move, counting itself (>= 1). Squares and both hands are compared.
[[nodiscard]] int RepetitionCount(const GameRecord& record, const Position& shown);

enum class PositionCheck : int {
  kPlayable = 0,
  kMissingKing = -1,     // a required king has not been placed
  kDeadPiece = 1,        // a pawn, lance or knight that can never move again
  kTwoPawns = 2,         // two unpromoted pawns of one side in a file
  kOpponentInCheck = 3,  // the side not to move is in check
};

// The sanity test before a game. The second player's king is always required (mate
// problems lack only the first player's); `both_kings` requires the first player's too.
[[nodiscard]] PositionCheck CheckPosition(const Position& pos, Side side_to_move, bool both_kings);

}  // namespace shogi
