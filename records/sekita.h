// The game records of 関田将棋 (1994): KIF with the moves one column to the right.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 関田将棋 record into `record`: the even game, the names ("関田将棋" for a side without
// one), at most 500 moves, the result. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadSekita(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadSekita(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
