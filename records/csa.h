// The CSA record of the Computer Shogi Association, written and read from a file or a URL
// stream (the form the Gekisashi program saves in, too).
#pragma once

#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// The CSA reader keeps at most this many moves.
constexpr int kCsaMoveLimit = 500;

// The bytes of the CSA file of `record` (CR LF line ends): names, board, side to move, each
// move with its time line ("T0" without `store_times`) and %TORYO or %CHUDAN. Nonzero with
// "持駒の存在する局面は、セーブ出来ません。" when the start position has pieces in hand,
// which the format cannot hold.
[[nodiscard]] int FormatCsa(const GameRecord& record, bool store_times, std::string& bytes,
                            std::string& message);

// The same with the comments of `tree`'s main line (the format has no variations): the
// start's after the side to move, each move's after its time, as "'*" lines. An empty tree
// gives the bytes above.
[[nodiscard]] int FormatCsa(const GameRecord& record, const RecordTree& tree, bool store_times,
                            std::string& bytes, std::string& message);

// Writes the CSA file of `record` to `path`, replacing any old file only once the new one is
// complete. 0, or 1 with the message of FormatCsa or "ファイルが作成できません。"; a refused
// record creates no file.
[[nodiscard]] int WriteCsa(const std::string& path, const GameRecord& record, bool store_times,
                           std::string& message);

// Reads the CSA file at `path` (lines end at CR or LF) into `record`: names, start position
// (board only), StartIndex (PlyCount set to it), at most 500 moves, times and result;
// tournament and opening are cleared. Every move must be playable in the position it is
// played from (IsPlayableMove). 0 on success; 1 with "指定ファイルが存在しません。" or
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadCsa(const std::string& path, GameRecord& record, std::string& message);

// The same with the file's line rules on any stream.
[[nodiscard]] int ReadCsa(ByteStream& stream, GameRecord& record, std::string& message);

// The same keeping the comments in `tree` (cleared when there are none; untouched on
// failure): "'*" lines (and "'**" lines, engine output, with their "*") before the first
// move are the start's comment; every "'" line after a move is that move's. `utf8_by_name`
// is not needed: the text itself tells.
[[nodiscard]] int ReadCsa(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                          RecordTree& tree, std::string& message);

// The same from a URL stream: lines end at a line feed, carriage returns are dropped.
[[nodiscard]] int ReadCsaUrl(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadCsaUrl(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                             RecordTree& tree, std::string& message);

// The ResultCode of an end statement ("%TORYO", "%KACHI", "%+ILLEGAL_ACTION",
// "%SENNICHITE" ...) with the side of list index `index` to move. A statement of 7 bytes or
// more that a fixed field cut short ("%SENNIC") names the word it begins. Statements not in
// the table: a second character "T" or "M" is a loss of the side to move, any other no result.
int CsaEndResult(std::string_view statement, int index);

// The two-letter CSA code of a piece type ("FU", "RY"; two spaces for 0, 13 and others).
const char* CsaPieceCode(int type);

// The piece type of a two-letter CSA code as the readers map it (lenient in the second
// letter where the first one decides); 0 for no piece.
int CsaPieceType(char a, char b);

// A board row "P1".."P9" of rank `rank` into `pos`: nine cells for files 9 down to 1, each
// "+" or "-" and a piece code, or "*" (also "**") for an empty square. Cells are three bytes
// wide in the standard layout ("P1-KY-KE...") and set apart by spaces in older files
// ("P1 -KY -KE ..."); both are read by skipping the spaces between cells. A cell that is
// neither is taken as empty.
void ReadCsaBoardRow(std::string_view line, int rank, Position& pos);

// A move "+7776FU" or "-0055KA" (sign, origin or "00" for a drop, destination, the code of
// the piece after the move) of `side` in `board`: a board move promotes when the code
// differs from the piece on the origin. False when the text is no such move or the move is
// not playable (IsPlayableMove); the sign is not checked.
[[nodiscard]] bool ParseCsaMove(std::string_view line, const Position& board, Side side,
                                MoveCode& move);

}  // namespace shogi
