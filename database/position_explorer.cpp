// The explorer's position test on one game and its pass over a whole database.
#include "database/position_explorer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "database/game_database.h"
#include "database_files/block_walk.h"
#include "records/record_io.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

// Games read at once: 40 KB of index records and 512 KB of move blocks.
constexpr int kExplorerGamesPerRead = 1024;

// The quick pass's test: the pattern's count of the board kept move by move, the hands and
// the side compared when the board agrees.
class OccurrenceFinder final : public QuickReplayVisitor {
 public:
  OccurrenceFinder(const ExplorerTarget& target, Handicap start)
      : target_(target), count_(target.Pattern().StartCountOf(start)) {}

  bool At(int ply, const Position& pos) override {
    if (!target_.Matches(ply, pos, count_)) return true;
    found_ = ply;
    return false;
  }
  void Played(int, Side, const Position& pos, const QuickMove& done) override {
    const PositionPattern& pattern = target_.Pattern();
    if (done.From != 0) count_ += pattern.Change(done.From, done.FromBefore, 0);
    count_ += pattern.Change(done.To, done.ToBefore, pos.Board[done.To]);
  }
  int Found() const { return found_; }

 private:
  const ExplorerTarget& target_;
  int count_;
  int found_ = -1;
};

// The answer of a pass, game by game: the moves in the order they first come (a position
// has few), the newest games in a heap whose top is the oldest kept.
class ScanTally {
 public:
  explicit ScanTally(int newest) : newest_(std::max(newest, 0)) {}

  void Add(const ExplorerGame& game, MoveCode next) {
    ++answer_.Games;
    if (!IsEndMarker(next)) {
      auto move = std::find_if(answer_.Moves.begin(), answer_.Moves.end(),
                               [next](const ExplorerMove& m) { return m.Move == next; });
      if (move == answer_.Moves.end()) {
        answer_.Moves.push_back(ExplorerMove{next});
        move = answer_.Moves.end() - 1;
      }
      ++move->Games;
      ++move->Shares[static_cast<int>(ShareOfResult(game.Result))];
    }
    std::vector<ExplorerGame>& heap = answer_.Newest;
    if (static_cast<int>(heap.size()) < newest_) {
      heap.push_back(game);
      std::push_heap(heap.begin(), heap.end(), NewerGame);
    } else if (newest_ > 0 && NewerGame(game, heap.front())) {
      std::pop_heap(heap.begin(), heap.end(), NewerGame);
      heap.back() = game;
      std::push_heap(heap.begin(), heap.end(), NewerGame);
    }
  }

  ExplorerAnswer Finish() {
    std::sort_heap(answer_.Newest.begin(), answer_.Newest.end(), NewerGame);
    SortExplorerMoves(answer_.Moves);
    return std::move(answer_);
  }

 private:
  int newest_;
  ExplorerAnswer answer_;
};

}  // namespace

ResultShare ShareOfResult(int stored_result) {
  switch (stored_result) {
    case kResultFirstWins:
    case kResultFirstWinsLater:
      return ResultShare::kFirstWins;
    case kResultSecondWins:
    case kResultSecondWinsLater:
      return ResultShare::kSecondWins;
    default:
      return ResultShare::kOther;
  }
}

bool NewerGame(const ExplorerGame& a, const ExplorerGame& b) {
  if (a.Year != b.Year) return a.Year > b.Year;
  if (a.Month != b.Month) return a.Month > b.Month;
  if (a.Day != b.Day) return a.Day > b.Day;
  return a.Number > b.Number;
}

void SortExplorerMoves(std::vector<ExplorerMove>& moves) {
  std::sort(moves.begin(), moves.end(), [](const ExplorerMove& a, const ExplorerMove& b) {
    if (a.Games != b.Games) return a.Games > b.Games;
    return FormatUsiMove(a.Move) < FormatUsiMove(b.Move);
  });
}

ExplorerTarget::ExplorerTarget(const ExplorerQuery& query)
    : query_(query), pattern_(PositionMode::kSame, query.Target) {}

