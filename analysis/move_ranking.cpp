// The best-move ranking.
#include "analysis/move_ranking.h"

#include "rules/move_rules.h"

namespace shogi {

void InsertRankedMove(MoveRanking& ranking, const RankedMove& move) {
  int at = 0;
  while (at < ranking.Count && ranking.Moves[at].Score >= move.Score) ++at;
  if (at >= kRankingSize) return;
  const int last = ranking.Count < kRankingSize ? ranking.Count : kRankingSize - 1;
  for (int i = last; i > at; --i) ranking.Moves[i] = ranking.Moves[i - 1];
  ranking.Moves[at] = move;
  if (ranking.Count < kRankingSize) ++ranking.Count;
}

int RankMoves(const GameRecord& record, const Position& pos, const FvTable& table,
              const PieceValueTable& values, MoveRanking& ranking, std::string& message) {
  ranking.Count = 0;
  if (CheckEvaluable(pos, message) != 0) return 1;
  LegalMoveList moves;
  const int count = LegalMoves(record, pos, moves);
  const Side mover = SideOfPly(record.PlyCount);
  for (int i = 0; i < count; ++i) {
    Position after = pos;
    ApplyMove(after, moves.origin[i], mover, moves.destination[i], moves.promote[i]);
    const int score = Evaluate(table, values, after).Static();
    InsertRankedMove(ranking, {moves.origin[i], moves.destination[i], moves.promote[i],
                               mover == kFirst ? score : -score});
  }
  return 0;
}

}  // namespace shogi
