// Perft over LegalMoves, with the record carrying the moves so that the perpetual-check
// rule sees the real history.
#include "rules/perft.h"

#include "rules/move_rules.h"

namespace shogi {

std::uint64_t Perft(GameRecord& record, const Position& pos, int depth) {
  if (depth <= 0) return 1;
  LegalMoveList list;
  int n = LegalMoves(record, pos, list);
  if (depth == 1) return static_cast<std::uint64_t>(n);
  const int ply = record.PlyCount;
  if (ply + 1 >= kMaxMoves) return 0;
  const MoveCode saved[2] = {record.MoveList[ply], record.MoveList[ply + 1]};
  std::uint64_t total = 0;
  for (int i = 0; i < n; ++i) {
    Position next = pos;
    ApplyMove(next, list.origin[i], SideOfPly(ply), list.destination[i], list.promote[i]);
    record.MoveList[ply] = list.Move(i);
    record.MoveList[ply + 1] = MoveCode{};
    record.PlyCount = ply + 1;
    total += Perft(record, next, depth - 1);
  }
  record.PlyCount = ply;
  record.MoveList[ply] = saved[0];
  record.MoveList[ply + 1] = saved[1];
  return total;
}

}  // namespace shogi
