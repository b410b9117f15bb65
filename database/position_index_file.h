// The position index file beside a database ("games.idx.pix", "games.mix.pix"): its byte
// layout, the checks a reader makes on every byte it uses, the stamp of the database it
// was built from, and the walk that lists a game's positions, shared by the build and by
// registration.
//
// Layout (integers little-endian; G = the games of the build, B = 2^BucketBits buckets):
//   0              G × 4 bytes: each game's rank by date, newest first (equal dates: the
//                  higher number first), 0 the newest
//   4 G            G × 1 byte: each game's flags (bits 0-1 its ResultShare, bit 2 a game
//                  from a handicap, whose moves start at ply 1)
//   EntriesOffset  the positions, bucket by bucket (the top BucketBits bits of the key's
//                  primary word); each position:
//                    1 byte   the low 8 bits of its key's primary word
//                    varint   head: game × 2 for a position of one game (its ply and move
//                             are read from the game), else count × 2 + 1, followed by
//                    varint   the bytes of the rest:
//                    varint   k, the moves played from it, then k × 2 bytes of move codes
//                             (0 0: the game ends there), in ascending order
//                    1 byte   0, or 1 when every game stands on it at one ply, followed by
//                             that ply
//                    count ×  the game (varint: the first the number, then the step from the
//                             one before, ascending), its ply (1 byte, unless one ply), the
//                             index of its move (varint, only when k > 1)
//   DirectoryOffset  (B + 1) × 8 bytes: where each bucket starts, from EntriesOffset
//   PageSumsOffset   a checksum (8 bytes) for each 64 KiB page of the bytes before it
//   LogOffset        the games registered since the build, each a record:
//                      16 bytes  IndexLogHeader
//                      Positions × 19 bytes: key (8 + 8), ply, move code (2)
//                      8 bytes   checksum of the record before it
//   end - 128        PositionIndexTrailer
// A record for a game the build holds replaces the build's positions of that game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "database/position_explorer.h"
#include "database/position_index.h"
#include "database/position_key.h"
#include "database_files/database_format.h"
#include "database_files/little_endian.h"
#include "platform/record_file.h"

namespace shogi {

inline constexpr char kPositionIndexMagic[8] = {'S', 'H', 'O', 'G', 'I', 'P', 'I', 'X'};
constexpr std::uint32_t kPositionIndexVersion = 1;
constexpr std::uint64_t kIndexPageBytes = 65536;
constexpr int kSliceBits = 12;  // the build works in slices of keys; buckets nest in them
constexpr int kMaxBucketBits = 40;

constexpr std::uint8_t kFlagShareMask = 3;
constexpr std::uint8_t kFlagHandicapStart = 4;

// The last 128 bytes of the file.
struct PositionIndexTrailer {
  char Magic[8];
  Le32 Version;
  Le32 Kind;                    // DatabaseKind
  Le32 Plies;                   // the moves of each game indexed
  Le32 BucketBits;              // kSliceBits..kMaxBucketBits
  Le32 MainGames;               // G: the games of the build
  Le32 Games;                   // the database's count the index stands for
  Le64 IndexBytes, MovesBytes;  // the database's files as the index knows them
  Le64 IndexTime, MovesTime;    // their modification times, nanoseconds
  Le64 Positions;               // positions indexed: each game once per position
  Le64 Distinct;                // positions of the build
  Le64 EntriesOffset;
  Le64 DirectoryOffset;
  Le64 PageSumsOffset;
  Le64 LogBytes;
  Le64 PageSumsChecksum;
  Le64 Checksum;  // of the 120 bytes before it
};
static_assert(sizeof(PositionIndexTrailer) == 128);
static_assert(offsetof(PositionIndexTrailer, IndexBytes) == 32);
static_assert(offsetof(PositionIndexTrailer, Checksum) == 120);

struct IndexLogHeader {
  Le32 Bytes;  // the whole record
  Le32 Game;
  Le32 Positions;
  std::uint8_t Flags;
  std::uint8_t Unused[3];
};
static_assert(sizeof(IndexLogHeader) == 16);
constexpr std::size_t kLogPositionBytes = 19;

// A 64-bit checksum of `size` bytes.
std::uint64_t Checksum64(const std::uint8_t* bytes, std::size_t size);

// What the index remembers of the database it stands for.
struct DatabaseStamp {
  std::uint64_t IndexBytes = 0, MovesBytes = 0;
  std::int64_t IndexTime = 0, MovesTime = 0;
  int Games = 0;

