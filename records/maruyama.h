// The game records of 丸山将棋: names, then KIF-like move lines, even games only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 丸山将棋 record into `record`: the even game, the names, at most 500 moves, the result of
// a resignation. 0; or 1 with "指定ファイルが存在しません。" or "ファイルに異常があります。",
// `record` untouched.
[[nodiscard]] int ReadMaruyama(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadMaruyama(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
