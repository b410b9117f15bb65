// The Morita record (森田将棋・Ostel): a text file of header lines, an optional board, and
// KI2 or four-character moves with their times; written and read.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The Morita reader keeps at most this many moves.
constexpr int kMoritaMoveLimit = 256;

// The bytes of the Morita file of `record` (cp932, CR LF line ends): title, comment, names,
// date, side to move, board, hands, one KI2 move a line (with the mover's cumulative time
// when `store_times`) and the end line.
std::string FormatMorita(const GameRecord& record, bool store_times);

// Writes the Morita file of `record` to `path`: 0, or 1 with "ファイルが作成できません。".
[[nodiscard]] int WriteMorita(const std::string& path, const GameRecord& record, bool store_times,
                              std::string& message);

// Reads a Morita file into `record`: names, tournament (表題 or 棋戦名), opening, comment,
// date, start position and hands, StartIndex (PlyCount set to it), at most 256 moves with
// their times, and the result. 0; or 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadMorita(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadMorita(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
