// The game records of Shokidoki: PGN-style tags and western moves, even games only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads a Shokidoki record into `record`: the even game, the date and names of its tags, at most
// 500 moves, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadShokidoki(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadShokidoki(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
