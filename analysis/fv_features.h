// The features of the evaluation file: squares in the file's own numbering, the feature
// number of every hand count and board piece, and the two ascending feature lists of a
// position, one seen by each player.
#pragma once

#include <string>

#include "rules/position.h"

namespace shogi {

// The file numbers squares 0 (9一) .. 8 (1一) .. 80 (1九): 9 * (rank - 1) + (9 - file).
constexpr int FeatureSquare(Square s) {
  return 9 * (RankOf(s) - 1) + (9 - FileOf(s));
}
// The same square seen from the other side.
constexpr int InverseSquare(int feature_square) {
  return 80 - feature_square;
}

// Hand features: base + count, for the counting player (f) and its opponent (e), by type
// pawn .. rook (index 0 unused).
inline constexpr int kHandFeatureBase[2][8] = {{0, 0, 38, 48, 58, 68, 78, 84},
                                               {0, 19, 43, 53, 63, 73, 81, 87}};
// The most pieces of a type a hand can hold, by type pawn .. rook.
inline constexpr int kMaxHandOfType[8] = {0, 18, 4, 4, 4, 4, 2, 2};
// kkp entries of hand counts (offset + count), by type.
inline constexpr int kKkpHandOffset[8] = {0, 0, 19, 24, 29, 34, 39, 42};

// Board pieces come in nine kinds: pawn, lance, knight, silver, gold (with the promoted
// pawn, lance, knight and silver), bishop, horse, rook, dragon.
constexpr int kBoardKinds = 9;
constexpr int kNoKind = -1;
// The kind of each piece type 0..15 (kNoKind for the empty square, the king and 13).
inline constexpr int kBoardKindOfType[16] = {kNoKind, 0, 1, 2, 3, 4,       5, 7,
                                             kNoKind, 4, 4, 4, 4, kNoKind, 6, 8};
// Board features: base + feature square, by kind, for f and e.
inline constexpr int kBoardFeatureBase[2][kBoardKinds] = {
    {81, 225, 360, 504, 666, 828, 990, 1152, 1314},
    {162, 306, 441, 585, 747, 909, 1071, 1233, 1395}};
// kkp entries of board pieces (offset + feature square), by kind.
inline constexpr int kKkpBoardOffset[kBoardKinds] = {36, 108, 171, 252, 333, 414, 495, 576, 657};

// 14 hand features and at most one feature per square.
constexpr int kMaxFeatures = 14 + kSquareCount;

// List 0 as the first player sees the position, list 1 as the second player does (its own
// pieces as f, squares turned round). Both ascend and hold the same hand counts and pieces;
// the hand entries stand at the same places in both.
struct FeatureLists {
  int Count = 0;
  int List0[kMaxFeatures];
  int List1[kMaxFeatures];
};

// Returns 0 when the evaluation can look at `pos`; otherwise 1 and `message`:
// "玉のいない局面は評価できません。" when a king byte does not hold a square, or
// "駒配置に異常があります。" when a king byte names a square without that king, a square holds
// a code that is no piece (13, beyond 15), or a hand holds a negative count or more pieces of
// a type than the game has.
[[nodiscard]] int CheckEvaluable(const Position& pos, std::string& message);

// The two lists of a position that passed CheckEvaluable.
void BuildFeatureLists(const Position& pos, FeatureLists& lists);

}  // namespace shogi
