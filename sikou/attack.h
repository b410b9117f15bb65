// Board geometry (neighbour and knight tables), how each piece moves, and the attack tests.
#pragma once

#include <cstdint>

#include "position.h"

namespace thinking {

// The eight directions with rank 1 at the top: N toward rank 1 (the first player's forward),
// S toward rank 9, W toward file 1, E toward file 9. Opposite directions differ in bit 0.
enum Direction : int { kN = 0, kS, kW, kE, kNW, kSE, kNE, kSW };
constexpr int kDirectionCount = 8;
constexpr int kStep[kDirectionCount] = {-9, 9, -1, 1, -10, 10, -8, 8};
constexpr int Reverse(int dir) {
  return dir ^ 1;
}
constexpr std::uint8_t Bit(int dir) {
  return static_cast<std::uint8_t>(1u << dir);
}

struct Geometry {
  std::uint8_t next[82][kDirectionCount];  // neighbour in a direction, 0 off the board
  std::uint8_t knight[2][82][2];           // where a knight of a side jumps to, 0 off the board
  std::uint8_t step_mask[2][16];           // directions a piece type steps one square in
  std::uint8_t slide_mask[2][16];          // directions a piece type slides along
};

constexpr std::uint8_t MirrorMask(std::uint8_t mask) {
  std::uint8_t out = 0;
  for (int d = 0; d < kDirectionCount; ++d) {
    if (mask & Bit(d)) out |= Bit(Reverse(d));
  }
  return out;
}

constexpr Geometry MakeGeometry() {
  Geometry g{};
  constexpr int kFileStep[kDirectionCount] = {0, 0, -1, 1, -1, 1, 1, -1};
  constexpr int kRankStep[kDirectionCount] = {-1, 1, 0, 0, -1, 1, -1, 1};
  for (int sq = 1; sq <= kSquareCount; ++sq) {
    const int file = FileOf(sq), rank = RankOf(sq);
    for (int d = 0; d < kDirectionCount; ++d) {
      const int f = file + kFileStep[d], r = rank + kRankStep[d];
      if (f >= 1 && f <= 9 && r >= 1 && r <= 9) g.next[sq][d] = SquareOf(f, r);
    }
    // First player's knight: two ranks up, then file - 1 and file + 1; the second player's
    // is the mirror image, so the lists stay symmetric under the 180-degree turn.
    if (rank >= 3 && file >= 2) g.knight[kFirst][sq][0] = SquareOf(file - 1, rank - 2);
    if (rank >= 3 && file <= 8) g.knight[kFirst][sq][1] = SquareOf(file + 1, rank - 2);
    if (rank <= 7 && file <= 8) g.knight[kSecond][sq][0] = SquareOf(file + 1, rank + 2);
    if (rank <= 7 && file >= 2) g.knight[kSecond][sq][1] = SquareOf(file - 1, rank + 2);
  }
  const std::uint8_t orth = Bit(kN) | Bit(kS) | Bit(kW) | Bit(kE);
  const std::uint8_t diag = Bit(kNW) | Bit(kNE) | Bit(kSW) | Bit(kSE);
  const std::uint8_t gold = Bit(kN) | Bit(kNW) | Bit(kNE) | Bit(kW) | Bit(kE) | Bit(kS);
  std::uint8_t* step = g.step_mask[kFirst];
  std::uint8_t* slide = g.slide_mask[kFirst];
  step[kPawn] = Bit(kN);
  slide[kLance] = Bit(kN);
  step[kSilver] = Bit(kN) | diag;
  step[kGold] = step[kPromotedPawn] = step[kPromotedLance] = gold;
  step[kPromotedKnight] = step[kPromotedSilver] = step[13] = gold;
  slide[kBishop] = diag;
  slide[kRook] = orth;
  step[kKing] = orth | diag;
  step[kHorse] = orth;
  slide[kHorse] = diag;
  step[kDragon] = diag;
  slide[kDragon] = orth;
  for (int t = 0; t < 16; ++t) {
    g.step_mask[kSecond][t] = MirrorMask(g.step_mask[kFirst][t]);
    g.slide_mask[kSecond][t] = MirrorMask(g.slide_mask[kFirst][t]);
  }
  return g;
}

inline constexpr Geometry kGeometry = MakeGeometry();

inline int Next(int sq, int dir) {
  return kGeometry.next[sq][dir];
}
inline bool Steps(Side s, int type, int dir) {
  return kGeometry.step_mask[s][type] & Bit(dir);
}
inline bool Slides(Side s, int type, int dir) {
  return kGeometry.slide_mask[s][type] & Bit(dir);
}
// Whether a piece reaches the adjacent square in `dir` (stepping or sliding).
inline bool Reaches(Side s, int type, int dir) {
  return (kGeometry.step_mask[s][type] | kGeometry.slide_mask[s][type]) & Bit(dir);
}

// The order in which a side's piece moves are listed: forward, the forward diagonals,
// sideways, the backward diagonals, back (mirrored for the second player).
inline constexpr int kMoveOrder[2][kDirectionCount] = {
    {kN, kNW, kNE, kW, kE, kSW, kSE, kS},
    {kS, kSE, kSW, kE, kW, kNE, kNW, kN},
};

// The square of the first piece of side `by` found attacking `sq`, 0 if none. Looks outward
// from `sq` from behind the attacker's front first, the knights after the lower diagonals.
int AttackedBy(const Position& pos, int sq, Side by);
inline bool IsAttacked(const Position& pos, int sq, Side by) {
  return AttackedBy(pos, sq, by);
}

// Every piece of side `s` (the king included) that can move onto `sq`, in the order of the
// attack test; returns their number (at most 10).
constexpr int kMaxReaching = 10;
int PiecesReaching(const Position& pos, int sq, Side s, int (&out)[kMaxReaching]);

// Whether a piece `code` standing on `from` attacks `to`, the squares between counting as
// empty except those occupied in `pos` (with `vacated` treated as empty).
bool PieceAttacks(const Position& pos, int code, int from, int to, int vacated);

// The direction from `from` toward `to` when the two share a file, rank or diagonal, else -1.
int DirectionBetween(int from, int to);

// Whether side `s` has an unpromoted pawn in the file of `sq`.
bool HasPawnInFile(const Position& pos, Side s, int sq);

}  // namespace thinking
