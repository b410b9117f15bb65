// The game records of Ｈ将棋: a 128-byte header, then 8-byte CSA-style records.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The message for a file without the header of the format.
inline constexpr const char kMessageNotHShogi[] = "Ｈ将棋形式ではありません。";

// Reads a Ｈ将棋 record into `record`: the even game, the program's side named "Ｈ将棋", at
// most 500 moves with their times, the result. 0; or 1 with "指定ファイルが存在しません。",
// "Ｈ将棋形式ではありません。" or "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadHShogi(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadHShogi(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
