// The game records of ＯＭ－１: a 128-byte preamble, the program's side, KIF moves.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// Reads an ＯＭ－１ record into `record`: the even game, the program's side named "ＯＭ－１", at
// most 500 moves, the result of a resignation. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadOm1(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadOm1(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
