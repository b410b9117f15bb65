// The df-pn mate solver: proves a mate or its absence with proof-number search, then finds
// the solution as mate problems give it (the attacker's shortest mate against the
// defender's longest resistance, futile interpositions not counted) and checks it move by
// move with the rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/dfpn_search.h"
#include "analysis/dfpn_table.h"
#include "rules/position.h"

namespace shogi {

// The table size and time limit of the solver's commands, unless the person chooses others,
// and the most that may be chosen.
constexpr int kDefaultDfpnSeconds = 60;
constexpr int kDefaultDfpnTableMegabytes = 256;
constexpr int kMaxDfpnTableMegabytes = 16384;
constexpr int kMaxDfpnSeconds = 86400;

enum class DfpnOutcome {
  kMate,     // `line` mates
  kNoMate,   // proven: the attacker has no mate
  kUnknown,  // the limits (time, nodes, memory) ended the search first
  kStopped,  // the caller stopped it
  kRefused,  // the position cannot be solved; `message` says why
};

struct DfpnResult {
  DfpnOutcome outcome = DfpnOutcome::kUnknown;
  // The solution, attacker's moves and defender's replies, as the sides play them.
  std::vector<MoveCode> line;
  // Whether `line` is known to be the shortest mate against the longest defence. When the
  // limits cut that search short, `line` is a mate found on the way, possibly longer.
  bool shortest = false;
  std::uint64_t nodes = 0;
  double seconds = 0;
  std::string message;
};

// Solves the mate of the defender by `attacker` (to play in `pos`) with `table` (allocated;
// it is cleared first). `pos` must have passed CheckMateProblem; a position with more pieces
// of a type than the table can count is refused.
DfpnResult SolveDfpn(const Position& pos, Side attacker, DfpnTable& table,
                     const DfpnLimits& limits);

enum class MateLineCheck {
  kMate,         // every move legal, every attacking move a check, the end a mate
  kIllegalMove,  // a move the rules do not allow (a mate by a pawn drop included)
  kNoCheck,      // an attacking move that gives no check
  kRepeated,     // a position comes back: a perpetual check, not a mate
  kNotMate,      // the defender can still answer, other than by futile drops
};

// Replays `line` from `pos` (`attacker` to move) with the rules' legal moves. At the end the
// defender must have no legal move, or only drops that `futile` (may be empty: none are)
// calls futile.
MateLineCheck CheckMateLine(const Position& pos, Side attacker, const std::vector<MoveCode>& line,
                            const std::function<bool(const Position&, MoveCode)>& futile);

}  // namespace shogi
