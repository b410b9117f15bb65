// The mate search: the attacker checks, the defender tries every legal evasion. The board is
// turned so that the attacker is always the first player.
#include "mate.h"

#include "attack.h"
#include "checkgen.h"
#include "evasion.h"

namespace thinking {

namespace {

bool IsPawnDrop(const Move& m) {
  return IsDrop(m) && DropType(m) == kPawn;
}

bool AttackerMates(const Position& pos, const Move& evasion, int remaining);

// Whether the check `attack` in `pos` mates with `remaining` plies left after it. A pawn drop
// may give check but never mate.
bool DefenderMated(const Position& pos, const Move& attack, int remaining) {
  if (IsPawnDrop(attack) && remaining == 0) return false;
  Position after = pos;
  ApplyMove(after, attack, kAttacker);
  EvasionList evasions;
  if (GenerateEvasions(after, remaining == 0, evasions) != EvasionStatus::kListed) return false;
  if (evasions.count == 0) return !IsPawnDrop(attack);
  if (remaining == 0) return false;
  for (int i = 0; i < evasions.count; ++i) {
    if (!AttackerMates(after, evasions.move[i], remaining - 1)) return false;
  }
  return true;
}

// Whether the attacker mates after the defender's `evasion` with `remaining` plies left.
// After a drop the defender has one piece more to be checked around, so every form of every
// check is tried; after a board move the plain forms of pawn, bishop and rook are skipped.
bool AttackerMates(const Position& pos, const Move& evasion, int remaining) {
  Position after = pos;
  ApplyMove(after, evasion, kDefender);
  CheckList checks;
  GenerateChecks(after, IsDrop(evasion) ? CheckSet::kFull : CheckSet::kReduced, checks);
  for (int i = 0; i < checks.count; ++i) {
    if (DefenderMated(after, checks.move[i], remaining - 1)) return true;
  }
  return false;
}

// The root with the attacker as first player.
bool FindMateAsFirst(const Position& pos, int depth, Move& first) {
  const int king = pos.KingSquare(kDefender);
  if (!king) return false;
  if (const int taker = AttackedBy(pos, king, kAttacker)) {
    const int type = TypeOf(pos.Board[taker]);
    first = MakeMove(taker, king, MustPromote(kAttacker, type, king) ? 1 : 0);
    return true;
  }
  CheckList checks;
  GenerateChecks(pos, CheckSet::kFull, checks);
  for (int i = 0; i < checks.count; ++i) {
    if (DefenderMated(pos, checks.move[i], depth - 1)) {
      first = checks.move[i];
      return true;
    }
  }
  return false;
}

}  // namespace

bool FindMate(const Position& pos, Side attacker, int depth, Move& first) {
  if (attacker == kFirst) return FindMateAsFirst(pos, depth, first);
  Position turned;
  TurnPosition(pos, turned);
  if (!FindMateAsFirst(turned, depth, first)) return false;
  if (!IsDrop(first)) first.from = static_cast<std::uint8_t>(TurnSquare(first.from));
  first.to = static_cast<std::uint8_t>(TurnSquare(first.to));
  return true;
}

}  // namespace thinking
