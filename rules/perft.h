// Perft: the number of leaf positions a given number of plies below a position, the
// standard check of a move generator against published figures.
#pragma once

#include <cstdint>

#include "rules/game_record.h"

namespace shogi {

// Counts the leaves `depth` plies below `pos`, the shown position of `record` at its
// PlyCount. The record's move list is used as scratch during the walk and restored.
// depth 0 gives 1.
std::uint64_t Perft(GameRecord& record, const Position& pos, int depth);

}  // namespace shogi
