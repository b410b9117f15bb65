// The game records of 神無 無段: a 128-byte preamble, then numbered KIF-like moves.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 神無 無段 record into `record`: the even game, the program's side named "神無 無段", at
// most 500 moves, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadKanna(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadKanna(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
