// One game of a match, played through the game driver without a window: the same code the
// window's computer games run (end checks, repetition, the ply limit, a failing side).
#pragma once

#include <string>

#include "players/match.h"

namespace shogi {

// Plays one game through the game driver: `first` and `second` are the two sides' computer
// players with their PlayerKinds (positive: in-process levels, negative: library-like), from
// the standard initial position after `opening` (USI moves that must be legal). A game that
// reaches ply 256 ends as the driver ends it (result 0, a draw); repetition per the rules. A
// side that fails resigns (the match notes why). Nonzero with a message when the opening is
// not playable. The MatchGameRunner of RunMatch.
[[nodiscard]] int PlayMatchGame(ComputerPlayer& first, int first_kind, ComputerPlayer& second,
                                int second_kind, const OpeningLine& opening, GameSummary& summary,
                                std::string& message);

}  // namespace shogi
