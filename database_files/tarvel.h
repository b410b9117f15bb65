// The Tarvel database files (.MIX index, .MKF moves): their record layouts, the move
// encoding (the program's own move codes with a changed flag value) and the index fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "database_files/index_fields.h"
#include "database_files/little_endian.h"
#include "database_files/position_pattern.h"

namespace shogi {

class QuickReplayVisitor;

// Record 0 of the .MIX file (40 bytes):
//   0-3   number of games, unsigned, always all 32 bits
//   4-39  zero when this program writes them
struct TarvelHeader {
  Le32 Count;
  std::uint8_t Unused[36];
};
static_assert(sizeof(TarvelHeader) == 40);
static_assert(offsetof(TarvelHeader, Unused) == 4);

constexpr std::size_t kTarvelNameBytes = 12;

// Records 1..N of the .MIX file, one per game, at byte 40 * n:
//   bytes  field
//   0-11   first player's name (先手 / 下手), cp932; a shorter name ends with a zero byte, a
//          12-byte one has none (the next field ends it); never split inside a character
//   12-13  game number within a match (局), 0..9, 0 none
//   14-25  second player's name (後手 / 上手), as bytes 0-11
//   26-27  handicap code 0..10 (above 10 reads as 10)
//   28-29  year (four digits)
//   30-31  month
//   32-33  day
//   34-35  result code 0..8
//   36-37  tournament: number in 棋戦.DAT, 0 none
//   38-39  opening: number in 戦型.DAT, 0 none
// Integers are signed 16-bit little-endian words.
struct TarvelIndexRecord {
  char FirstName[kTarvelNameBytes];
  Le16 GameNumber;
  char SecondName[kTarvelNameBytes];
  Le16 Handicap;
  Le16 Year;
  Le16 Month;
  Le16 Day;
  Le16 Result;
  Le16 Tournament;
  Le16 Opening;
};
static_assert(sizeof(TarvelIndexRecord) == 40);
static_assert(offsetof(TarvelIndexRecord, GameNumber) == 12);
static_assert(offsetof(TarvelIndexRecord, SecondName) == 14);
static_assert(offsetof(TarvelIndexRecord, Handicap) == 26);
static_assert(offsetof(TarvelIndexRecord, Year) == 28);
static_assert(offsetof(TarvelIndexRecord, Result) == 34);
static_assert(offsetof(TarvelIndexRecord, Tournament) == 36);
static_assert(offsetof(TarvelIndexRecord, Opening) == 38);

// Game n of the .MKF file, at byte 512 * (n - 1): 256 slots of two bytes, slot i = ply i,
// ended by the first slot whose byte 0 is 0. Each byte is the byte of the move code, with
// every value above 100 stored 28 higher: a promotion to square s is 128 + s, a drop of
// type t has 128 + t in byte 1 (a 0x80 flag over the square or type). A handicap game has
// 0xFF and its handicap code in slot 0 and its first move in slot 1.
struct TarvelMoveBlock {
  MoveCode Slots[kBlockSlots];
};
static_assert(sizeof(TarvelMoveBlock) == 512);

constexpr std::uint8_t kTarvelHandicapMark = 0xFF;
constexpr int kTarvelFlagShift = 28;  // stored value - move-code value, above 100

// The game count of a .MIX header: all 32 bits, whatever the file's length.
std::uint32_t TarvelGameCount(const TarvelHeader& header);

// The name in a 12-byte name field: up to a zero byte, a control character or byte 12,
// never ending in half a character.
std::string_view TarvelNameOf(const char* field);

// Decodes `block` of a game that starts at `start` into `moves`, as DecodeKisenBlock does
// (every move checked in the position it is played from; the walk stops at the first slot
// that is not a playable move). Returns the ply where it stopped.
int DecodeTarvelBlock(const TarvelMoveBlock& block, Handicap start, MoveCode (&moves)[kMaxMoves]);

// The position search over one stored block (FindInBlock with the Tarvel slots).
int FindTarvelPosition(const std::uint8_t* block, Handicap start, const PositionPattern& pattern);

// The quick replay over one stored block (QuickReplay with the Tarvel slots).
int ReplayTarvelQuickly(const std::uint8_t* block, Handicap start, int last,
                        QuickReplayVisitor& visitor);

// Encodes the moves of a game that starts at `start` into `block`, as EncodeKisenBlock
// does; a handicap game's slot 0 is 0xFF and `handicap_code`. Returns the number of slots
// in use, the handicap slot included.
int EncodeTarvelBlock(const MoveCode (&moves)[kMaxMoves], Handicap start, int handicap_code,
                      TarvelMoveBlock& block);

// The fields of an index record: names from the record (at most 12 bytes, up to a zero
// byte or a control character, never ending in half a character), tournament and opening
// through the tables.
IndexFields TarvelIndexFields(const TarvelIndexRecord& index, const DatabaseNames& names);

// Stores `name` in a 12-byte name field: cut to 12 bytes without splitting a character, zero
// bytes after a shorter name.
void SetTarvelName(char* field, std::string_view name);

// Sets every field of `index` from `record`: the names cut to 12 bytes without splitting a
// character (zero bytes after a shorter name), tournament (棋戦.DAT) and opening (戦型.DAT)
// by exact lookup, game number, date, `result` and `handicap_code`.
void WriteTarvelIndex(const GameRecord& record, int handicap_code, int result,
                      const DatabaseNames& names, TarvelIndexRecord& index);

}  // namespace shogi
