// The computer player's fixed tables: its piece values, the king-class tables, the six
// square-bonus maps and the positional values of quiet moves and drops. Everything is
// written for the first player; the second player reads it turned by 180 degrees
// (square q seen as 82 - q), so that one table serves both sides.
#pragma once

#include <array>
#include <cstdint>

#include "rules/types.h"

namespace shogi::player {

// Capture value by piece type 0..15 (king 101): what taking the piece is worth.
inline constexpr int kCaptureValue[16] = {0,   4, 10, 12, 20, 24, 32, 36,
                                          101, 9, 15, 16, 20, 0,  37, 41};
// What promoting adds, by unpromoted type (pawn, lance, bishop, rook 5, knight 4).
inline constexpr int kPromotionGain[16] = {0, 5, 5, 4, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0};

// The square of the first player's view of `s` for `side`: the second player sees the board
// turned, so its 8八 is the first player's 2二.
constexpr Square Relative(Side side, Square s) {
  return side == kFirst ? s : 82 - s;
}
// The rank as `side` counts it: 1 is the far rank, 9 its own back rank.
constexpr int RelativeRank(Side side, Square s) {
  return RankOf(Relative(side, s));
}

// King classes (first player's view): 0 exposed (anywhere in front of the third rank from
// home), 1 the centre at home (居玉 and the squares beside it: files 4..6 of ranks 8..9),
// 2 castled to the left (矢倉 and 舟囲い: files 6..9 of ranks 7..9 less the centre), 3 castled
// to the right (美濃: files 1..3 of ranks 7..9).
constexpr int KingClassOf(Square s) {
  const int file = FileOf(s), rank = RankOf(s);
  if (rank < 7) return 0;
  if (file <= 3) return 3;
  if (file >= 7) return 2;
  if (rank >= 8) return 1;
  return file == 6 ? 2 : 1;
}
constexpr std::array<std::uint8_t, 82> MakeKingClassTable() {
  std::array<std::uint8_t, 82> t{};
  for (Square s = 1; s <= 81; ++s) t[s] = static_cast<std::uint8_t>(KingClassOf(s));
  return t;
}
// The first player's king class by square; the second player's is this table read at 82 - s.
inline constexpr std::array<std::uint8_t, 82> kKingClass = MakeKingClassTable();

// A square-bonus map: one value per square (entry 0 unused).
using BonusMap = std::array<std::int8_t, 82>;

// Marks 1 on files [f1, f2] x ranks [r1, r2] of `m`.
constexpr void MarkArea(BonusMap& m, int f1, int f2, int r1, int r2) {
  for (int f = f1; f <= f2; ++f)
    for (int r = r1; r <= r2; ++r) m[SquareOf(f, r)] = 1;
}
// The first player's base maps, by king class 1..3 (index 0 unused): the squares where a
// piece guards its castle and the files in front of it, where the fight comes.
constexpr BonusMap MakeFirstKingMap(int king_class) {
  BonusMap m{};
  if (king_class == 1) MarkArea(m, 4, 6, 6, 9);  // the centre: 5七 .. 5九 and their sides
  if (king_class == 2) MarkArea(m, 6, 9, 6, 9);  // 矢倉 / 舟囲い on the left
  if (king_class == 3) MarkArea(m, 1, 4, 6, 9);  // 美濃 on the right
  return m;
}
// The second player's maps: the same areas turned.
constexpr BonusMap MakeSecondKingMap(int king_class) {
  const BonusMap first = MakeFirstKingMap(king_class);
  BonusMap m{};
  for (Square s = 1; s <= 81; ++s) m[s] = first[82 - s];
  return m;
}
inline constexpr BonusMap kFirstKingMaps[4] = {BonusMap{}, MakeFirstKingMap(1), MakeFirstKingMap(2),
                                               MakeFirstKingMap(3)};
inline constexpr BonusMap kSecondKingMaps[4] = {BonusMap{}, MakeSecondKingMap(1),
                                                MakeSecondKingMap(2), MakeSecondKingMap(3)};

// Positional value of a piece type on a square, first player's view, in capture-value units
// (a pawn is 4). Pawns gain as they advance to the fifth and fourth ranks, where they start
// fights; knights and lances are better kept back until the attack; silvers belong on the
// sixth and seventh ranks (the 矢倉 and 腰掛け銀 squares); golds stay home beside the king;
// promoted pieces are worth more the deeper they stand.
constexpr int PieceSquareValue(int type, Square s) {
  const int rank = RankOf(s), file = FileOf(s);
  const int edge = (file == 1 || file == 9) ? 1 : 0;
  switch (type) {
    case kPawn:
      return rank == 5 || rank == 4 ? 1 : 0;
    case kLance:
      return rank >= 8 ? 1 : 0;
    case kKnight:
      return (rank >= 6 ? 1 : 0) - edge;
    case kSilver:
      return (rank == 6 || rank == 7 ? 2 : rank == 5 ? 1 : 0) - edge;
    case kGold:
      return (rank >= 7 ? 2 : rank == 6 ? 1 : 0) - edge;
    case kBishop:
    case kRook:
      return 0;
    case kPromotedPawn:
    case kPromotedLance:
    case kPromotedKnight:
    case kPromotedSilver:
      return rank <= 3 ? 2 : 1;
    case kHorse:
      return rank >= 7 ? 2 : 1;  // a horse at home guards the castle
    case kDragon:
      return rank <= 3 ? 2 : 1;
    default:
      return 0;
  }
}

}  // namespace shogi::player
