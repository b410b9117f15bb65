// The game records of 大槻将棋: blocks of CSA-like records, even games only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 大槻将棋 record into `record`: the even game, the program's side named "大槻将棋", at
// most 500 moves with their times, the result of a resignation. 0; or 1 with
// "指定ファイルが存在しません。" or "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadOtsuki(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadOtsuki(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
