// Stage 1 of the computer player's move choice: the pseudo-legal move list with the list
// operations that the strategy scripts use, the fixed opening and castling moves, and the
// square-bonus map.
#pragma once

#include <cstdint>

#include "analysis/player_tables.h"
#include "rules/movegen.h"

namespace shogi::player {

// The moves of the side to move as three parallel lists (origin, destination, promotion),
// in the generators' order until a plan reorders them.
struct PlanList {
  int count = 0;
  std::int32_t origin[kMoveBufferSize];
  std::int32_t destination[kMoveBufferSize];
  std::int32_t promote[kMoveBufferSize];

  // The first entry at or after `from_index` with this origin and destination, or -1.
  int Find(int from, int to, int from_index = 0) const;
  // Swaps the first entry with the pair's entry and clears its promotion flag.
  bool ToFront(int from, int to);
  // The same with the second entry (only when the list has two entries or more).
  bool ToSecond(int from, int to);
  // ToFront, looking for the pair from the second entry on.
  bool Promote(int from, int to);
  // Moves the pair to the end of the list, closing the gap, its promotion flag cleared.
  bool ToBack(int from, int to);

 private:
  bool SwapInto(int place, int from, int to, int search_from);
};

// The pseudo-legal moves of `side` in `pos`.
void ListPseudoLegal(const Position& pos, Side side, PlanList& list);

// The fixed opening moves (ply below 10) and castling moves (up to ply 23),
// tried with Promote when no strategy script succeeded. Returns whether one was placed.
bool TryFixedMoves(const Position& pos, Side side, int ply, PlanList& list);

// The square-bonus map for `side` to move at `ply`: all zero up to ply 39; from ply 40 the
// kings' classes select the base maps (the first player's copied, the second player's OR-ed
// in), and the squares two and three ranks in front of the opponent's king get +2 and +1.
BonusMap BuildSquareBonus(const Position& pos, Side side, int ply);

}  // namespace shogi::player
