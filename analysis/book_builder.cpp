// The book builder: the games' positions gathered in one allocation, then the file.
#include "analysis/book_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "analysis/book_format.h"
#include "database/stored_game.h"
#include "database/tarvel.h"
#include "platform/buffered_replacing_file.h"
#include "platform/message_pump.h"

namespace shogi {
namespace {

constexpr char kMessageBadName[] = "Tarvel形式ファイル名が異常です。";
constexpr char kMessageMissing[] = "Tarvel形式ファイル(%s)が存在しません。\n";
constexpr char kMessageNoMemory[] = "メモリが不足しています。";
constexpr char kMessageCannotWrite[] = "定跡ファイル(%s)が作成できません。";

constexpr std::uint32_t kNone = 0xFFFFFFFF;
// The builder's compact position copy: 34 bytes (see CompactPosition).
constexpr int kCompactBytes = 34;
// A game whose block is full counts as this long when plies remaining are counted.
constexpr int kFullBlockPlies = 356;
constexpr int kLoserPliesRemaining = 100;

// One slot of the storage. Positions and moves each take slots from the front, so N x TESU
// slots hold every position and every move that N games of TESU plies can give.
struct Slot {
  // As a position:
  std::uint64_t Key;
  std::uint32_t NextPosition;  // in the same search chain
  std::uint32_t FirstMove;
  // As a move (of the position whose chain of moves holds it):
  std::uint32_t NextMove;
  std::uint32_t Count;     // times it was played (32 bits: the opening moves of a large
                           // database are played far more often than 65 535 times)
  std::uint16_t BookMove;  // as stored: seen from the mover, mirrored with the position
  std::uint8_t MoveCount;  // as a position: its moves, at most 32
  std::uint8_t Compact[kCompactBytes];
};
static_assert(sizeof(Slot) == 64);

// Prefix codes of the piece types 1..8 on the board, as (bits, length).
constexpr struct {
  std::uint32_t Bits;
  int Length;
} kTypeCodes[9] = {{0, 0},      {0b0, 1},    {0b100, 3},   {0b101, 3},  {0b1100, 4},
                   {0b1101, 4}, {0b1110, 4}, {0b11110, 5}, {0b11111, 5}};

class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) { std::memset(out, 0, kCompactBytes); }
  bool Put(std::uint32_t bits, int length) {
    for (int i = length - 1; i >= 0; --i) {
      if (bit_ >= 8 * kCompactBytes) return false;
      if ((bits >> i) & 1) out_[bit_ >> 3] |= static_cast<std::uint8_t>(1 << (bit_ & 7));
      ++bit_;
    }
    return true;
  }

 private:
  std::uint8_t* out_;
  int bit_ = 0;
};

// The position a book record stands for, written without loss: for each book square (taken
// mirrored when the key was) a 0 bit when it is empty, else a 1, the owner, a promotion bit
// for the types that promote and the type's prefix code; then each hand's counts of pawn ..
// rook in unary (that many 1 bits and a 0). The pieces of one set fit 271 bits; false for a
// position that does not fit (more pieces than a set holds, or a code no piece has).
bool CompactPosition(const BookView& view, bool mirrored, std::uint8_t* out) {
  BitWriter w(out);
  for (int b = 0; b < kBookSquares; ++b) {
    const int code = view.Board[mirrored ? MirrorBookSquare(b) : b];
    if (code == 0) {
      if (!w.Put(0, 1)) return false;
      continue;
    }
    const int type = TypeOf(code);
    const int base = BaseType(type);
    if (type > kDragon || type == kPromotedSilver + 1 || base < kPawn) return false;
    if (!w.Put(code > 0 ? 0b10 : 0b11, 2)) return false;
    if (CanPromote(base) && !w.Put(type > kKing ? 1 : 0, 1)) return false;
    if (!w.Put(kTypeCodes[base].Bits, kTypeCodes[base].Length)) return false;
  }
  for (const auto& hand : view.Hand) {
    for (int type = kPawn; type <= kRook; ++type) {
      if (hand[type] < 0 || hand[type] > kBookHandCounts[type]) return false;
      for (int i = 0; i < hand[type]; ++i) {
        if (!w.Put(1, 1)) return false;
      }
      if (!w.Put(0, 1)) return false;
    }
  }
  return true;
}

// The side that won game `result`, or -1 for none (codes other than 1, 2, 5 and 6).
int WinnerOf(int result) {
  switch (result) {
    case kResultFirstWins:
    case kResultFirstWinsLater:
      return kFirst;
    case kResultSecondWins:
    case kResultSecondWinsLater:
      return kSecond;
    default:
      return -1;
  }
}

// Whether JOKEN takes the move of `ply` in a game ending at `end` (356 for a full block).
bool MoveTaken(int condition, int winner, Side mover, int ply, int end) {
  if (condition == kBookAllMoves) return true;
  if (winner < 0) return condition != kBookWinnerOnly;
  if (mover == winner) return true;
  return condition == kBookLoserBefore100 && end - ply > kLoserPliesRemaining;
}

