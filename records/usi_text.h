// Records as other shogi software passes them around in one line of text: a position as
// SFEN or as a USI "position" command with its moves. And, for a text pasted from the
// clipboard, which record format it is in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "records/record_format.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// The SFEN and USI reader keeps at most this many moves.
constexpr int kUsiMoveLimit = 500;

// Reads the first non-empty line of the text as a position and its moves:
//   [position] startpos [moves M...]   or   [position] [sfen] BOARD SIDE HANDS [N] [moves M...]
// The record gets the position, StartIndex 1 when the second player is to move, the moves
// (each one playable, IsPlayableMove; at most 500) and no names or result. 0, or 1 with
// "ファイルに異常があります。" and `record` untouched.
[[nodiscard]] int ReadUsiText(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadUsiText(const std::string& path, GameRecord& record, std::string& message);

// The message of a pasted text that is no record of a format we read.
inline constexpr const char kMessageNotARecord[] = "クリップボードの内容は棋譜として読めません。";

// The format of a text (cp932) from its first decisive line: a USI "position"/"startpos"
// line, a SFEN, a CSA statement ("V2.2", "N+", "P1", "PI", "$", "'", "+7776FU", "%"), a KI2
// move ("▲", "△") or a KIF move line ("手数----", "   1 ７六歩(77)"). Lines that every
// Kakinoki file may hold ("#", "*", "&" lines, "key：value" headers, the diagram) decide
// nothing. Nothing when no line decides.
[[nodiscard]] std::optional<RecordFormat> RecognizeRecordText(std::string_view cp932);

// Reads a UTF-8 text from the clipboard as a record of the format it is recognised as.
// 0, or 1 with the reader's message or "クリップボードの内容は棋譜として読めません。",
// `record` untouched.
[[nodiscard]] int ReadPastedRecord(std::string_view utf8, GameRecord& record, std::string& message);
// The same keeping the comments and variations in `tree` where the format has them (empty
// otherwise; untouched on failure).
[[nodiscard]] int ReadPastedRecord(std::string_view utf8, GameRecord& record, RecordTree& tree,
                                   std::string& message);

}  // namespace shogi
