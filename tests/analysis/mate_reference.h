// An independent, slow reference for mate lengths, built only on the rules' LegalMoves:
// every legal checking move of the attacker against every legal reply of the defender.
#pragma once

#include <cstdint>

#include "rules/game_record.h"

namespace shogi::test {

// The length of the shortest forced mate (1, 3, 5, ...) of the side to move of `record` at
// its PlyCount (position `pos`), or 0 if there is none within `max_depth` plies. `nodes`
// (if given) receives the number of positions visited.
int ReferenceMateLength(const GameRecord& record, const Position& pos, int max_depth,
                        std::uint64_t* nodes = nullptr);

}  // namespace shogi::test
