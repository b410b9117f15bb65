// The evaluation of a position with the evaluation file and the piece values: the raw fv
// sum, the material balance and the static evaluation, all from the first player's point of
// view (positive favours the first player).
#pragma once

#include <string>

#include "analysis/fv_features.h"
#include "analysis/fv_table.h"
#include "analysis/material.h"

namespace shogi {

// The kings' feature squares: the first player's (bk) and the second player's (wk).
struct KingSquares {
  int First = 0;
  int Second = 0;
};
KingSquares KingFeatureSquares(const Position& pos);

// The pair terms of the lists: for every i and j <= i, pc_on_sq[bk] of the pair
// (List0[i], List0[j]) minus pc_on_sq[Inverse(wk)] of (List1[i], List1[j]). Incremental
// searches keep the lists and call this on them.
int FvPairSum(const FvTable& table, KingSquares kings, const FeatureLists& lists);
// The kkp terms of the hands and the board pieces (kings excepted).
int FvKkpSum(const FvTable& table, KingSquares kings, const Position& pos);

// The raw fv sum (1/32 of a material point) of a position that passed CheckEvaluable.
int FvSum(const FvTable& table, const Position& pos);

// Material and raw fv of one position; the static evaluation is material + fv / 32, the
// division truncating towards zero (a raw -33 adds -1).
struct Evaluation {
  int Material = 0;
  int Fv = 0;
  int Static() const { return Material + Fv / 32; }
  // 32 x material + fv: the static evaluation in the file's units, without truncation.
  int Fine() const { return 32 * Material + Fv; }
};
// The evaluation of a position that passed CheckEvaluable.
Evaluation Evaluate(const FvTable& table, const PieceValueTable& values, const Position& pos);

}  // namespace shogi
