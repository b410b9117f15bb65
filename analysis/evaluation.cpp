// The raw fv sum, after the evaluation file's own definition.
#include "analysis/evaluation.h"

#include <cassert>

namespace shogi {

KingSquares KingFeatureSquares(const Position& pos) {
  assert(IsSquare(pos.King[kFirst]) && IsSquare(pos.King[kSecond]));
  return {FeatureSquare(pos.King[kFirst]), FeatureSquare(pos.King[kSecond])};
}

int FvPairSum(const FvTable& table, KingSquares kings, const FeatureLists& lists) {
  const std::int16_t* first = table.PcOnSq(kings.First);
  const std::int16_t* second = table.PcOnSq(InverseSquare(kings.Second));
  int sum = 0;
  for (int i = 0; i < lists.Count; ++i) {
    const int k0 = lists.List0[i], k1 = lists.List1[i];
    const std::int16_t* row0 = first + k0 * (k0 + 1) / 2;
    const std::int16_t* row1 = second + k1 * (k1 + 1) / 2;
    for (int j = 0; j <= i; ++j) sum += row0[lists.List0[j]] - row1[lists.List1[j]];
  }
  return sum;
}

int FvKkpSum(const FvTable& table, KingSquares kings, const Position& pos) {
  const int bk = kings.First, wk = kings.Second;
  // The first player's terms from its kings' view, the second player's from the turned
  // board, where its king is the first.
  const std::int16_t* own = table.Kkp(bk, wk);
  const std::int16_t* other = table.Kkp(InverseSquare(wk), InverseSquare(bk));
  int sum = 0;
  for (int type = kPawn; type <= kRook; ++type) {
    sum += own[kKkpHandOffset[type] + pos.Hand[kFirst][type]];
    sum -= other[kKkpHandOffset[type] + pos.Hand[kSecond][type]];
  }
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int code = pos.Board[s];
    const int type = TypeOf(code);
    const int kind = type < 16 ? kBoardKindOfType[type] : kNoKind;
    if (kind == kNoKind) continue;
    const int fsq = FeatureSquare(s);
    if (IsFirstPiece(code)) {
      sum += own[kKkpBoardOffset[kind] + fsq];
    } else {
      sum -= other[kKkpBoardOffset[kind] + InverseSquare(fsq)];
    }
  }
  return sum;
}

int FvSum(const FvTable& table, const Position& pos) {
  FeatureLists lists;
  BuildFeatureLists(pos, lists);
  const KingSquares kings = KingFeatureSquares(pos);
  return FvPairSum(table, kings, lists) + FvKkpSum(table, kings, pos);
}

Evaluation Evaluate(const FvTable& table, const PieceValueTable& values, const Position& pos) {
  return {MaterialBalance(pos, values), FvSum(table, pos)};
}

}  // namespace shogi
