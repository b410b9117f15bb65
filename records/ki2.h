// The Kakinoki KI2 record (moves in relative notation, no origin squares), read only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The KI2 reader keeps at most this many moves.
constexpr int kKi2MoveLimit = 256;

// Reads the KI2 file at `path` into `record`: the header lines a KIF file may have (the
// handicap or a diagram, the names from "先手：" and "後手：" when there are any), at most
// 256 moves and the result; a word after the moves that is no move (封じ手) ends the game
// without a result. Times are cleared. 0 on success; 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。" (also for a file without a line of marked moves, which holds
// nothing of the format), `record` untouched.
[[nodiscard]] int ReadKi2(const std::string& path, GameRecord& record, std::string& message);

// The same from a stream.
[[nodiscard]] int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message);

}  // namespace shogi
