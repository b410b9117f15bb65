// The opening book (.JSK) of the in-process computer player: its layout and the three fixed
// constants, the record scrambling, the writer (Tarvel->定跡) and the reader the computer
// player looks its book moves up with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/game_database.h"
#include "platform/progress.h"
#include "rules/handicap.h"

namespace shogi {

// File layout (16-bit little-endian words):
//   offset    size       contents
//   0         128 bytes  header: 64 words drawn from the writer's generator, except word 62
//                        = (count + word 41 + kJskCountKey) mod 65 536
//   128 x i   128 bytes  record i, i = 1..count: slots 0..63 of game i as move codes (a
//                        handicap game has 0xFF and its Tarvel handicap code in slot 0 and its
//                        moves from slot 1; zero slots after the end), scrambled
// A count of 0 or less (word 62 - word 41 - kJskCountKey as a signed 16-bit value) is an
// empty book. The three constants are fixed once: books written with others do not read.
constexpr std::uint16_t kJskCountKey = 0x5A3C;     // hides the count in word 62
constexpr std::uint16_t kJskSeedKey = 0x2B67;      // header generator seed = game count + this
constexpr std::uint16_t kJskScheduleKey = 0x6E95;  // drives the scrambling key schedule

constexpr int kJskSlots = 64;
constexpr std::size_t kJskRecordBytes = 128;
constexpr int kJskMaxRecords = 32766;
constexpr int kJskCountWord = 62;
constexpr int kJskCountOffsetWord = 41;

struct JskHeader {
  std::uint8_t Bytes[kJskRecordBytes];

  std::uint16_t Word(int i) const {
    return static_cast<std::uint16_t>(Bytes[2 * i] | Bytes[2 * i + 1] << 8);
  }
  void SetWord(int i, std::uint16_t value) {
    Bytes[2 * i] = static_cast<std::uint8_t>(value);
    Bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
  }
};

// One game: 64 slots of two bytes, as plain move codes.
struct JskRecord {
  MoveCode Slots[kJskSlots];
};
static_assert(sizeof(JskRecord) == kJskRecordBytes);

// A header for `records` records, its words drawn from the C runtime's generator
// (x = x * 214013 + 2531011, output (x >> 16) & 0x7FFF) seeded with `games` + kJskSeedKey.
JskHeader MakeJskHeader(int records, std::uint32_t games);
// The number of records a header states; 0 or less for an empty book.
int JskRecordCount(const JskHeader& header);

// Scrambles record i (1..) in place; scrambling again with the same i restores it. The key
// starts as header word 63 - (i mod 64) exclusive-or the complement of i, rotated left by one
// bit; each word is exclusive-or'ed with the key, then with c = the key rotated right by one
// bit the next key is c exclusive-or the low byte of (c exclusive-or (c + kJskScheduleKey)).
void ScrambleJskRecord(std::uint8_t (&bytes)[kJskRecordBytes], const JskHeader& header, int i);

inline constexpr const char kMessageNothingToConvert[] = "変換データが１件も存在しません。";

// Opens the Tarvel database a book is written from: 0; or 1 with "Tarvelファイルが存在しませ
// ん。" (the index or the move file is not there), the database's own message (a damaged
// pair) or "変換データが１件も存在しません。" (no games).
[[nodiscard]] int OpenJskSource(const DatabasePaths& tarvel, GameDatabase& db,
                                std::string& message);

// Tarvel->定跡: writes the book of `db` (opened by OpenJskSource) to `path`: at most 32 766
// games, the first 64 slots of each. 0; or 1 with "ファイルに異常があります。" (a game that
// cannot be read), "ファイルが作成できません。" or "中断しました。" (`progress`, told of every
// record, stopped it); nothing replaces an old book before the new one is whole.
[[nodiscard]] int WriteJskBook(const GameDatabase& db, const std::string& path,
                               const LoopProgress& progress, std::string& message);

// A book read whole into memory, unscrambled.
class JskBook {
 public:
  // 0; or 1 with "指定ファイルが存在しません。" (no file) or "ファイルに異常があります。"
  // (shorter than its header). A count beyond the records the file holds whole is cut to them.
  [[nodiscard]] int Open(const std::string& path, std::string& message);

  int Count() const { return static_cast<int>(records_.size()); }
  // Record i, 1..Count().
  const JskRecord& Record(int i) const { return records_[static_cast<std::size_t>(i - 1)]; }

  // The start position of a record's game; nothing when slot 0 names a handicap code the
  // book cannot describe.
  static std::optional<Handicap> StartOf(const JskRecord& record);

  // The move record i has at `ply` when its game starts at `start` and its moves, replayed
  // from there, reach `pos` (all 100 bytes) at that ply; nothing otherwise.
  std::optional<MoveCode> MoveAt(int i, Handicap start, int ply, const Position& pos) const;
  // Every record's move for `pos` reached at `ply` of a game from `start`, in record order.
  std::vector<MoveCode> MovesAt(Handicap start, int ply, const Position& pos) const;

 private:
  std::vector<JskRecord> records_;
};

}  // namespace shogi
