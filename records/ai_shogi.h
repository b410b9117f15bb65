// The game records of AI Shogi V.150: an 800-byte header and 14-byte move records.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads an AI Shogi record into `record`: the even game, the name of the header for both sides, at
// most 500 moves, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadAiShogi(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadAiShogi(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
