// The game logs of Shotest, SPEAR and Shocky: names, then one move a line in western
// notation, with the seconds of each move when the log has a time column.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a log into `record`: the even game, names, at most 500 moves, times when the log
// has them, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadShotest(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadShotest(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
