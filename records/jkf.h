// The JSON record format of the web record viewers (JKF): header, start position, moves
// with times and comments, and variations ("forks"), read and written in UTF-8.
#pragma once

#include <string>

#include "platform/byte_stream.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// The JKF reader keeps at most this many moves of any line, as the KIF reader does.
constexpr int kJkfMoveLimit = 500;
// A JKF file holds at most this many bytes, and its values nest at most this deep; the file
// is read whole before it is parsed.
constexpr std::size_t kJkfMaxBytes = 8u << 20;
constexpr int kJkfMaxDepth = 1024;

// The JKF text of `record` and `tree` (UTF-8): the names, tournament, opening and date in the
// header; the start position as a preset ("HIRATE", "KA" ...) or as a board with hands and
// the side to move; the moves with their times (none without `store_times`), comments and
// forks; the end of each line as a "special" (TORYO, SENNICHITE, JISHOGI, CHUDAN).
std::string FormatJkf(const GameRecord& record, const RecordTree& tree, bool store_times);

// Reads a JKF file from `stream` into `record` and `tree` (cleared when the file has no
// comment and no fork): the header's names (先手/下手, 後手/上手), 棋戦, 戦型 and 開始日時; the
// start position; every line's moves, each checked against its position (IsPlayableMove),
// with their times and comments, at most 500 from the start; the main line's special as the
// result. 0, or 1 with "ファイルに異常があります。" and both untouched (a file that is no JSON,
// larger than 8 MiB, nested too deep, or with a move that does not fit its position).
[[nodiscard]] int ReadJkf(ByteStream& stream, bool utf8_by_name, GameRecord& record,
                          RecordTree& tree, std::string& message);

// The same without the tree, and from a path.
[[nodiscard]] int ReadJkf(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int ReadJkf(const std::string& path, GameRecord& record, std::string& message);

// Writes the JKF file of `record` (without comments and variations) to `path`, replacing any
// old file only once the new one is complete.
[[nodiscard]] int WriteJkf(const std::string& path, const GameRecord& record, bool store_times,
                           std::string& message);

}  // namespace shogi
