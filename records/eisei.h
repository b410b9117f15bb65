// The Eisei Meijin record (永世名人): CSA board and hand lines, name lines, one move a line
// with the game's elapsed seconds, and the winner; written and read.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The Eisei Meijin reader keeps at most this many moves.
constexpr int kEiseiMoveLimit = 256;

// The bytes of the Eisei Meijin file of `record` (CR LF line ends; each name ends with a NUL
// byte): board rows, one hand line a piece (gote's first, 飛 down to 歩), the side to move,
// the names, each move followed by the game's elapsed seconds (0 without `store_times`),
// and "S" or "G" for a won game.
std::string FormatEisei(const GameRecord& record, bool store_times);

// Writes the Eisei Meijin file of `record` to `path`: 0, or 1 with "ファイルが作成できません。".
[[nodiscard]] int WriteEisei(const std::string& path, const GameRecord& record, bool store_times,
                             std::string& message);

// Reads an Eisei Meijin file into `record`: start position with hands, StartIndex (PlyCount
// set to it), names, at most 256 moves, the cumulative times of each side and the winner.
// 0; or 1 with "指定ファイルが存在しません。" or "ファイルに異常があります。", `record`
// untouched.
[[nodiscard]] int ReadEisei(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadEisei(const std::string& path, GameRecord& record, std::string& message);

}  // namespace shogi
