// The game records of 謎的電棋: names, then numbered KI2 moves, even games only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 謎的電棋 record into `record`: the even game, the names, at most 256 moves, the result of
// a resignation. 0; or 1 with "指定ファイルが存在しません。" or "ファイルに異常があります。",
// `record` untouched.
[[nodiscard]] int ReadNazoteki(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadNazoteki(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
