// The game records of スーパー将棋 (1996): a 128-byte preamble, names, KIF-like moves.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a スーパー将棋 record into `record`: the even game, the names, at most 500 moves, the
// result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadSuperShogi(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadSuperShogi(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
