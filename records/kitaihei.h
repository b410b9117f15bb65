// The game records of 棋太平: KI2 moves marked ▲ and △, even games only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a 棋太平 record into `record`: the even game, the names ("棋太平" for a side without a name
// line), at most 256 moves, the result of a resignation. 0; or 1 with
// "指定ファイルが存在しません。" or "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadKitaihei(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadKitaihei(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
