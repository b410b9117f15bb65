// The Kakinoki KI2 record (moves in relative notation, no origin squares), read and written
// with its comments and variations.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// The KI2 reader keeps at most this many moves.
constexpr int kKi2MoveLimit = 256;

// Reads the KI2 file at `path` into `record`: the header lines a KIF file may have (the
// handicap or a diagram, the names from "先手：" and "後手：" when there are any), at most
// 256 moves and the result; a word after the moves that is no move (封じ手) ends the game
// without a result. Times are cleared. 0 on success; 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。" (also for a file without a line of marked moves, which holds
// nothing of the format), `record` untouched.
[[nodiscard]] int ReadKi2(const std::string& path, GameRecord& record, std::string& message);

// The same from a stream.
[[nodiscard]] int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message);

// The same keeping the comment lines ("*") and the "変化：N手" blocks in `tree`, as the KIF
// reader does (cleared when the file has neither; untouched on failure). `utf8_by_name`:
// the file's name asks for UTF-8.
[[nodiscard]] int ReadKi2(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                          RecordTree& tree, std::string& message);

// The bytes of the KI2 file of `record` and `tree` (cp932, CR LF): the KIF writer's lines
// before its move list, the start's comment, the moves six to a line (a comment after a
// move on lines of its own), "まで64手で後手の勝ち" (中断 for a record without a result; a
// record without moves has its end as a word of the side to move instead: ▲中断, ▲不戦敗 ...), and
// one "変化：N手" block per variation as the KIF writer orders them. Times are not written.
std::string FormatKi2(const GameRecord& record, const RecordTree& tree);

}  // namespace shogi
