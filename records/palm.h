// The Palm database file (.PDB) of a handheld shogi viewer: one game, stored as one Tarvel
// game (move block and index record) between a Palm header and a fixed trailer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "database_files/index_fields.h"
#include "platform/byte_stream.h"
#include "rules/game_record.h"

namespace shogi {

// The 752 bytes of the file:
//   0-95     Palm database header and record list (big-endian numbers), kept as found in an
//            existing file; a new file gets NewPalmHeader
//   96-607   the game's Tarvel move block (256 two-byte slots)
//   608-647  the game's Tarvel index record
//   648-751  trailer: "/palm/programs/kifu" in 28 bytes, "CLIE" in 12 bytes, then the device
//            parameters of NewPalmTrailer; kept as found in an existing file
struct PalmFile {
  std::uint8_t Header[96];
  std::uint8_t Block[512];
  std::uint8_t Index[40];
  std::uint8_t Trailer[104];
};
static_assert(sizeof(PalmFile) == 752);
static_assert(offsetof(PalmFile, Block) == 96);
static_assert(offsetof(PalmFile, Index) == 608);
static_assert(offsetof(PalmFile, Trailer) == 648);

inline constexpr const char kPalmCaption[] = "PALM";
inline constexpr const char kMessagePalmWritten[] = "正常に書き込みました。";
inline constexpr const char kMessagePalmCreated[] =
    "新規に書き込みました。\nPALM上で内部パラメータが初期に戻りますので注意してください。";
inline constexpr const char kMessagePalmCannotOpen[] = "ファイルが開けません。";

// The header and the trailer a new file gets.
void NewPalmHeader(std::uint8_t (&header)[96]);
void NewPalmTrailer(std::uint8_t (&trailer)[104]);

// Reads the game of the Palm file at `path`: names, date, result, game number, tournament
// and opening through `names` (the Tarvel lists), the start of the handicap in slot 0, the
// moves that can be played; times 0. 0, or 1 with "ファイルが開けません。" or
// "ファイル形式が異なります。" (shorter than 752 bytes, a creator other than "QZRV", or a
// handicap code that names no start position), the record untouched.
[[nodiscard]] int ReadPalm(const std::string& path, const DatabaseNames& names, GameRecord& record,
                           std::string& message);
// The same over the file's bytes in any stream.
[[nodiscard]] int ReadPalm(ByteStream& stream, const DatabaseNames& names, GameRecord& record,
                           std::string& message);

// Stores `record` in the Palm file at `path` as the Tarvel writer stores a game (its cut at
// 256 slots and its result for a cut game). An existing file keeps its header, its trailer
// and any bytes after them byte for byte; the file is replaced only once the new one is
// complete. 0 with "正常に書き込みました。" or, for a new file, the new-file warning; 1 with
// "セーブ対象の棋譜ではありません。" (a start the Tarvel format has no code for),
// "ファイル形式が異なります。" (an existing file that is not a Palm game file, left as it
// is) or "%sが作成出来ません。" with the path.
[[nodiscard]] int WritePalm(const std::string& path, const DatabaseNames& names,
                            const GameRecord& record, std::string& message);

// The format table's reader and writer: ReadPalm and WritePalm with the Tarvel lists of the
// working directory (the program folder).
[[nodiscard]] int ReadPalmFile(const std::string& path, GameRecord& record, std::string& message);
[[nodiscard]] int ReadPalmStream(ByteStream& stream, GameRecord& record, std::string& message);
[[nodiscard]] int WritePalmFile(const std::string& path, const GameRecord& record, bool store_times,
                                std::string& message);

}  // namespace shogi
