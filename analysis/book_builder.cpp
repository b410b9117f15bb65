// The book builder: the games' positions gathered in one allocation, then the file.
#include "analysis/book_builder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "analysis/book_format.h"
#include "database/stored_game.h"
#include "database_files/tarvel.h"
#include "platform/buffered_replacing_file.h"
#include "platform/file_path.h"
#include "platform/profile.h"

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
// While the book is written, progress is reported after this many records.
constexpr std::uint32_t kRecordsPerReport = 4096;

// One slot of the storage, one cache line. Slot p holds position p and its first move; the
// further moves of all positions take the move fields of slots from the back. Every taken
// ply adds at most a position or a move, so N x TESU slots hold all that N games of TESU
// plies give.
struct alignas(64) Slot {
  // As a position:
  std::uint64_t Key;
  std::uint32_t NextPosition;  // in the same search chain
  std::uint32_t MoreMoves;     // the slot of the position's second move, or kNone
  std::uint8_t MoveCount;      // at most 32
  std::uint8_t Compact[kCompactBytes];
  // As a move:
  std::uint16_t BookMove;  // as stored: seen from the mover, mirrored with the position
  std::uint32_t Count;     // times it was played (32 bits: the opening moves of a large
                           // database are played far more often than 65 535 times)
  std::uint32_t NextMove;  // the slot of the position's next move, or kNone
};
static_assert(sizeof(Slot) == 64);

// Prefix codes of the piece types 1..8 on the board, as written (first bit leftmost).
struct Code {
  std::uint32_t Bits;  // the first bit in bit 0
  int Length;          // 0: no piece has this code
};
constexpr Code kTypeCodes[9] = {{0, 0},      {0b0, 1},    {0b100, 3},   {0b101, 3},  {0b1100, 4},
                                {0b1101, 4}, {0b1110, 4}, {0b11110, 5}, {0b11111, 5}};

// The code of a square holding piece code c (-16..15, at c + 16): an empty square is a 0;
// a piece is a 1, its owner (0 the side to move), a promotion bit for the types that
// promote and its type's prefix code, each first bit lowest.
constexpr std::array<Code, 32> SquareCodes() {
  std::array<Code, 32> codes{};
  codes[16] = {0, 1};
  for (int c = -16; c < 16; ++c) {
    const int type = TypeOf(c), base = BaseType(type);
    if (c == 0 || type > kDragon || type == kPromotedSilver + 1 || base < kPawn) continue;
    Code code{1u | (c > 0 ? 0u : 2u), 2};
    if (CanPromote(base)) code.Bits |= (type > kKing ? 1u : 0u) << code.Length++;
    const Code t = kTypeCodes[base];
    for (int i = 0; i < t.Length; ++i)
      code.Bits |= ((t.Bits >> (t.Length - 1 - i)) & 1) << code.Length++;
    codes[static_cast<std::size_t>(c + 16)] = code;
  }
  return codes;
}
constexpr std::array<Code, 32> kSquareCodes = SquareCodes();

