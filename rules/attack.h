// Square neighbourhood tables, the per-piece attack tables and the attack tests.
#pragma once

#include <array>
#include <cstdint>

#include "rules/position.h"

namespace shogi {

// SquareFlags: for each square one bit per neighbouring square that exists on the board.
enum NeighbourBit : std::uint8_t {
  kBitUpLeft = 0x01,     // s - 10
  kBitLeft = 0x02,       // s - 1
  kBitDownLeft = 0x04,   // s + 8
  kBitDown = 0x08,       // s + 9
  kBitDownRight = 0x10,  // s + 10
  kBitRight = 0x20,      // s + 1
  kBitUpRight = 0x40,    // s - 8
  kBitUp = 0x80,         // s - 9
};

constexpr std::array<std::uint8_t, 82> MakeSquareFlags() {
  std::array<std::uint8_t, 82> flags{};
  for (int s = 1; s <= 81; ++s) {
    int f = FileOf(s), r = RankOf(s);
    std::uint8_t v = 0;
    if (r > 1 && f > 1) v |= kBitUpLeft;
    if (f > 1) v |= kBitLeft;
    if (r < 9 && f > 1) v |= kBitDownLeft;
    if (r < 9) v |= kBitDown;
    if (r < 9 && f < 9) v |= kBitDownRight;
    if (f < 9) v |= kBitRight;
    if (r > 1 && f < 9) v |= kBitUpRight;
    if (r > 1) v |= kBitUp;
    flags[s] = v;
  }
  return flags;
}
inline constexpr std::array<std::uint8_t, 82> kSquareFlags = MakeSquareFlags();
static_assert(kSquareFlags[1] == 0x38 && kSquareFlags[5] == 0x3E && kSquareFlags[9] == 0x0E);
static_assert(kSquareFlags[41] == 0xFF && kSquareFlags[73] == 0xE0 && kSquareFlags[81] == 0x83);

// File - 1 (0..8) of each square; entry 0 is 0.
constexpr std::array<std::uint8_t, 82> MakeFileIndex() {
  std::array<std::uint8_t, 82> t{};
  for (int s = 1; s <= 81; ++s) t[s] = static_cast<std::uint8_t>(FileOf(s) - 1);
  return t;
}
inline constexpr std::array<std::uint8_t, 82> kFileIndex = MakeFileIndex();

// The neighbour bit of the step `d` (one of the eight king steps).
constexpr std::uint8_t BitOfStep(int d) {
  switch (d) {
    case kUpLeft:
      return kBitUpLeft;
    case kLeftward:
      return kBitLeft;
    case kDownLeft:
      return kBitDownLeft;
    case kDown:
      return kBitDown;
    case kDownRight:
      return kBitDownRight;
    case kRightward:
      return kBitRight;
    case kUpRight:
      return kBitUpRight;
    case kUp:
      return kBitUp;
  }
  return 0;
}

// How a first-player piece of each type (0..15) reaches a neighbour in one direction:
// 0 not at all, kStep one step, kSlide one step and onward. The second player uses the
// same tables mirrored (its forward is +9).
constexpr std::uint8_t kStep = 0x01;
constexpr std::uint8_t kSlide = 0x81;
//                                                 -  歩 香 桂 銀 金 角 飛 玉 と 杏 圭 全 -  馬 龍
inline constexpr std::uint8_t kForwardReach[16] = {0, 1, 0x81, 0, 1, 1, 0, 0x81,
                                                   1, 1, 1,    1, 1, 0, 1, 0x81};
inline constexpr std::uint8_t kForwardDiagonalReach[16] = {0, 0, 0, 0, 1, 1, 0x81, 0,
                                                           1, 1, 1, 1, 1, 0, 0x81, 1};
inline constexpr std::uint8_t kSidewaysReach[16] = {0, 0, 0, 0, 0, 1, 0, 0x81,
                                                    1, 1, 1, 1, 1, 0, 1, 0x81};
inline constexpr std::uint8_t kBackwardDiagonalReach[16] = {0, 0, 0, 0, 1, 0, 0x81, 0,
                                                            1, 0, 0, 0, 0, 0, 0x81, 1};

// The square of one piece of `attacker` that attacks square `s`, 0 if none. The directions
// are tried in a fixed order (forward step and slide, the two forward diagonals with the
// knights behind them, sideways, backward diagonals, straight back) and the first attacker
// found is returned.
[[nodiscard]] int AttackedBy(const Position& pos, Square s, Side attacker);

// All squares of pieces of `attacker` (the king included) that attack `s`, in the order
// AttackedBy tries them. Returns the count; `out` needs room for 16 entries.
[[nodiscard]] int AttackersOf(const Position& pos, Square s, Side attacker, Square* out);

// Whether `side`'s king (if it has one) is attacked.
inline bool InCheck(const Position& pos, Side side) {
  return pos.King[side] > 0 && AttackedBy(pos, pos.King[side], Opponent(side)) != 0;
}

}  // namespace shogi