bool ExplorerTarget::Matches(int ply, const Position& pos, int count) const {
  if (SideOfPly(ply) != query_.ToMove || !PositionPattern::IsMatch(count)) return false;
  for (int side = 0; side < 2; ++side) {
    if (std::memcmp(&pos.Hand[side][kPawn], &query_.Target.Hand[side][kPawn], kRook) != 0)
      return false;
  }
  return true;
}

bool FirstOccurrence(const DatabaseFormat& format, const std::uint8_t* block, Handicap start,
                     const ExplorerTarget& target, int plies, int& ply, MoveCode& next) {
  OccurrenceFinder finder(target, start);
  const int first = HandicapStartIndex(start);
  format.ReplayQuickly(block, start, first + std::clamp(plies, 0, kMaxExplorerPlies), finder);
  if (finder.Found() < 0) return false;
  // The quick pass played its moves unchecked: the decoding confirms every move before the
  // position, and tells whether a playable move follows it. The decoding stops at the first
  // slot after that move.
  ply = finder.Found();
  MoveCode moves[kMaxMoves];
  const int end = DecodeThrough(format, block, start, ply, moves);
  if (end < ply) return false;
  next = end > ply ? moves[ply] : MoveCode{};
  return true;
}

int DecodeThrough(const DatabaseFormat& format, const std::uint8_t* block, Handicap start, int last,
                  MoveCode (&moves)[kMaxMoves]) {
  std::uint8_t trimmed[kMoveBlockBytes];
  std::memcpy(trimmed, block, kMoveBlockBytes);
  for (int slot = std::max(last + 1, 0); slot < kBlockSlots; ++slot) trimmed[2 * slot] = 0;
  return format.DecodeBlock(trimmed, start, moves);
}

void ReadExplorerGame(const DatabaseFormat& format, const std::uint8_t* record,
                      ExplorerGame& game) {
  const SearchKeys keys = format.SearchKeysOf(record);
  game.Year = keys.Year;
  game.Month = keys.Month;
  game.Day = keys.Day;
  game.Result = keys.Result;
}

int ExploreByScan(const DatabaseFormat& format, const DatabasePaths& paths,
                  const ExplorerQuery& query, const LoopProgress& progress, ExplorerAnswer& answer,
                  std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return 1;
  const ExplorerTarget target(query);
  ScanTally tally(query.Games);
  const std::size_t record_bytes = format.IndexRecordBytes;
  std::uint8_t records[kExplorerGamesPerRead * kMaxIndexRecordBytes];
  // Without room for a piece of blocks, each game's block is read alone.
  const std::unique_ptr<std::uint8_t[]> blocks(new (std::nothrow)
                                                   std::uint8_t[kExplorerGamesPerRead * kMoveBlockBytes]);
  std::uint8_t one_block[kMoveBlockBytes];
  const int count = db.Count();
  for (int first = 1; first <= count; first += kExplorerGamesPerRead) {
    if (StopRequested(progress, first - 1, count)) {
      message = kMessageExplorerStopped;
      return 1;
    }
    const int n = std::min(kExplorerGamesPerRead, count - first + 1);
    if (!db.ReadIndexRange(first, n, records) ||
        (blocks && !db.ReadBlockRange(first, n, blocks.get()))) {
      message = kMessageMalformed;
      return 1;
    }
    for (int i = 0; i < n; ++i) {
      const std::uint8_t* record = &records[static_cast<std::size_t>(i) * record_bytes];
      if (!blocks && !db.ReadBlock(first + i, one_block)) {
        message = kMessageMalformed;
        return 1;
      }
      const std::uint8_t* block =
          blocks ? &blocks[static_cast<std::size_t>(i) * kMoveBlockBytes] : one_block;
      const Handicap start =
          HandicapOfStoredCode(format.Scheme, format.SearchKeysOf(record).HandicapCode);
      ExplorerGame game;
      MoveCode next;
      if (!FirstOccurrence(format, block, start, target, query.Plies, game.Ply, next)) continue;
      game.Number = first + i;
      ReadExplorerGame(format, record, game);
      tally.Add(game, next);
    }
  }
  if (progress) progress(count, count);
  answer = tally.Finish();
  return 0;
}

}  // namespace shogi