std::string WithName(const char* format, const std::string& name) {
  std::string text(format);
  text.replace(text.find("%s"), 2, name);
  return text;
}

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

// The storage and the tables over it.
class BookStore {
 public:
  // False when `slot_count` slots (and their search heads) do not fit `memory_cap` bytes or
  // cannot be allocated.
  bool Allocate(std::uint64_t slot_count, std::uint64_t memory_cap) {
    if (slot_count == 0) return true;
    std::uint64_t heads = 1;
    while (heads < slot_count) heads <<= 1;
    const std::uint64_t bytes = slot_count * sizeof(Slot) + heads * sizeof(std::uint32_t);
    if (slot_count >= kNone || heads > kNone || bytes > memory_cap) return false;
    slots_.reset(new (std::nothrow) Slot[static_cast<std::size_t>(slot_count)]);
    heads_.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(heads)]);
    if (!slots_ || !heads_) return false;
    std::fill_n(heads_.get(), heads, kNone);
    head_mask_ = heads - 1;
    return true;
  }

  // Counts `move` (played by `side`, well-formed) in the position of `view`.
  void Add(const BookView& view, MoveCode move, Side side, int& collisions) {
    const BookKey key = BookKeyOf(view);
    std::uint8_t compact[kCompactBytes];
    if (!CompactPosition(view, key.Mirrored, compact)) return;
    const std::uint16_t book_move = BookMoveOf(move, side, key.Mirrored);
    std::uint32_t& bucket_bytes = bucket_bytes_[BookBucketOf(key.Key)];
    std::uint32_t& head = heads_[static_cast<std::size_t>((key.Key >> 14) & head_mask_)];
    bool key_met = false;
    for (std::uint32_t p = head; p != kNone; p = slots_[p].NextPosition) {
      Slot& s = slots_[p];
      if (s.Key != key.Key) continue;
      if (std::memcmp(s.Compact, compact, kCompactBytes) != 0) {
        key_met = true;
        continue;
      }
      AddMove(s, book_move, bucket_bytes, collisions);
      return;
    }
    // A new position: its record head and first move must fit its bucket's 2-byte size.
    if (key_met) ++collisions;
    if (bucket_bytes + kBookRecordHeadBytes + kBookEntryBytes > kBookMaxBucketBytes) {
      ++collisions;
      return;
    }
    const std::uint32_t p = positions_++;
    Slot& s = slots_[p];
    s.Key = key.Key;
    std::memcpy(s.Compact, compact, kCompactBytes);
    s.NextPosition = head;
    head = p;
    s.MoveCount = 1;
    s.FirstMove = NewMove(book_move);
    bucket_bytes += kBookRecordHeadBytes + kBookEntryBytes;
  }

  int Positions() const { return static_cast<int>(positions_); }

  // The book: the table, then the buckets in table order, each with its positions in the
  // order they were made.
  bool Write(BufferedReplacingFile& out) {
    // The search heads are done with: they become the positions sorted by bucket.
    std::uint32_t* order = heads_.get();
    std::vector<std::uint32_t> start(kBookBuckets + 1, 0);
    for (std::uint32_t p = 0; p < positions_; ++p) ++start[BookBucketOf(slots_[p].Key) + 1];
    for (int b = 0; b < kBookBuckets; ++b) start[b + 1] += start[b];
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (std::uint32_t p = 0; p < positions_; ++p) order[next[BookBucketOf(slots_[p].Key)]++] = p;

    std::string bytes;
    std::uint32_t offset = kBookTableBytes;
    for (int b = 0; b < kBookBuckets; ++b) {
      PutLe(bytes, offset, 4);
      PutLe(bytes, bucket_bytes_[b], 2);
      offset += bucket_bytes_[b];
    }
    if (!out.Write(bytes)) return false;
    for (std::uint32_t i = 0; i < positions_; ++i) {
      bytes.clear();
      RecordBytes(slots_[order[i]], bytes);
      if (!out.Write(bytes)) return false;
    }
    return true;
  }

 private:
  std::uint32_t NewMove(std::uint16_t book_move) {
    Slot& m = slots_[moves_];
    m.BookMove = book_move;
    m.Count = 1;
    m.NextMove = kNone;
    return moves_++;
  }

  void AddMove(Slot& position, std::uint16_t book_move, std::uint32_t& bucket_bytes,
               int& collisions) {
    std::uint32_t last = kNone;
    for (std::uint32_t m = position.FirstMove; m != kNone; m = slots_[m].NextMove) {
      if (slots_[m].BookMove == book_move) {
        if (slots_[m].Count < kNone) ++slots_[m].Count;
        return;
      }
      last = m;
    }
    if (position.MoveCount >= kBookMaxMoves ||
        bucket_bytes + kBookEntryBytes > kBookMaxBucketBytes) {
      ++collisions;
      return;
    }
    slots_[last].NextMove = NewMove(book_move);
    ++position.MoveCount;
    bucket_bytes += kBookEntryBytes;
  }

  // One record: size, key, and the moves by decreasing count (the earlier first among equal
  // counts) with their frequencies normalised to 65 535.
  void RecordBytes(const Slot& position, std::string& out) const {
    struct Entry {
      std::uint16_t Move;
      std::uint32_t Count;
      long Frequency;
    } entries[kBookMaxMoves];
    int n = 0;
    double total = 0;
    for (std::uint32_t m = position.FirstMove; m != kNone && n < kBookMaxMoves;
         m = slots_[m].NextMove) {
      entries[n++] = {slots_[m].BookMove, slots_[m].Count, 0};
      total += slots_[m].Count;
    }
    std::stable_sort(entries, entries + n,
                     [](const Entry& a, const Entry& b) { return a.Count > b.Count; });
    long sum = 0;
    for (int i = 0; i < n; ++i) {
      entries[i].Frequency = static_cast<long>(entries[i].Count * 65535.0 / total + 0.5);
      sum += entries[i].Frequency;
    }
    // The shortfall goes to the last of the smallest. Rounding can also overshoot by a few;
    // when the smallest is too small to give them back (a frequency would turn negative and
    // read as 100 %), the largest gives them.
    const long shortfall = static_cast<long>(kBookFrequencyTotal) - sum;
    int smallest = 0;
    for (int i = 1; i < n; ++i) {
      if (entries[i].Frequency <= entries[smallest].Frequency) smallest = i;
    }
    entries[entries[smallest].Frequency + shortfall < 0 ? 0 : smallest].Frequency += shortfall;
    PutLe(out, static_cast<std::uint64_t>(kBookRecordHeadBytes + kBookEntryBytes * n), 1);
    PutLe(out, position.Key, 8);
    for (int i = 0; i < n; ++i) {
      PutLe(out, entries[i].Move, 2);
      PutLe(out, static_cast<std::uint64_t>(entries[i].Frequency), 2);
    }
  }

  std::unique_ptr<Slot[]> slots_;
  std::unique_ptr<std::uint32_t[]> heads_;
  std::uint64_t head_mask_ = 0;
  std::uint32_t positions_ = 0, moves_ = 0;
  std::vector<std::uint32_t> bucket_bytes_ = std::vector<std::uint32_t>(kBookBuckets, 0);
};

