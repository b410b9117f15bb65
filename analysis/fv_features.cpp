// The feature lists of a position.
#include "analysis/fv_features.h"

#include <cassert>

#include "analysis/fv_table.h"

namespace shogi {

int CheckEvaluable(const Position& pos, std::string& message) {
  for (Side side : {kFirst, kSecond}) {
    if (!IsSquare(pos.King[side])) {
      message = "玉のいない局面は評価できません。";
      return 1;
    }
  }
  bool sound = pos.Board[pos.King[kFirst]] == CodeOf(kKing, kFirst) &&
               pos.Board[pos.King[kSecond]] == CodeOf(kKing, kSecond);
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int type = TypeOf(pos.Board[s]);
    if (type > kDragon || type == kGold + kPromoteOffset) sound = false;
  }
  for (Side side : {kFirst, kSecond}) {
    for (int type = kPawn; type <= kRook; ++type) {
      const int count = pos.Hand[side][type];
      if (count < 0 || count > kMaxHandOfType[type]) sound = false;
    }
  }
  if (!sound) {
    message = "駒配置に異常があります。";
    return 1;
  }
  return 0;
}

void BuildFeatureLists(const Position& pos, FeatureLists& lists) {
  int n = 0;
  for (int type = kPawn; type <= kRook; ++type) {
    const int first = pos.Hand[kFirst][type], second = pos.Hand[kSecond][type];
    lists.List0[n] = kHandFeatureBase[0][type] + first;
    lists.List1[n++] = kHandFeatureBase[0][type] + second;
    lists.List0[n] = kHandFeatureBase[1][type] + second;
    lists.List1[n++] = kHandFeatureBase[1][type] + first;
  }
  // The feature squares of each kind's pieces, per owner, in ascending order.
  int squares[kBoardKinds][2][kSquareCount];
  int counts[kBoardKinds][2] = {};
  for (int fsq = 0; fsq < kFvSquares; ++fsq) {
    const Square s = 9 * (fsq / 9) + (9 - fsq % 9);
    const int code = pos.Board[s];
    const int type = TypeOf(code);
    const int kind = type < 16 ? kBoardKindOfType[type] : kNoKind;
    if (kind == kNoKind) continue;
    const int owner = IsFirstPiece(code) ? kFirst : kSecond;
    squares[kind][owner][counts[kind][owner]++] = fsq;
  }
  for (int kind = 0; kind < kBoardKinds; ++kind) {
    const int* first = squares[kind][kFirst];
    const int* second = squares[kind][kSecond];
    const int nf = counts[kind][kFirst], ns = counts[kind][kSecond];
    // List 0: the first player's pieces as f, then the second player's as e. List 1 turns
    // the board round: the second player's pieces as f, then the first player's as e; an
    // ascending Inverse means descending squares.
    for (int i = 0; i < nf; ++i) {
      lists.List0[n + i] = kBoardFeatureBase[0][kind] + first[i];
      lists.List1[n + ns + i] = kBoardFeatureBase[1][kind] + InverseSquare(first[nf - 1 - i]);
    }
    for (int i = 0; i < ns; ++i) {
      lists.List0[n + nf + i] = kBoardFeatureBase[1][kind] + second[i];
      lists.List1[n + i] = kBoardFeatureBase[0][kind] + InverseSquare(second[ns - 1 - i]);
    }
    n += nf + ns;
  }
  lists.Count = n;
#ifndef NDEBUG
  for (int i = 0; i < n; ++i) {
    assert(lists.List0[i] >= 0 && lists.List0[i] < kFvFeatureCount);
    assert(lists.List1[i] >= 0 && lists.List1[i] < kFvFeatureCount);
  }
#endif
}

}  // namespace shogi
