// The defender's answers to a check in the mate search (the defender is the second player).
#pragma once

#include "position.h"

namespace thinking {

// The mate search's sides: the first player attacks.
constexpr Side kAttacker = kFirst;
constexpr Side kDefender = kSecond;

constexpr int kMaxEvasions = 600;
using EvasionList = MoveList<kMaxEvasions>;

enum class EvasionStatus {
  kListed,          // the legal evasions are in the list (none: the check mates)
  kKingCapturable,  // the attacker's own king can be taken: its move was not legal
  kNoCheck,         // the defender is not in check (or has no king)
  kIncomplete,      // the list ran out of room; nothing can be concluded
};

// Lists the legal answers of the second player to a check by the first player: king moves,
// captures of the checking piece, then interpositions between a distant checker and the
// king, nearest the king first, drops before moves. With `first_only` it stops at the first
// legal one.
EvasionStatus GenerateEvasions(const Position& pos, bool first_only, EvasionList& list);

}  // namespace thinking
