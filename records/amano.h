// The game records of 天野将棋 (1994, 1996): a KIF-like header and KI2 moves marked ▲ and ▽.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 天野将棋 record into `record`: the even game, the names, at most 500 moves, the winner of
// the end line. 0; or 1 with "指定ファイルが存在しません。" or "ファイルに異常があります。",
// `record` untouched.
[[nodiscard]] int ReadAmano(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadAmano(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
