// The duplicate check: final boards hashed, equal hashes confirmed square by square.
#include "database/duplicates.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "database/game_database.h"
#include "database/kisen.h"
#include "platform/message_pump.h"
#include "records/record_io.h"

namespace shogi {
namespace {

using Board = std::array<std::int8_t, kSquareCount>;

// The squares after game n's block is replayed to its end: from the start position of the
// index record's handicap code when the block begins 0xFF, else from the even game. The
// replay stops at the first slot that is not a playable move (a damaged block).
bool FinalBoard(const GameDatabase& db, int n, Board& board) {
  std::uint8_t record[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  if (!db.ReadIndex(n, record) || !db.ReadBlock(n, block)) return false;
  const DatabaseFormat& format = db.Format();
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

}  // namespace

int FindDuplicates(const DatabaseFormat& format, const DatabasePaths& paths,
                   const CommandHooks& hooks, std::vector<DuplicatePair>& pairs,
                   std::string& message) {
  pairs.clear();
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0) return 1;
  const int count = db.Count();
  if (count <= 1) {
    message = kMessageNoDuplicates;
    return 1;
  }
  const std::unique_ptr<std::uint32_t[]> hashes(new (std::nothrow) std::uint32_t[count]);
  const std::unique_ptr<std::int32_t[]> by_hash(new (std::nothrow) std::int32_t[count]);
  if (!hashes || !by_hash) {
    message = kMessageNoMemoryToCheck;
    return 1;
  }
  hooks.Show(kStatusCheckingDuplicates);
  Board board;
  for (int n = 1; n <= count; ++n) {
    if (!FinalBoard(db, n, board)) {
      message = kMessageMalformed;
      return 1;
    }
    hashes[n - 1] = HashOf(board);
    by_hash[n - 1] = n;
    PumpMessages();
  }
  // The games grouped by hash; within a group of two or more, by board, so that equal
  // boards lie together.
  std::sort(by_hash.get(), by_hash.get() + count, [&](int a, int b) {
    return hashes[a - 1] != hashes[b - 1] ? hashes[a - 1] < hashes[b - 1] : a < b;
  });
  std::vector<std::pair<Board, int>> group;
  for (int first = 0; first < count;) {
    int last = first + 1;
    while (last < count && hashes[by_hash[last] - 1] == hashes[by_hash[first] - 1]) ++last;
    if (last - first > 1) {
      group.clear();
      for (int k = first; k < last; ++k) {
        if (!FinalBoard(db, by_hash[k], board)) {
          message = kMessageMalformed;
          return 1;
        }
        group.emplace_back(board, by_hash[k]);
      }
      std::sort(group.begin(), group.end());
      for (std::size_t a = 0; a < group.size(); ++a) {
        for (std::size_t b = a + 1; b < group.size() && group[b].first == group[a].first; ++b)
          pairs.emplace_back(group[a].second, group[b].second);
      }
    }
    first = last;
  }
  if (pairs.empty()) {
    message = kMessageNoDuplicates;
    return 1;
  }
  // The order the check finds them in: by the later game, then by the earlier one.
  std::sort(pairs.begin(), pairs.end(), [](const DuplicatePair& x, const DuplicatePair& y) {
    return x.second != y.second ? x.second < y.second : x.first < y.first;
  });
  message = Printed(kMessageDuplicatePairs, static_cast<int>(pairs.size()));
  return 0;
}

}  // namespace shogi
