// The plan list, the fixed opening and castling moves and the square-bonus map.
#include "analysis/player_plans.h"

#include <utility>

namespace shogi::player {

int PlanList::Find(int from, int to, int from_index) const {
  for (int i = from_index; i < count; ++i) {
    if (origin[i] == from && destination[i] == to) return i;
  }
  return -1;
}

bool PlanList::SwapInto(int place, int from, int to, int search_from) {
  if (count <= place) return false;
  const int i = Find(from, to, search_from);
  if (i < 0) return false;
  std::swap(origin[place], origin[i]);
  std::swap(destination[place], destination[i]);
  std::swap(promote[place], promote[i]);
  promote[place] = 0;
  return true;
}

bool PlanList::ToFront(int from, int to) {
  return SwapInto(0, from, to, 0);
}

bool PlanList::ToSecond(int from, int to) {
  return SwapInto(1, from, to, 0);
}

bool PlanList::Promote(int from, int to) {
  return SwapInto(0, from, to, 1);
}

bool PlanList::ToBack(int from, int to) {
  const int i = Find(from, to);
  if (i < 0) return false;
  for (int j = i; j + 1 < count; ++j) {
    origin[j] = origin[j + 1];
    destination[j] = destination[j + 1];
    promote[j] = promote[j + 1];
  }
  origin[count - 1] = from;
  destination[count - 1] = to;
  promote[count - 1] = 0;
  return true;
}

void ListPseudoLegal(const Position& pos, Side side, PlanList& list) {
  static thread_local MoveBuffer buffer;
  buffer.count = 0;
  GeneratePseudoLegal(pos, side, buffer);
  list.count = buffer.count;
  for (int i = 0; i < buffer.count; ++i) {
    const MoveCode m = buffer.moves[i];
    list.origin[i] = OriginOf(m);
    list.destination[i] = DestinationOf(m);
    list.promote[i] = IsPromotion(m) ? 1 : 0;
  }
}

namespace {

bool RookOn(const Position& pos, Side side, std::initializer_list<Square> squares) {
  for (Square s : squares) {
    if (pos.Board[s] == CodeOf(kRook, side)) return true;
  }
  return false;
}

// The fixed castling move for `side`, in the first player's squares (the second
// player's are the same squares turned), or false.
bool CastlingMove(const Position& pos, Side side, int& from, int& to) {
  const Side other = Opponent(side);
  const int king = pos.King[side] > 0 ? Relative(side, pos.King[side]) : 0;
  struct Row {
    Square king, from, to;
  };
  // 4八→3八, 3八→2八, 6八→7八, king on 7八: gold 4九→5八, king on 2八: silver 3九→3八.
  static constexpr Row kRows[] = {
      {67, 67, 66}, {66, 66, 65}, {69, 69, 70}, {70, 76, 68}, {65, 75, 66}};
  for (const Row& r : kRows) {
    if (king == r.king) {
      from = r.from;
      to = r.to;
      return true;
    }
  }
  if (king != 77) return false;
  from = 77;
  // The king goes away from its own rook: to 4八 when the rook stands on the left (5八..8八),
  // to 6八 when the opponent's rook has swung to 2二..5二, else one step to 6九.
  const bool own_rook_left = RookOn(
      pos, side, {Relative(side, 68), Relative(side, 69), Relative(side, 70), Relative(side, 71)});
  const bool their_rook_swung = RookOn(
      pos, other, {Relative(side, 11), Relative(side, 12), Relative(side, 13), Relative(side, 14)});
  to = own_rook_left ? 67 : their_rook_swung ? 69 : 78;
  return true;
}

// A pawn move of the fixed openings: the piece `guard` on its square, the pawn on `from`
// and the square `to` empty (first player's squares, turned for the second player).
bool OpeningPawn(const Position& pos, Side side, int guard_type, Square guard, Square from,
                 Square to, PlanList& list) {
  const Square g = Relative(side, guard), f = Relative(side, from), t = Relative(side, to);
  if (pos.Board[g] != CodeOf(guard_type, side) || pos.Board[f] != CodeOf(kPawn, side) ||
      pos.Board[t] != 0)
    return false;
  return list.Promote(f, t);
}

}  // namespace

bool TryFixedMoves(const Position& pos, Side side, int ply, PlanList& list) {
  if (ply < 10) {
    // First player: 7六歩 (bishop on 8八), else 2六歩 (rook on 2八). Second player: 8四歩
    // (rook on 8二), else 3四歩 (bishop on 2二) - the same moves turned, in the other order.
    struct Opening {
      int type;
      Square guard, from, to;
    };
    static constexpr Opening kBishopPawn = {kBishop, 71, 61, 52};
    static constexpr Opening kRookPawn = {kRook, 65, 56, 47};
    const Opening& a = side == kFirst ? kBishopPawn : kRookPawn;
    const Opening& b = side == kFirst ? kRookPawn : kBishopPawn;
    if (OpeningPawn(pos, side, a.type, a.guard, a.from, a.to, list)) return true;
    return OpeningPawn(pos, side, b.type, b.guard, b.from, b.to, list);
  }
  if (ply > 23) return false;
  int from, to;
  if (!CastlingMove(pos, side, from, to)) return false;
  return list.Promote(Relative(side, from), Relative(side, to));
}

BonusMap BuildSquareBonus(const Position& pos, Side side, int ply) {
  BonusMap map{};
  if (ply < 40) return map;
  const int first_king = pos.King[kFirst], second_king = pos.King[kSecond];
  if (IsSquare(first_king)) {
    const int c = kKingClass[first_king];
    if (c >= 1) map = kFirstKingMaps[c];
  }
  if (IsSquare(second_king)) {
    const int c = kKingClass[82 - second_king];
    if (c >= 1) {
      for (Square s = 1; s <= 81; ++s)
        map[s] = static_cast<std::int8_t>(map[s] | kSecondKingMaps[c][s]);
    }
  }
  if (side == kFirst && IsSquare(second_king)) {
    if (second_king <= 63) map[second_king + 18] += 2;
    if (second_king <= 54) map[second_king + 27] += 1;
  }
  if (side == kSecond && IsSquare(first_king)) {
    if (first_king > 18) map[first_king - 18] += 2;
    if (first_king > 27) map[first_king - 27] += 1;
  }
  return map;
}

}  // namespace shogi::player
