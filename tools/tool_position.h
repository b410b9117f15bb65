// Reading the POSITION argument of shogi-tool commands.
#pragma once

#include <string>
#include <vector>

#include "rules/game_record.h"

namespace shogi::tool {

// Sets `record` up with POSITION ("startpos" or an SFEN) as its initial position, no moves,
// PlyCount = StartIndex = the side to move; `pos` is that position. Nonzero with a message
// on a malformed SFEN.
[[nodiscard]] int RecordFromPositionArgument(const std::string& text, GameRecord& record,
                                             Position& pos, std::string& message);

// Plays the USI moves `usi` on `record` from its PlyCount on (its shown position `pos`),
// each of which must be legal in its position. Nonzero with a message naming the first move
// that is malformed or illegal, or when the record would overflow; the moves before it stay.
[[nodiscard]] int PlayUsiMoves(const std::vector<std::string>& usi, GameRecord& record,
                               Position& pos, std::string& message);

}  // namespace shogi::tool
