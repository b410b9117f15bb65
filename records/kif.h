// The Kakinoki KIF record: the program's own save format, written and read back from a file
// or a URL stream.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// The KIF reader keeps at most this many moves.
constexpr int kKifMoveLimit = 500;

// The bytes of the KIF file of `record` (cp932, CR LF line ends): header, handicap line or
// diagram, names, one line per move and the end line. With `store_times` the time column
// shows the record's times, else zeros.
std::string FormatKif(const GameRecord& record, bool store_times);

// The same with the comments and variations of `tree` (conformed to the record's main line):
// the start's comment after the head of the move list, each move's comment lines ("*") after
// it, "+" on a move that variations branch off, and after the main line one "変化：N手"
// block per variation in the order of TreeLines. An empty tree gives FormatKif's bytes.
std::string FormatKif(const GameRecord& record, const RecordTree& tree, bool store_times);

// The lines before the move list that the KIF and the KI2 writer share: the first line, the
// handicap, the diagram of a position that is none, "後手番" and the names.
std::string FormatKifHeader(const GameRecord& record);

// Writes the KIF file of `record` to `path`, replacing any old file only once the new one is
// complete. 0, or 1 with "ファイルが作成できません。" in `message`.
[[nodiscard]] int WriteKif(const std::string& path, const GameRecord& record, bool store_times,
                           std::string& message);

// Reads the KIF file at `path` into `record`: start position, StartIndex (PlyCount set to
// it), at most 500 moves, times, names and result; tournament and opening are cleared.
// Every move must be playable in the position it is played from (IsPlayableMove); a
// promotion mark on a promoted piece is dropped; a word where the next move would be (an
// end word we do not know) ends the game without a result. 0 on success; 1 with
// "指定ファイルが存在しません。" or "ファイルに異常があります。" in `message`, `record`
// untouched.
[[nodiscard]] int ReadKif(const std::string& path, GameRecord& record, std::string& message);

// The same from any stream with the line rules of a file: comment lines beginning with "*"
// and lines beginning with "&" are skipped.
[[nodiscard]] int ReadKif(ByteStream& stream, GameRecord& record, std::string& message);

// The same keeping the comment lines and the "変化：N手" blocks in `tree` (cleared when the
// file has neither; untouched on failure): "*" lines before the first move are the start's
// comment, after a move that move's; a block of another move N follows the innermost line
// open at move N (KakinokiVariations), moves past 500 from the start are left out. A block
// that branches off a move no open line has reached is damage. `utf8_by_name`: the file's
// name asks for UTF-8.
[[nodiscard]] int ReadKif(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                          RecordTree& tree, std::string& message);

// The same from a URL download, where only the "*" lines are skipped.
[[nodiscard]] int ReadKifUrl(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadKifUrl(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                             RecordTree& tree, std::string& message);

}  // namespace shogi
