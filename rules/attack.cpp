// The attack tests: which pieces of a side reach a square.
#include "rules/attack.h"

namespace shogi {
namespace {

struct Look {
  int step;                   // from the attacked square toward the attacker
  std::uint8_t bit;           // neighbour bit of that step
  const std::uint8_t* reach;  // the attacker's reach table for the opposite step
};

// The attacker side's view: the first player's forward is -9, so its forward attacks come
// from +9. For the second player every step is negated.

template <Side S>
constexpr std::array<Look, 8> MakeLooks() {
  return {{
      {Toward<S>(kDown), BitOfStep(Toward<S>(kDown)), kForwardReach},
      {Toward<S>(kDownLeft), BitOfStep(Toward<S>(kDownLeft)), kForwardDiagonalReach},
      {Toward<S>(kDownRight), BitOfStep(Toward<S>(kDownRight)), kForwardDiagonalReach},
      {Toward<S>(kLeftward), BitOfStep(Toward<S>(kLeftward)), kSidewaysReach},
      {Toward<S>(kRightward), BitOfStep(Toward<S>(kRightward)), kSidewaysReach},
      {Toward<S>(kUpLeft), BitOfStep(Toward<S>(kUpLeft)), kBackwardDiagonalReach},
      {Toward<S>(kUpRight), BitOfStep(Toward<S>(kUpRight)), kBackwardDiagonalReach},
      {Toward<S>(kUp), BitOfStep(Toward<S>(kUp)), kSidewaysReach},
  }};
}


// The attacker along one look direction, or 0. The flag bit of `s` for the step is set.
template <Side S>
inline int RayAttacker(const Position& pos, int s, const Look& look) {
  int t = s + look.step;
  int p = pos.Board[t];
  if (p != 0) return (Own<S>(p) && look.reach[TypeOf(p)] != 0) ? t : 0;
  while (kSquareFlags[t] & look.bit) {
    t += look.step;
    p = pos.Board[t];
    if (p != 0) return (Own<S>(p) && look.reach[TypeOf(p)] == kSlide) ? t : 0;
  }
  return 0;
}

// A knight of S that attacks s from the diagonal side `look` (index 1 or 2), or 0. The
// knight stands two ranks behind s (from S's forward view) and one file aside.
template <Side S>
inline int KnightAttacker(const Position& pos, int s, int diagonal_step) {
  int t = s + diagonal_step + Toward<S>(kDown);
  if (!IsSquare(t)) return 0;
  return pos.Board[t] == CodeOf(kKnight, S) ? t : 0;
}

template <Side S, bool kAll>
int Attackers(const Position& pos, Square s, Square* out) {
  static constexpr std::array<Look, 8> kLooks = MakeLooks<S>();
  const std::uint8_t flags = kSquareFlags[s];
  int n = 0;
  for (int i = 0; i < 8; ++i) {
    const Look& look = kLooks[i];
    if (flags & look.bit) {
      if (int a = RayAttacker<S>(pos, s, look)) {
        if constexpr (!kAll) return a;
        out[n++] = a;
      }
      // The knights sit behind the forward diagonals.
      if (i == 1 || i == 2) {
        if (int a = KnightAttacker<S>(pos, s, look.step)) {
          if constexpr (!kAll) return a;
          out[n++] = a;
        }
      }
    }
  }
  return n;
}

}  // namespace

int AttackedBy(const Position& pos, Square s, Side attacker) {
  return attacker == kFirst ? Attackers<kFirst, false>(pos, s, nullptr)
                            : Attackers<kSecond, false>(pos, s, nullptr);
}

int AttackersOf(const Position& pos, Square s, Side attacker, Square* out) {
  return attacker == kFirst ? Attackers<kFirst, true>(pos, s, out)
                            : Attackers<kSecond, true>(pos, s, out);
}

}  // namespace shogi
