// The Kaya file: many games in one cp932 text file, each beginning with a "#:" line. Listing
// its games, reading one, writing a new file, putting a game in front of the others or in
// place of one, and the record lines of the output file.
#pragma once

#include <string>
#include <vector>

#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The Kaya reader keeps at most this many moves of a game (the writer writes them all).
constexpr int kKayaMoveLimit = 500;

inline constexpr const char kKayaListTitle[] = "か　や　一　覧　表";
inline constexpr const char kKayaListHeader[] =
    "NO. 先手                   後手                   棋戦";
inline constexpr const char kKayaNotKayaQuestion[] =
    "かやのファイルではありません。\n　無理やり読み込みますか？";
inline constexpr const char kMessageRecordNotFound[] = "該当レコードが見つかりません。";
inline constexpr const char kMessageGoteFirstUnsupported[] =
    "後手番から始まる棋譜はサポートしていません。";
inline constexpr const char kKayaOutputCaption[] = "かや棋譜出力";

// How WriteKaya treats the file at the path: a new file (what was there goes), the game put
// in front of the file's games, or the game in place of game n.
enum class KayaWriteMode : int { kNew = 1, kAppend = 1040, kReplace = 1041 };

// The character (cp932) of piece code `code` (-15..15) in the cells of the "B:" diagram, the
// one Kaya cell table, which the Kaya diagram of the output menu draws with too.
const std::string& KayaCell(int code);

// Whether the file's first line begins "##", as every Kaya file's does. False too when the
// file cannot be read.
[[nodiscard]] bool HasKayaFirstLine(const std::string& path);

// The number of games (lines beginning "#:") of the file; 0 with "表示対象データがありません。"
// when it has none, or -1 with "指定ファイルが存在しません。" when it cannot be read.
int CountKayaRecords(const std::string& path, std::string& message);

// The list dialog's rows, one per game: "%3d %-22s %-22s %s" (number from 1, sente, gote,
// title), in UTF-8. 0, or 1 with the message of CountKayaRecords.
int ListKayaRecords(const std::string& path, std::string& header, std::vector<std::string>& rows,
                    std::string& message);

// Reads game `number` (from 1) of the file into `record`: 0, or 1 with
// "指定ファイルが存在しません。" or "ファイルに異常があります。" and `record` untouched.
[[nodiscard]] int ReadKayaRecord(const std::string& path, int number, GameRecord& record,
                                 std::string& message);
// The same over any stream.
[[nodiscard]] int ReadKayaRecord(ByteStream& stream, int number, GameRecord& record,
                                 std::string& message);
// Game 1 of a file or a stream (the format table's one-game readers).
[[nodiscard]] int ReadKaya(const std::string& path, GameRecord& record, std::string& message);
[[nodiscard]] int ReadKaya(ByteStream& stream, GameRecord& record, std::string& message);

// The lines of one game (CR LF line ends, cp932), "#:" first. Nonzero with
// "後手番から始まる棋譜はサポートしていません。" for a position of its own that gote starts.
[[nodiscard]] int FormatKayaRecord(const GameRecord& record, std::string& bytes,
                                   std::string& message);

// A new Kaya file holding the one game: the "##" first line, the game and the closing "##".
[[nodiscard]] int FormatKaya(const GameRecord& record, std::string& bytes, std::string& message);

// Writes `record` to the Kaya file at `path` in `mode`; `number` is the game a replace takes
// the place of. The old file is replaced only once the new one is complete, so a failure
// leaves it whole. 0, or 1 with a message: "ファイル名に異常があります。" (append and
// replace need a name with a three-character extension), "ファイル形式が異なります。" (no
// "##" first line), "該当レコードが見つかりません。", "指定ファイルが存在しません。",
// "ファイルが作成できません。" or the refusal of FormatKayaRecord.
[[nodiscard]] int WriteKaya(const std::string& path, const GameRecord& record, KayaWriteMode mode,
                            int number, std::string& message);

// A new Kaya file (the format table's writer; the times are not stored in this format).
[[nodiscard]] int WriteKayaFile(const std::string& path, const GameRecord& record, bool store_times,
                                std::string& message);

// Appends the game to the output file at `path` as one Kaya record: the first line
// "## Kaelmo for Windows me Ver1.19", the game, then "##" and two empty lines. 0, or 1 with
// "ファイルが作成できません。" or the refusal of FormatKayaRecord (shown captioned
// "かや棋譜出力").
[[nodiscard]] int WriteKayaOutput(const std::string& path, const GameRecord& record,
                                  std::string& message);
// The bytes WriteKayaOutput appends (CR LF line ends); nonzero with the refusal
// of FormatKayaRecord.
[[nodiscard]] int FormatKayaOutput(const GameRecord& record, std::string& bytes,
                                   std::string& message);

}  // namespace shogi
