// The logs of the S1 programs of the Noshita laboratory (野下研, S1.6 and S1.7): fixed columns
// in two layouts.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads an S1 log into `record`: the even game, the program's and the opponent's names, at
// most 500 moves, the times of the first layout. 0; or 1 with "指定ファイルが存在しません。"
// or "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadS1Log(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadS1Log(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
