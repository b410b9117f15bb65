// Reading the POSITION argument of shogi-tool commands.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace shogi::tool {

// Sets `record` up with POSITION ("startpos" or an SFEN) as its initial position, no moves,
// PlyCount = StartIndex = the side to move; `pos` is that position. False with a message
// on a malformed SFEN.
bool RecordFromPositionArgument(const std::string& text, GameRecord& record, Position& pos,
                                std::string& message);

}  // namespace shogi::tool
