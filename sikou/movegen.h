// Move generation of the thinking library: piece moves, the pseudo-legal list in its fixed
// order, the pawn-drop mate test and the legal move list.
#pragma once

#include "attack.h"
#include "position.h"

namespace thinking {

struct Game;

// Candidate lists hold up to 2 000 moves, more than any position can produce.
constexpr int kMaxMoves = 2000;
using CandidateList = MoveList<kMaxMoves>;

// Which promotion variants a generator lists when promotion is optional.
enum class Variants {
  kBoth,           // both, the promoting one first (the knight: the plain one first)
  kPromotingOnly,  // pawns, bishops and rooks only promoting (the reduced check generator)
};

// Lists the move of the piece `code` of side `s` from `from` to `to` in the forms the rules
// allow: only promoting where the piece could not move again otherwise, both where promotion
// is optional (the move starts or ends in the zone), else only plain.
template <int N>
void AddBoardMove(MoveList<N>& list, Side s, int code, int from, int to,
                  Variants variants = Variants::kBoth) {
  const int type = TypeOf(code);
  if (!CanPromote(type) || (!InPromotionZone(s, from) && !InPromotionZone(s, to))) {
    list.Push(MakeMove(from, to, 0));
  } else if (MustPromote(s, type, to)) {
    list.Push(MakeMove(from, to, 1));
  } else if (type == kKnight) {
    list.Push(MakeMove(from, to, 0));
    list.Push(MakeMove(from, to, 1));
  } else {
    list.Push(MakeMove(from, to, 1));
    const bool plain_pointless =
        variants == Variants::kPromotingOnly && (type == kPawn || type == kBishop || type == kRook);
    if (!plain_pointless) list.Push(MakeMove(from, to, 0));
  }
}

// Lists the moves of the piece on `from` (which belongs to side `s`) in the fixed direction
// order, sliders stopping at the first occupied square. With `captures_only`, only moves
// onto an enemy piece.
template <int N>
void AddPieceMoves(const Position& pos, Side s, int from, bool captures_only, MoveList<N>& list,
                   Variants variants = Variants::kBoth) {
  const int code = pos.Board[from];
  const int type = TypeOf(code);
  auto consider = [&](int to) {
    const int target = pos.Board[to];
    if (BelongsTo(target, s) || (captures_only && !target)) return;
    AddBoardMove(list, s, code, from, to, variants);
  };
  if (type == kKnight) {
    for (int to : kGeometry.knight[s][from]) {
      if (to) consider(to);
    }
    return;
  }
  for (int dir : kMoveOrder[s]) {
    if (Slides(s, type, dir)) {
      for (int to = Next(from, dir); to; to = Next(to, dir)) {
        consider(to);
        if (pos.Board[to]) break;
      }
    } else if (Steps(s, type, dir)) {
      const int to = Next(from, dir);
      if (to) consider(to);
    }
  }
}

// Every move of side `s` in the order the move choice works through: rook drops into the
// opponent's camp, board moves square by square, pawn drops, then the other drops.
void GeneratePseudoLegal(const Position& pos, Side s, CandidateList& list);

// Whether a pawn of side `s` dropped on `sq` would mate (and so may not be dropped).
bool PawnDropMates(const Position& pos, Side s, int sq);

// The legal moves of the side to move of `game`'s position, in generation order: king captures
// are kept at once; pawn-drop mates, moves that leave the own king attacked and forbidden
// perpetual checks are left out.
void GenerateLegal(const Game& game, CandidateList& list);

}  // namespace thinking
