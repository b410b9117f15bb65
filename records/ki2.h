// The Kakinoki KI2 record (moves in relative notation, no origin squares), read only.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The KI2 reader keeps at most this many moves.
constexpr int kKi2MoveLimit = 256;

// Reads the KI2 file at `path` into `record`: the even-game position, StartIndex 0, the
// names from the "先手：" and "後手：" lines (both required, in this order), at most 256
// moves and the result; times, tournament and opening are cleared. 0 on success; 1 with
// "指定ファイルが存在しません。" or "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadKi2(const std::string& path, GameRecord& record, std::string& message);

// The same from a stream.
[[nodiscard]] int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message);

}  // namespace shogi
