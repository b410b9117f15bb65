// The game records of 福将棋: numbered KIF-like moves with the origin at a fixed column.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 福将棋 record into `record`: the even game, at most 500 moves, the result of a
// resignation; read from a path, the file name tells the program's side ("fuku_" sente, "kifu_"
// gote), named "福将棋". 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadFuku(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadFuku(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
