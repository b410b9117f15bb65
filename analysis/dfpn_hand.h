// The attacker's hand packed into 32 bits for the proof-number solver: one field per piece
// type with a guard bit above it, so that "holds at least as many of every type" is one
// subtraction. Proof hands (the least hand a found mate needs) and disproof hands (the most
// hand a found refutation stands against) are kept in the same form.
#pragma once

#include <cstdint>

#include "rules/position.h"

namespace shogi {

using PackedHand = std::uint32_t;

// Field of each type 1..7: shift and width. Pawns take 5 bits, the others 3.
inline constexpr int kHandShift[8] = {0, 0, 6, 10, 14, 18, 22, 26};
inline constexpr int kHandWidth[8] = {0, 5, 3, 3, 3, 3, 3, 3};
inline constexpr PackedHand kHandGuards =
    (1u << 5) | (1u << 9) | (1u << 13) | (1u << 17) | (1u << 21) | (1u << 25) | (1u << 29);

// The most a field holds: 31 pawns, 7 of any other type.
constexpr int HandFieldMax(int type) {
  return (1 << kHandWidth[type]) - 1;
}

constexpr int HandCount(PackedHand h, int type) {
  return static_cast<int>((h >> kHandShift[type]) & static_cast<PackedHand>(HandFieldMax(type)));
}

constexpr PackedHand WithHandCount(PackedHand h, int type, int count) {
  const PackedHand mask = static_cast<PackedHand>(HandFieldMax(type)) << kHandShift[type];
  return (h & ~mask) | (static_cast<PackedHand>(count) << kHandShift[type]);
}

// Whether `a` holds at least as many of every type as `b`.
constexpr bool HandCovers(PackedHand a, PackedHand b) {
  return (((a | kHandGuards) - b) & kHandGuards) == kHandGuards;
}

// Every field at its maximum: the disproof hand of a refutation that no hand changes.
inline constexpr PackedHand kFullHand = ~kHandGuards & ((1u << 29) - 1);

// The hand of `side` in `pos`; the counts must fit their fields.
inline PackedHand PackHand(const Position& pos, Side side) {
  PackedHand h = 0;
  for (int t = kPawn; t <= kRook; ++t) h = WithHandCount(h, t, pos.Hand[side][t]);
  return h;
}

// Per type the larger (HandMax) or smaller (HandMin) count of two hands.
inline PackedHand HandMax(PackedHand a, PackedHand b) {
  PackedHand out = 0;
  for (int t = kPawn; t <= kRook; ++t) {
    const int x = HandCount(a, t), y = HandCount(b, t);
    out = WithHandCount(out, t, x > y ? x : y);
  }
  return out;
}
inline PackedHand HandMin(PackedHand a, PackedHand b) {
  PackedHand out = 0;
  for (int t = kPawn; t <= kRook; ++t) {
    const int x = HandCount(a, t), y = HandCount(b, t);
    out = WithHandCount(out, t, x < y ? x : y);
  }
  return out;
}

// One more (`delta` 1) or one fewer (-1) of `type`, kept within 0 and the field's maximum.
constexpr PackedHand HandAdd(PackedHand h, int type, int delta) {
  int c = HandCount(h, type) + delta;
  if (c < 0) c = 0;
  if (c > HandFieldMax(type)) c = HandFieldMax(type);
  return WithHandCount(h, type, c);
}

}  // namespace shogi