  friend bool operator==(const DatabaseStamp&, const DatabaseStamp&) = default;
};
// The stamp of the database at `paths` as it is now; false when its files cannot be read.
[[nodiscard]] bool StampOf(const DatabaseFormat& format, const DatabasePaths& paths,
                           DatabaseStamp& stamp);
DatabaseStamp StampOf(const PositionIndexTrailer& trailer);
void SetStamp(const DatabaseStamp& stamp, PositionIndexTrailer& trailer);
// Seals the trailer with its checksum.
void SealTrailer(PositionIndexTrailer& trailer);

// Unsigned LEB128 numbers. Reading is inline for the one-byte numbers of long lists.
void PutVarint(std::string& out, std::uint64_t value);
[[nodiscard]] bool GetLongVarint(const std::uint8_t*& p, const std::uint8_t* end,
                                 std::uint64_t& value);
[[nodiscard]] inline bool GetVarint(const std::uint8_t*& p, const std::uint8_t* end,
                                    std::uint64_t& value) {
  if (p != end && *p < 0x80) {
    value = *p++;
    return true;
  }
  return GetLongVarint(p, end, value);
}

// Memory taken without ending the program when there is none: empty on a failure.
template <class T>
std::unique_ptr<T[]> TryAllocate(std::size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]);
}

// An index file opened for reading: the trailer and the page checksums checked at Open,
// every other byte checked (its whole page) before it is handed out.
class CheckedIndexFile {
 public:
  // False when the file is not there or not a sound index (`damaged` tells which).
  [[nodiscard]] bool Open(const std::string& path, bool& damaged);
  const PositionIndexTrailer& Trailer() const { return trailer_; }
  std::uint64_t LogOffset() const { return log_offset_; }
  // Lets the file go before it is written: Windows refuses to open a file for writing while
  // another handle reads it.
  void Close() { file_.Close(); }

  // The bytes [offset, offset + size) of the part before the page checksums, their pages
  // read into `buffer` and checked; nullptr when they lie outside it, cannot be read or a
  // page is damaged.
  const std::uint8_t* Read(std::uint64_t offset, std::uint64_t size,
                           std::unique_ptr<std::uint8_t[]>& buffer) const;
  // The log's bytes, unchecked (each record carries its checksum); nullptr when unreadable.
  const std::uint8_t* ReadLog(std::unique_ptr<std::uint8_t[]>& buffer) const;

 private:
  RecordFile file_;
  PositionIndexTrailer trailer_{};
  std::unique_ptr<std::uint64_t[]> sums_;
  std::uint64_t pages_ = 0;
  std::uint64_t log_offset_ = 0;
};

// One 64 KiB page of a checked file at a time, for values read in ascending order.
class IndexPageCursor {
 public:
  explicit IndexPageCursor(const CheckedIndexFile& file) : file_(file) {}
  // The byte at `offset`; nullptr when it cannot be read or its page is damaged.
  const std::uint8_t* At(std::uint64_t offset) {
    if (page_ != nullptr && offset >= first_ && offset < last_) return page_ + (offset - first_);
    return Load(offset);
  }

 private:
  const std::uint8_t* Load(std::uint64_t offset);

  const CheckedIndexFile& file_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  const std::uint8_t* page_ = nullptr;
  std::uint64_t first_ = 0, last_ = 0;
};

// Lists the positions of one game as the index holds them: each position the game stands on
// within `plies` moves, at its first occurrence, with its key, ply and the move played from
// it (the end marker when the game ends there), handed to `found(key, ply, move)`. The
// moves are replayed quickly up to `end`, the ply where DecodeThrough stops (so every move
// replayed is playable).
template <class Found>
class PositionLister final : public QuickReplayVisitor {
 public:
  PositionLister(int plies, Found& found) : plies_(plies), found_(found) {}

  // Replays the game of `block` (decoded up to `end`).
  void List(const DatabaseFormat& format, const std::uint8_t* block, Handicap start, int end) {
    ++game_;
    last_ = HandicapStartIndex(start) + plies_;
    pending_ = false;
    key_ = KeyOf(HandicapPosition(start), SideOfPly(HandicapStartIndex(start)));
    format.ReplayQuickly(block, start, end, *this);
    if (pending_) found_(pending_key_, pending_ply_, MoveCode{});
  }

  bool At(int ply, const Position&) override {
    if (ply > last_) return false;
    pending_ = FirstVisit(key_);
    pending_key_ = key_;
    pending_ply_ = ply;
    return true;
  }
  void Played(int ply, Side side, const Position& pos, const QuickMove& done) override {
    if (pending_) found_(pending_key_, ply, done.Move);
    pending_ = false;
    KeyAfterMove(key_, pos, side, done);
  }

 private:
  // A table of the keys seen in this game (a game has at most 257 positions), its slots
  // marked with the game they belong to.
  static constexpr int kSlots = 1024;
  bool FirstVisit(const PositionKey& key) {
    for (std::uint64_t i = key.Primary;; ++i) {
      Slot& slot = seen_[i % kSlots];
      if (slot.Game != game_) {
        slot = Slot{key, game_};
        return true;
      }
      if (slot.Key == key) return false;
    }
  }
  struct Slot {
    PositionKey Key;
    std::uint64_t Game = 0;
  };

  int plies_, last_ = 0;
  Found& found_;
  std::uint64_t game_ = 0;
  PositionKey key_, pending_key_;
  int pending_ply_ = 0;
  bool pending_ = false;
  Slot seen_[kSlots];
};

// A game's flags as the index keeps them.
std::uint8_t GameFlags(int stored_result, Handicap start);

}  // namespace shogi
