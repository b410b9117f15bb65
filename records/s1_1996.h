// The game records of S1 (1996): a 128-byte preamble, then KIF-like moves.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads an S1 (1996) record into `record`: the even game, the program's side named "S1", at most
// 500 moves, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadS1Year1996(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadS1Year1996(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