// The game's result as the builder takes it: with TORYO, a game without a result was lost
// by the side to move after its last move (the first empty slot's side).
int ResultOf(const StoredGame& game, bool resign_rule) {
  if (!resign_rule || game.Result != kResultNone || game.End <= HandicapStartIndex(game.Start))
    return game.Result;
  return SideOfPly(game.End) == kSecond ? kResultFirstWins : kResultSecondWins;
}

// Takes the moves of one game.
void AddGame(const StoredGame& game, const BookBuildOptions& options, BookStore& store,
             int& collisions) {
  const int winner = WinnerOf(ResultOf(game, options.ResignRule));
  const int end = game.End == kBlockSlots ? kFullBlockPlies : game.End;
  Position pos = HandicapPosition(game.Start);
  const int last = std::min(options.Plies, game.End);
  for (int ply = HandicapStartIndex(game.Start); ply < last; ++ply) {
    const Side mover = SideOfPly(ply);
    const MoveCode move = game.Moves[ply];
    if (MoveTaken(options.Condition, winner, mover, ply, end))
      store.Add(BookViewOf(pos, mover), move, mover, collisions);
    ApplyMove(pos, move, mover);
  }
}

}  // namespace

int BuildBook(const BookBuildOptions& options, BookBuildResult& result, std::string& message,
              std::uint64_t memory_cap) {
  result = BookBuildResult{};
  DatabasePaths paths;
  constexpr std::size_t kShortestName = 5;
  if (options.Input.size() < kShortestName || DatabasePathsOf(options.Input, paths, message) != 0) {
    message = kMessageBadName;
    return 1;
  }
  GameDatabase db;
  const std::string missing = WithName(kMessageMissing, options.Input);
  if (OpenStoredDatabase(kTarvelFormat, paths, missing.c_str(), db, message) != 0) return 1;

  const int plies = std::clamp(options.Plies, 0, kBlockSlots);
  BookStore store;
  if (!store.Allocate(static_cast<std::uint64_t>(db.Count()) * static_cast<std::uint64_t>(plies),
                      memory_cap)) {
    message = kMessageNoMemory;
    return 1;
  }
  BookBuildOptions taken = options;
  taken.Plies = plies;
  StoredGame game;
  int collisions = 0;
  for (int n = 1; n <= db.Count() && plies > 0; ++n) {
    PumpMessages();
    if (!ReadStoredGame(db, n, game)) {
      message = kMessageMalformed;
      return 1;
    }
    AddGame(game, taken, store, collisions);
  }
  BufferedReplacingFile out;
  if (!out.Open(options.Output) || !store.Write(out) || !out.Commit()) {
    message = WithName(kMessageCannotWrite, options.Output);
    return 1;
  }
  result.Positions = store.Positions();
  result.Collisions = collisions;
  return 0;
}

std::string BookBuiltMessage(const BookBuildResult& result) {
  char text[96];
  std::snprintf(text, sizeof text, "%d局面作成しました。(%d)", result.Positions, result.Collisions);
  return text;
}

}  // namespace shogi
