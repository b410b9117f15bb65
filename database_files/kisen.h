// The Kisen database files (.IDX index, .KIF moves): their record layouts, the game count
// of the header, the move encoding with drop ordinals, and the index fields of a game.
#pragma once

#include <cstddef>
#include <cstdint>

#include "database_files/index_fields.h"
#include "database_files/little_endian.h"
#include "database_files/position_pattern.h"

namespace shogi {

class QuickReplayVisitor;

// Record 0 of the .IDX file (32 bytes):
//   0-3   number of games, unsigned; only bytes 0-1 count while the file is at most 2 MiB
//   4-31  zero when this program writes them
struct KisenHeader {
  Le32 Count;
  std::uint8_t Unused[28];
};
static_assert(sizeof(KisenHeader) == 32);
static_assert(offsetof(KisenHeader, Unused) == 4);

// Records 1..N of the .IDX file, one per game, at byte 32 * n (sixteen signed 16-bit words):
//   word  bytes   field
//   w0    0-1     first player (先手 / 下手): number in KSNAME.DAT, 0 none
//   w1    2-3     second player (後手 / 上手): number in KSNAME.DAT
//   w2    4-5     tournament: number in KISEN.DAT
//   w3    6-7     game number within a match (局), 0..9, 0 none
//   w4    8-9     year (four digits)
//   w5    10-11   month
//   w6    12-13   day
//   w7    14-15   opening: number in SENKEI.DAT
//   w8    16-17   result code 0..8 (5..8: the moves stop before the end)
//   w9    18-19   not interpreted; kept by an overwrite
//   w10   20-21   handicap code 0..7 (above 7 reads as 7)
//   w11   22-31   five words not interpreted; kept by an overwrite
struct KisenIndexRecord {
  Le16 FirstPlayer;
  Le16 SecondPlayer;
  Le16 Tournament;
  Le16 GameNumber;
  Le16 Year;
  Le16 Month;
  Le16 Day;
  Le16 Opening;
  Le16 Result;
  Le16 Reserved9;
  Le16 Handicap;
  Le16 Reserved11[5];
};
static_assert(sizeof(KisenIndexRecord) == 32);
static_assert(offsetof(KisenIndexRecord, Tournament) == 4);
static_assert(offsetof(KisenIndexRecord, GameNumber) == 6);
static_assert(offsetof(KisenIndexRecord, Year) == 8);
static_assert(offsetof(KisenIndexRecord, Opening) == 14);
static_assert(offsetof(KisenIndexRecord, Result) == 16);
static_assert(offsetof(KisenIndexRecord, Reserved9) == 18);
static_assert(offsetof(KisenIndexRecord, Handicap) == 20);
static_assert(offsetof(KisenIndexRecord, Reserved11) == 22);

// Game n of the .KIF file, at byte 512 * (n - 1): 256 slots of two bytes, slot i = ply i,
// ended by the first slot whose byte 0 is 0 (or by the block's end):
//   byte 0   destination square 1..81, plus 100 when the piece promotes
//   byte 1   origin square 1..81, or for a drop the DropOrdinal (101 and up)
// A handicap game has 0xFF 0xFF in slot 0 and its first move in slot 1.
struct KisenMoveBlock {
  MoveCode Slots[kBlockSlots];
};
static_assert(sizeof(KisenMoveBlock) == 512);

constexpr std::uint8_t kHandicapSlotMark = 0xFF;

// An index of at most this many bytes holds its game count in bytes 0-1 of the header.
constexpr std::uint64_t kKisenNarrowCountBytes = 2097152;

// The game count of an .IDX file of `index_bytes` bytes with this header.
std::uint32_t KisenGameCount(const KisenHeader& header, std::uint64_t index_bytes);

// `DropOrdinal`: the byte 1 of `side` dropping a piece of `type` in `pos`: 101 plus the
// count of the side's pieces in hand of higher types (飛 角 金 銀 桂 香 歩 in that order).
int DropOrdinal(const Position& pos, Side side, int type);

// The type that `ordinal` names in the hand of `side`, 0 when it names none. Inline: the
// position search decodes every drop of every game with it.
inline int DroppedTypeOfOrdinal(const Position& pos, Side side, int ordinal) {
  if (ordinal <= kDropBase) return 0;
  int total = kDropBase;
  for (int t = kRook; t >= kPawn; --t) {
    total += pos.Hand[side][t];
    if (total >= ordinal) return t;
  }
  return 0;
}

// Decodes `block` of a game that starts at `start` into `moves` (plies from the start's
// StartIndex on, the end marker after the last; the entries before StartIndex and after the
// end are left alone). Replays the game as it goes: decoding stops at the block's end, at
// the end slot, and at the first slot that names no square, no piece in hand or a move the
// mover cannot make (a promotion mark on a piece that is already promoted is dropped, not
// refused). Returns the ply where it stopped.
int DecodeKisenBlock(const KisenMoveBlock& block, Handicap start, MoveCode (&moves)[kMaxMoves]);

// The position search over one stored block (FindInBlock with the Kisen slots).
int FindKisenPosition(const std::uint8_t* block, Handicap start, const PositionPattern& pattern);

// The quick replay over one stored block (QuickReplay with the Kisen slots).
int ReplayKisenQuickly(const std::uint8_t* block, Handicap start, int last,
                       QuickReplayVisitor& visitor);

// Encodes the moves of a game that starts at `start` (plies from its StartIndex up to the
// end marker, at most up to slot 255, stopping before a move that cannot be made) into
// `block`, which is cleared first. Returns the number of slots in use, the handicap slot
// included: 256 when the block is full.
int EncodeKisenBlock(const MoveCode (&moves)[kMaxMoves], Handicap start, KisenMoveBlock& block);

// The fields of an index record: players, tournament and opening through the tables.
IndexFields KisenIndexFields(const KisenIndexRecord& index, const DatabaseNames& names);

// Sets the interpreted words of `index` from `record`: players (KSNAME.DAT, 1..999),
// tournament (KISEN.DAT, 1..30) and opening (SENKEI.DAT, 1..30) by KisenNameLookup, game
// number, date, `result` and `handicap_code`. w9 and w11..w15 stay as they are.
void WriteKisenIndex(const GameRecord& record, int handicap_code, int result,
                     const DatabaseNames& names, KisenIndexRecord& index);

}  // namespace shogi