// The position a book record stands for, written without loss into kCompactBytes bytes:
// the code of each book square (taken mirrored when the key was), then each hand's counts
// of pawn .. rook in unary (that many 1 bits and a 0). The pieces of one set fit 271 bits;
// false for a position that does not fit (more pieces than a set holds, or a code no piece
// has).
bool CompactPosition(const BookView& view, bool mirrored, std::uint8_t* out) {
  std::memset(out, 0, kCompactBytes);
  std::uint64_t held_bits = 0;
  int held = 0, bytes = 0;
  auto put = [&](std::uint32_t bits, int length) {
    held_bits |= static_cast<std::uint64_t>(bits) << held;
    held += length;
    if (held < 32) return true;
    if (bytes + 4 > kCompactBytes) return false;
    for (int i = 0; i < 4; ++i) out[bytes++] = static_cast<std::uint8_t>(held_bits >> (8 * i));
    held_bits >>= 32;
    held -= 32;
    return true;
  };
  for (int b = 0; b < kBookSquares; ++b) {
    const int code = view.Board[mirrored ? MirrorBookSquare(b) : b];
    if (code < -16 || code > 15) return false;
    const Code c = kSquareCodes[static_cast<std::size_t>(code + 16)];
    if (c.Length == 0 || !put(c.Bits, c.Length)) return false;
  }
  for (const auto& hand : view.Hand) {
    for (int type = kPawn; type <= kRook; ++type) {
      const int count = hand[type];
      if (count < 0 || count > kBookHandCounts[type] || !put((1u << count) - 1, count + 1))
        return false;
    }
  }
  for (; held > 0; held -= 8, held_bits >>= 8) {
    if (bytes == kCompactBytes) return false;
    out[bytes++] = static_cast<std::uint8_t>(held_bits);
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
    capacity_ = static_cast<std::uint32_t>(slot_count);
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
    if (bucket_bytes + kBookRecordHeadBytes + kBookEntryBytes > kBookMaxBucketBytes || !HasRoom()) {
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
    s.MoreMoves = kNone;
    SetMove(s, book_move);
    bucket_bytes += kBookRecordHeadBytes + kBookEntryBytes;
  }

  int Positions() const { return static_cast<int>(positions_); }

  // The book: the table, then the buckets in table order, each with its positions in the
  // order they were made; `progress` hears of every kRecordsPerReport records. False when
  // the file cannot be written or `progress` stopped the writing (`stopped` then).
  bool Write(BufferedReplacingFile& out, const LoopProgress& progress, bool& stopped) {
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
      if (i % kRecordsPerReport == 0 && StopRequested(progress, i, positions_)) {
        stopped = true;
        return false;
      }
      bytes.clear();
      RecordBytes(slots_[order[i]], bytes);
      if (!out.Write(bytes)) return false;
    }
    return true;
  }

 private:
  bool HasRoom() const { return positions_ + further_moves_ < capacity_; }

  static void SetMove(Slot& m, std::uint16_t book_move) {
    m.BookMove = book_move;
    m.Count = 1;
    m.NextMove = kNone;
  }

  void AddMove(Slot& position, std::uint16_t book_move, std::uint32_t& bucket_bytes,
               int& collisions) {
    Slot* last = nullptr;
    for (Slot* m = &position; m != nullptr; m = Next(*m, position)) {
      if (m->BookMove == book_move) {
        if (m->Count < kNone) ++m->Count;
        return;
      }
      last = m;
    }
    if (position.MoveCount >= kBookMaxMoves ||
        bucket_bytes + kBookEntryBytes > kBookMaxBucketBytes || !HasRoom()) {
      ++collisions;
      return;
    }
    const std::uint32_t added = capacity_ - 1 - further_moves_++;
    SetMove(slots_[added], book_move);
    (last == &position ? position.MoreMoves : last->NextMove) = added;
    ++position.MoveCount;
    bucket_bytes += kBookEntryBytes;
  }

  // The move after `m` among the moves of `position`, or nullptr.
  Slot* Next(const Slot& m, const Slot& position) const {
    const std::uint32_t next = &m == &position ? position.MoreMoves : m.NextMove;
    return next == kNone ? nullptr : &slots_[next];
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
    for (const Slot* m = &position; m != nullptr && n < kBookMaxMoves; m = Next(*m, position)) {
      entries[n++] = {m->BookMove, m->Count, 0};
      total += m->Count;
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
  std::uint32_t capacity_ = 0, positions_ = 0, further_moves_ = 0;
  std::vector<std::uint32_t> bucket_bytes_ = std::vector<std::uint32_t>(kBookBuckets, 0);
};

// The game's result as the builder takes it: with TORYO, a game without a result was lost
// by the side to move after its last move (the side of the first empty slot). A game without
// moves stays without a result.
int ResultOf(const StoredGame& game, bool resign_rule) {
  if (!resign_rule || game.Result != kResultNone ||
      game.SlotsUsed <= HandicapStartIndex(game.Start))
    return game.Result;
  return SideOfPly(game.SlotsUsed) == kSecond ? kResultFirstWins : kResultSecondWins;
}

// Takes the moves of one game.
void AddGame(const StoredGame& game, const BookBuildOptions& options, BookStore& store,
             int& collisions) {
  const int winner = WinnerOf(ResultOf(game, options.ResignRule));
  const int end = game.SlotsUsed == kBlockSlots ? kFullBlockPlies : game.SlotsUsed;
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

int ParseBookPlies(std::string_view text, int& plies, std::string& message) {
  int value = 0;
  if (!ParseProfileInt(text, value) || value < 0 || value > kMaxBookPlies) {
    message = "有効手数は0～256の整数で入力してください。";
    return 1;
  }
  plies = value;
  return 0;
}

int BuildBook(const BookBuildOptions& options, BookBuildResult& result,
              const LoopProgress& progress, std::string& message, std::uint64_t memory_cap) {
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
    if (StopRequested(progress, n - 1, db.Count())) {
      message = kMessageStopped;
      return 1;
    }
    if (!ReadStoredGame(db, n, game, plies)) {
      message = kMessageMalformed;
      return 1;
    }
    AddGame(game, taken, store, collisions);
  }
  BufferedReplacingFile out;
  bool stopped = false;
  if (!out.Open(options.Output) || !store.Write(out, progress, stopped) || !out.Commit()) {
    message =
        stopped ? std::string(kMessageStopped) : WithName(kMessageCannotWrite, options.Output);
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
