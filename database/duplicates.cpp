// The duplicate check in three passes over two integers per game:
//
// 1. Each game's final board is hashed: hash[n] and order[] = 1..N, then order sorted by
//    (hash, number), so that the games of one hash lie together in ascending order.
// 2. Each group of one hash is split into the games of one board, square by square. A game's
//    hash is no longer needed once its group is known, so hash[n] becomes the game's class:
//    the first (smallest) game with its board. The boards of up to kBoardsPerPass classes
//    are kept while a group's games are replayed in order; games of further boards (only
//    hash collisions make them) wait for the next pass over the group. The pairs are
//    counted here, before anything is written.
// 3. order[] becomes the next game of each class (0 after the last one), built from N down
//    to 1 with the class's first entry holding the latest game seen; then for each d the
//    games of its class before it are walked from the class's first: the pairs (i, d) by d,
//    then by i, written straight into the list file.
#include "database/duplicates.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "database/game_database.h"
#include "database_files/kisen.h"
#include "records/record_io.h"

namespace shogi {
namespace {

using Board = std::array<std::int8_t, kSquareCount>;

// Games read at once in the first pass.
constexpr int kDuplicateGamesPerRead = 256;

// `text` into `message`; 1.
int Failed(std::string& message, const char* text) {
  message = text;
  return 1;
}

// Boards compared at once while a group of one hash is split.
constexpr int kBoardsPerPass = 64;

// The squares after a game's block is replayed to its end: from the start position of the
// index record's handicap code when the block begins 0xFF, else from the even game. The
// replay stops at the first slot that is not a playable move (a damaged block).
void FinalBoard(const DatabaseFormat& format, const std::uint8_t* record, const std::uint8_t* block,
                Board& board) {
  Handicap start = Handicap::kEven;
  if (block[0] == kHandicapSlotMark)
    start =
        HandicapOfStoredCode(format.Scheme, format.ReadIndex(record, DatabaseNames{}).HandicapCode);
  static MoveCode moves[kMaxMoves];
  const int end = format.DecodeBlock(block, start, moves);
  Position pos = HandicapPosition(start);
  for (int ply = HandicapStartIndex(start); ply < end; ++ply)
    ApplyMove(pos, moves[ply], SideOfPly(ply));
  std::memcpy(board.data(), pos.Board + 1, kSquareCount);
}

bool FinalBoardOf(const GameDatabase& db, int n, Board& board) {
  std::uint8_t record[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  if (!db.ReadIndex(n, record) || !db.ReadBlock(n, block)) return false;
  FinalBoard(db.Format(), record, block, board);
  return true;
}

// FNV-1a over the squares.
std::uint32_t HashOf(const Board& board) {
  std::uint32_t hash = 2166136261u;
  for (std::int8_t square : board) {
    hash ^= static_cast<std::uint8_t>(square);
    hash *= 16777619u;
  }
  return hash;
}

// Pass 1: hash[n - 1] for every game, each told to `hooks`. 0; or 1 with
// "ファイルに異常があります。" (a game cannot be read) or "中断しました。".
int HashGames(const GameDatabase& db, std::uint32_t* hash, const CommandHooks& hooks,
              std::string& message) {
  const std::size_t record_bytes = db.Format().IndexRecordBytes;
  const std::unique_ptr<std::uint8_t[]> records(new (std::nothrow)
                                                    std::uint8_t[kDuplicateGamesPerRead * record_bytes]);
  const std::unique_ptr<std::uint8_t[]> blocks(new (std::nothrow)
                                                   std::uint8_t[kDuplicateGamesPerRead * kMoveBlockBytes]);
  // Without the buffers the games are read one at a time.
  const bool whole_runs = records && blocks;
  Board board;
  for (int first = 1; first <= db.Count(); first += kDuplicateGamesPerRead) {
    const int n = std::min(kDuplicateGamesPerRead, db.Count() - first + 1);
    if (!whole_runs) {
      for (int i = 0; i < n; ++i) {
        if (!FinalBoardOf(db, first + i, board)) return Failed(message, kMessageMalformed);
        hash[first + i - 1] = HashOf(board);
        if (hooks.Stopped(first + i, db.Count(), message)) return 1;
      }
      continue;
    }
    if (!db.ReadIndexRange(first, n, records.get()) || !db.ReadBlockRange(first, n, blocks.get()))
      return Failed(message, kMessageMalformed);
    for (int i = 0; i < n; ++i) {
      FinalBoard(db.Format(), &records[i * record_bytes], &blocks[i * kMoveBlockBytes], board);
      hash[first + i - 1] = HashOf(board);
      if (hooks.Stopped(first + i, db.Count(), message)) return 1;
    }
  }
  return 0;
}

// Pass 2 for one group: the `size` games of `group` (ascending) that share a hash get their
// class in `first_of` (indexed by game number - 1); `pairs` grows by the pairs of each class.
// `group` is used as scratch. Each game read is told to `hooks`. 0; or 1 with
// "ファイルに異常があります。" (a game cannot be read) or "中断しました。".
int SplitGroup(const GameDatabase& db, std::int32_t* group, int size, std::uint32_t* first_of,
               std::uint64_t& pairs, const CommandHooks& hooks, std::string& message) {
  std::array<Board, kBoardsPerPass> boards;
  std::array<std::int32_t, kBoardsPerPass> firsts;
  std::array<std::uint64_t, kBoardsPerPass> sizes;
  Board board;
  while (size > 0) {
    int classes = 0, waiting = 0;
    for (int j = 0; j < size; ++j) {
      const int n = group[j];
      if (!FinalBoardOf(db, n, board)) return Failed(message, kMessageMalformed);
      if (hooks.Stopped(n, db.Count(), message)) return 1;
      const auto known = std::find(boards.begin(), boards.begin() + classes, board);
      if (known != boards.begin() + classes) {
        const auto c = known - boards.begin();
        first_of[n - 1] = static_cast<std::uint32_t>(firsts[c]);
        ++sizes[c];
      } else if (classes < kBoardsPerPass) {
        boards[classes] = board;
        firsts[classes] = n;
        sizes[classes++] = 1;
        first_of[n - 1] = static_cast<std::uint32_t>(n);
      } else {
        group[waiting++] = n;  // still ascending: waiting <= j
      }
    }
    for (int c = 0; c < classes; ++c) pairs += sizes[c] * (sizes[c] - 1) / 2;
    size = waiting;
  }
  return 0;
}

// Pass 3: `next` is the next game of each class; the pairs go into the list, each game told
// to `hooks`. 0; or 1 with "メモリ不足で重複チェック出来ません。" (the list cannot be written
// whole) or "中断しました。" (the old list stays).
int WritePairs(const std::uint32_t* first_of, std::int32_t* next, int count, SearchListWriter& list,
               const CommandHooks& hooks, std::string& message) {
  std::fill(next, next + count, 0);
  for (int d = count; d >= 1; --d) {
    const auto first = static_cast<int>(first_of[d - 1]);
    if (first == d) continue;  // next[d - 1] holds the class's latest game seen: its next
    next[d - 1] = next[first - 1];
    next[first - 1] = d;
  }
  for (int d = 1; d <= count; ++d) {
    for (int i = static_cast<int>(first_of[d - 1]); i != d; i = next[i - 1]) {
      if (!list.Add(i) || !list.Add(d)) return Failed(message, kMessageNoMemoryToCheck);
    }
    if (hooks.Stopped(d, count, message)) return 1;
  }
  return list.Commit() ? 0 : Failed(message, kMessageNoMemoryToCheck);
}

}  // namespace

int FindDuplicates(const DatabaseFormat& format, const DatabasePaths& paths,
                   const std::string& list_path, const CommandHooks& hooks, int& pairs,
                   std::string& message, std::int64_t max_entries) {
  pairs = 0;
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return 1;
  const int count = db.Count();
  if (count <= 1) {
    message = kMessageNoDuplicates;
    return 1;
  }
  const auto size = static_cast<std::size_t>(count);
  const std::unique_ptr<std::uint32_t[]> hash(new (std::nothrow) std::uint32_t[size]);
  const std::unique_ptr<std::int32_t[]> order(new (std::nothrow) std::int32_t[size]);
  if (!hash || !order) {
    message = kMessageNoMemoryToCheck;
    return 1;
  }
  hooks.Show(kStatusCheckingDuplicates);
  if (HashGames(db, hash.get(), hooks, message) != 0) return 1;
  for (int n = 1; n <= count; ++n) order[n - 1] = n;
  std::sort(order.get(), order.get() + count, [&](int a, int b) {
    return hash[a - 1] != hash[b - 1] ? hash[a - 1] < hash[b - 1] : a < b;
  });
  std::uint64_t found = 0;
  for (int lo = 0; lo < count;) {
    int hi = lo + 1;
    while (hi < count && hash[order[hi] - 1] == hash[order[lo] - 1]) ++hi;
    if (hi - lo == 1) {
      hash[order[lo] - 1] = static_cast<std::uint32_t>(order[lo]);
    } else if (SplitGroup(db, &order[lo], hi - lo, hash.get(), found, hooks, message) != 0) {
      return 1;
    }
    lo = hi;
  }
  if (found == 0) {
    message = kMessageNoDuplicates;
    return 1;
  }
  SearchListWriter list;
  if (found > static_cast<std::uint64_t>(max_entries) / 2 || !list.Open(list_path))
    return Failed(message, kMessageNoMemoryToCheck);
  if (WritePairs(hash.get(), order.get(), count, list, hooks, message) != 0) return 1;
  pairs = static_cast<int>(found);
  message = Printed(kMessageDuplicatePairs, pairs);
  return 0;
}

}  // namespace shogi
