// The Akafuji database (赤富士, dt*.sin): many games in one file, three string tables of
// names, a 500-entry index and 1 024-byte move blocks; the list of its games and the game
// of a number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/game_record.h"

namespace shogi {

// The Akafuji reader keeps at most this many moves.
constexpr int kAkafujiMoveLimit = 256;

// The list dialog's title and header line (UTF-8).
inline constexpr const char kAkafujiListTitle[] = "赤　富　士　一　覧　表";
inline constexpr const char kAkafujiListHeader[] =
    "NO.   先手         後手        棋戦                 戦型";

// Where an Akafuji reader takes its bytes: a file, or a block of memory laid out as one.
class AkafujiSource {
 public:
  virtual ~AkafujiSource() = default;
  // Reads `size` bytes at `offset` into `out`; false when the source does not hold them all.
  virtual bool ReadAt(std::uint64_t offset, std::size_t size, char* out) = 0;
};

// The bytes of a file image in memory; the block must outlive the source.
class MemoryAkafujiSource final : public AkafujiSource {
 public:
  explicit MemoryAkafujiSource(std::string_view bytes) : bytes_(bytes) {}
  bool ReadAt(std::uint64_t offset, std::size_t size, char* out) override;

 private:
  std::string_view bytes_;
};

// The list of the used games: the header line and one row "%3d %-12s %-12s %-20s %s" a game
// (number, sente, gote, tournament, opening), UTF-8. 0; or 1 with "ファイルに異常があります。"
// or "表示対象データがありません。" when no entry is used.
[[nodiscard]] int ListAkafuji(AkafujiSource& source, std::string& header,
                              std::vector<std::string>& rows, std::string& message);

// Reads the `number`-th used game (from 1) into `record`: the even game, StartIndex 0, at
// most 256 moves, no times, names, tournament, opening and result. 0; or 1 with
// "ファイルに異常があります。", `record` untouched.
[[nodiscard]] int ReadAkafuji(AkafujiSource& source, int number, GameRecord& record,
                              std::string& message);

// The same on the file at `path`; a file that cannot be opened gives
// "ファイルがオープン出来ません。".
[[nodiscard]] int ListAkafuji(const std::string& path, std::string& header,
                              std::vector<std::string>& rows, std::string& message);
[[nodiscard]] int ReadAkafuji(const std::string& path, int number, GameRecord& record,
                              std::string& message);

}  // namespace shogi
