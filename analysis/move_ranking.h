// The best-move ranking: every legal move of the side to move scored by the static
// evaluation of the position after it, the 64 best kept.
#pragma once

#include <string>

#include "analysis/evaluation.h"
#include "rules/game_record.h"

namespace shogi {

constexpr int kRankingSize = 64;

struct RankedMove {
  int Origin = 0;  // 1..81, or 100 + type for a drop
  int Destination = 0;
  int Promote = 0;
  int Score = 0;  // for the mover: higher is better
  MoveCode Move() const { return EncodeMove(Origin, Destination, Promote); }
};

// Highest score first; among equal scores the move generated first comes first.
struct MoveRanking {
  int Count = 0;
  RankedMove Moves[kRankingSize];
};

// Puts `move` before the first entry with a smaller score; a move that would stand 65th is
// dropped, and a full list loses its last entry.
void InsertRankedMove(MoveRanking& ranking, const RankedMove& move);

// Ranks the legal moves of the side to move (record.PlyCount mod 2) in `pos`, the shown
// position of `record`: each scored by material + fv / 32 of the position after it, negated
// for the second player. Returns 0, or 1 with `message` when the position cannot be
// evaluated (CheckEvaluable). The table must be loaded.
[[nodiscard]] int RankMoves(const GameRecord& record, const Position& pos, const FvTable& table,
                            const PieceValueTable& values, MoveRanking& ranking,
                            std::string& message);

}  // namespace shogi
