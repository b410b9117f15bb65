// Answering the explorer from the position index, and keeping the index current through
// registration.
#include "database/position_index.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "database/game_database.h"
#include "database/position_index_file.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// A registered game's record in the log, checked.
struct LogGame {
  int Game = 0;
  std::uint8_t Flags = 0;
  const std::uint8_t* Positions = nullptr;
  std::uint32_t Count = 0;
};

// The log's records, each checked by its checksum; only the last record of each game counts.
// False when a record is damaged.
bool ReadLog(const CheckedIndexFile& file, std::unique_ptr<std::uint8_t[]>& buffer,
             std::vector<LogGame>& games) {
  const std::uint8_t* log = file.ReadLog(buffer);
  if (log == nullptr) return false;
  const std::uint64_t size = file.Trailer().LogBytes.Get();
  const std::uint64_t highest = file.Trailer().Games.Get();
  std::vector<LogGame> all;
  for (std::uint64_t at = 0; at < size;) {
    IndexLogHeader header;
    if (size - at < sizeof header + 8) return false;
    std::memcpy(&header, log + at, sizeof header);
    const std::uint64_t bytes = header.Bytes.Get();
    const std::uint64_t positions = header.Positions.Get();
    Le64 sum;
    if (bytes > size - at || bytes != sizeof header + kLogPositionBytes * positions + 8 ||
        header.Game.Get() < 1 || header.Game.Get() > highest)
      return false;
    std::memcpy(sum.Bytes, log + at + bytes - 8, 8);
    if (sum.Get() != Checksum64(log + at, static_cast<std::size_t>(bytes - 8))) return false;
    all.push_back(LogGame{static_cast<int>(header.Game.Get()), header.Flags,
                          log + at + sizeof header, static_cast<std::uint32_t>(positions)});
    at += bytes;
  }
  // The last record of each game: the stable sort keeps the records of a game in log order.
  std::stable_sort(all.begin(), all.end(),
                   [](const LogGame& a, const LogGame& b) { return a.Game < b.Game; });
  games.clear();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (i + 1 == all.size() || all[i + 1].Game != all[i].Game) games.push_back(all[i]);
  }
  return true;
}

// A move code as the index stores it: a move the rules can read, or none (the game ends).
bool IsStoredMove(MoveCode m) {
  return m == MoveCode{} || IsWellFormedMove(m);
}

// The ply and move a log record holds for `key`; false when the game does not reach it.
bool FindInLog(const LogGame& game, const PositionKey& key, int& ply, MoveCode& move) {
  for (std::uint32_t i = 0; i < game.Count; ++i) {
    const std::uint8_t* p = game.Positions + kLogPositionBytes * i;
    Le64 primary, secondary;
    std::memcpy(primary.Bytes, p, 8);
    std::memcpy(secondary.Bytes, p + 8, 8);
    if (primary.Get() != key.Primary || secondary.Get() != key.Secondary) continue;
    ply = p[16];
    move = MoveCode{p[17], p[18]};
    return IsStoredMove(move);
  }
  return false;
}

// One question put to the index.
class IndexQuery {
 public:
  IndexQuery(const DatabaseFormat& format, const ExplorerQuery& query, const CheckedIndexFile& file,
             const GameDatabase& db, const std::vector<int>& superseded)
      : format_(format),
        query_(query),
        target_(query),
        file_(file),
        trailer_(file.Trailer()),
        db_(db),
        superseded_(superseded),
        key_(KeyOf(query.Target, query.ToMove)) {}

  // Finds the position among the build's positions and counts its games; false when the
  // index is damaged.
  bool CountBuild();
  // Counts the games of the log.
  void CountLog(const std::vector<LogGame>& log);
  // The answer, the newest games read from the database; false when they cannot be read.
  bool Finish(ExplorerAnswer& answer);

 private:
  // A game of the position, counted unless it reaches the position too late: false then.
  bool Count(int ply, std::uint8_t flags, MoveCode next);
  bool InTime(int ply, std::uint8_t flags) const {
    return ply - ((flags & kFlagHandicapStart) != 0 ? 1 : 0) <= query_.Plies;
  }
  // `games` more games with `next` played, by their flags' share (the share 3 is no share).
  void AddMove(MoveCode next, const std::array<int, 4>& shares);
  // A game of the build counted: a candidate for the newest by its rank.
  void Offer(std::uint32_t rank, int game, int ply) {
    if (static_cast<int>(heap_.size()) < query_.Games) {
      heap_.push_back(Candidate{rank, game, ply});
      std::push_heap(heap_.begin(), heap_.end(), Older);
    } else if (!heap_.empty() && rank < heap_.front().Rank) {
      std::pop_heap(heap_.begin(), heap_.end(), Older);
      heap_.back() = Candidate{rank, game, ply};
      std::push_heap(heap_.begin(), heap_.end(), Older);
    }
  }
  bool Superseded(int game) const {
    return std::binary_search(superseded_.begin(), superseded_.end(), game);
  }
  // Where game `game` of the database first stands on the position within the index's
  // moves; false when it does not (or cannot be read).
  bool Occurrence(int game, int& ply, MoveCode& next) const;
  // Counts the games of a position of several games (`body` its bytes after the head);
  // false when they are damaged.
  bool CountPostings(const std::uint8_t* body, const std::uint8_t* end, std::uint64_t count);
  // Whether a position of several games is the query's: its first game that no log record
  // replaces stands on it at its ply. `damaged` when the game's move disagrees.
  bool IsTarget(const std::uint8_t* body, const std::uint8_t* end, bool& damaged) const;

  const DatabaseFormat& format_;
  const ExplorerQuery& query_;
  const ExplorerTarget target_;
  const CheckedIndexFile& file_;
  const PositionIndexTrailer& trailer_;
  const GameDatabase& db_;
  const std::vector<int>& superseded_;
  const PositionKey key_;
  int games_ = 0;
  std::vector<ExplorerMove> moves_;
  // The newest games: (rank, game, ply) with the oldest on top; the log's games.
  struct Candidate {
    std::uint32_t Rank;
    int Game, Ply;
  };
  static bool Older(const Candidate& a, const Candidate& b) { return a.Rank < b.Rank; }
  std::vector<Candidate> heap_;
  std::vector<ExplorerGame> log_games_;
};

bool IndexQuery::Occurrence(int game, int& ply, MoveCode& next) const {
  std::uint8_t record[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  if (!db_.ReadIndex(game, record) || !db_.ReadBlock(game, block)) return false;
  const Handicap start =
      HandicapOfStoredCode(format_.Scheme, format_.SearchKeysOf(record).HandicapCode);
  return FirstOccurrence(format_, block, start, target_, static_cast<int>(trailer_.Plies.Get()),
                         ply, next);
}

bool IndexQuery::Count(int ply, std::uint8_t flags, MoveCode next) {
  if (!InTime(ply, flags)) return false;
  ++games_;
  std::array<int, 4> shares{};
  ++shares[flags & kFlagShareMask];
  AddMove(next, shares);
  return true;
}

void IndexQuery::AddMove(MoveCode next, const std::array<int, 4>& shares) {
  const int games = shares[0] + shares[1] + shares[2] + shares[3];
  if (IsEndMarker(next) || games == 0) return;
  auto move = std::find_if(moves_.begin(), moves_.end(),
                           [next](const ExplorerMove& m) { return m.Move == next; });
  if (move == moves_.end()) {
    moves_.push_back(ExplorerMove{next});
    move = moves_.end() - 1;
  }
  move->Games += games;
  for (int share = 0; share < 4; ++share)
    move->Shares[std::min(share, kResultShares - 1)] += shares[share];
}

// The body of a position of several games: k, the k move codes, the one-ply byte and ply.
struct PostingsHead {
  std::uint64_t Moves = 0;
  const std::uint8_t* Codes = nullptr;
  bool OnePly = false;
  int Ply = 0;
};
bool ReadPostingsHead(const std::uint8_t*& p, const std::uint8_t* end, PostingsHead& head) {
  if (!GetVarint(p, end, head.Moves) || head.Moves > static_cast<std::uint64_t>(end - p) / 2)
    return false;
  head.Codes = p;
  for (std::uint64_t m = 0; m < head.Moves; ++m) {
    if (!IsStoredMove(MoveCode{p[2 * m], p[2 * m + 1]})) return false;
  }
  p += 2 * head.Moves;
  if (p == end || *p > 1) return false;
  head.OnePly = *p++ == 1;
  if (head.OnePly) {
    if (p == end) return false;
    head.Ply = *p++;
  }
  return true;
}
// The next game of the postings: the game (ascending from 1), its ply and move index.
bool ReadPosting(const std::uint8_t*& p, const std::uint8_t* end, const PostingsHead& head,
                 std::uint64_t& game, int& ply, std::uint64_t& move) {
  std::uint64_t step = 0;
  if (!GetVarint(p, end, step) || step == 0) return false;
  game += step;
  ply = head.Ply;
  if (!head.OnePly) {
    if (p == end) return false;
    ply = *p++;
  }
  move = 0;
  if (head.Moves > 1 && !GetVarint(p, end, move)) return false;
  return move < head.Moves;
}

bool IndexQuery::IsTarget(const std::uint8_t* p, const std::uint8_t* end, bool& damaged) const {
  PostingsHead head;
  damaged = !ReadPostingsHead(p, end, head);
  std::uint64_t game = 0, move = 0;
  int ply = 0;
  while (!damaged && p != end) {
    damaged = !ReadPosting(p, end, head, game, ply, move) || game > trailer_.MainGames.Get();
    if (damaged || Superseded(static_cast<int>(game))) continue;
    int found = 0;
    MoveCode next;
    if (!Occurrence(static_cast<int>(game), found, next) || found != ply) return false;
    damaged = next != MoveCode{head.Codes[2 * move], head.Codes[2 * move + 1]};
    return !damaged;
  }
  return false;
}

bool IndexQuery::CountPostings(const std::uint8_t* p, const std::uint8_t* end,
                               std::uint64_t count) {
  PostingsHead head;
  if (!ReadPostingsHead(p, end, head)) return false;
  const std::uint64_t main_games = trailer_.MainGames.Get();
  IndexPageCursor ranks(file_), flags(file_);
  // The games by move and share: a long list is counted without a look-up per game.
  std::vector<std::array<int, 4>> shares(head.Moves);
  std::uint64_t game = 0, move = 0, read = 0;
  int ply = 0;
  for (; p != end; ++read) {
    if (!ReadPosting(p, end, head, game, ply, move) || game > main_games) return false;
    if (!superseded_.empty() && Superseded(static_cast<int>(game))) continue;
    const std::uint8_t* flag = flags.At(4 * main_games + game - 1);
    const std::uint8_t* rank = ranks.At(4 * (game - 1));
    if (flag == nullptr || rank == nullptr) return false;
    if (!InTime(ply, *flag)) continue;
    ++games_;
    ++shares[move][*flag & kFlagShareMask];
    Le32 stored;
    std::memcpy(stored.Bytes, rank, 4);
    Offer(stored.Get(), static_cast<int>(game), ply);
  }
  for (std::uint64_t m = 0; m < head.Moves; ++m)
    AddMove(MoveCode{head.Codes[2 * m], head.Codes[2 * m + 1]}, shares[m]);
  return read == count;
}

bool IndexQuery::CountBuild() {
  const std::uint64_t main_games = trailer_.MainGames.Get();
  if (main_games == 0) return true;
  const int bits = static_cast<int>(trailer_.BucketBits.Get());
  const std::uint64_t bucket = key_.Primary >> (64 - bits);
  const std::uint64_t entries = trailer_.EntriesOffset.Get();
  std::unique_ptr<std::uint8_t[]> directory_bytes, bucket_bytes;
  const std::uint8_t* slot =
      file_.Read(trailer_.DirectoryOffset.Get() + 8 * bucket, 16, directory_bytes);
  if (slot == nullptr) return false;
  Le64 from, to;
  std::memcpy(from.Bytes, slot, 8);
  std::memcpy(to.Bytes, slot + 8, 8);
  if (from.Get() > to.Get() || to.Get() > trailer_.DirectoryOffset.Get() - entries) return false;
  const std::uint8_t* p = file_.Read(entries + from.Get(), to.Get() - from.Get(), bucket_bytes);
  if (p == nullptr) return false;
  const std::uint8_t* const end = p + (to.Get() - from.Get());
  // A position of one game that stands on the query's; any such game is the query's only
  // one unless a position of several games is the query's.
  int single = 0, single_ply = 0;
  MoveCode single_next;
  while (p != end) {
    const std::uint8_t fingerprint = *p++;
    std::uint64_t head = 0;
    if (!GetVarint(p, end, head)) return false;
    const bool ours = fingerprint == static_cast<std::uint8_t>(key_.Primary);
    if ((head & 1) == 0) {
      const std::uint64_t game = head >> 1;
      if (game < 1 || game > main_games) return false;
      if (ours && single == 0 && !Superseded(static_cast<int>(game)) &&
          Occurrence(static_cast<int>(game), single_ply, single_next))
        single = static_cast<int>(game);
      continue;
    }
    std::uint64_t bytes = 0;
    if (!GetVarint(p, end, bytes) || bytes > static_cast<std::uint64_t>(end - p)) return false;
    const std::uint8_t* body = p;
    p += bytes;
    bool damaged = false;
    if (ours && IsTarget(body, p, damaged)) return CountPostings(body, p, head >> 1);
    if (damaged) return false;
  }
  if (single != 0) {
    IndexPageCursor ranks(file_), flags(file_);
    const std::uint8_t* flag = flags.At(4 * main_games + static_cast<std::uint64_t>(single) - 1);
    const std::uint8_t* rank = ranks.At(4 * (static_cast<std::uint64_t>(single) - 1));
    if (flag == nullptr || rank == nullptr) return false;
    Le32 stored;
    std::memcpy(stored.Bytes, rank, 4);
    if (Count(single_ply, *flag, single_next)) Offer(stored.Get(), single, single_ply);
  }
  return true;
}

void IndexQuery::CountLog(const std::vector<LogGame>& log) {
  for (const LogGame& game : log) {
    int ply = 0;
    MoveCode next;
    if (!FindInLog(game, key_, ply, next)) continue;
    // The log's games are all read for their dates.
    if (Count(ply, game.Flags, next)) log_games_.push_back(ExplorerGame{game.Game, ply});
  }
}

bool IndexQuery::Finish(ExplorerAnswer& answer) {
  std::vector<ExplorerGame> newest = log_games_;
  for (const Candidate& c : heap_) newest.push_back(ExplorerGame{c.Game, c.Ply});
  for (ExplorerGame& game : newest) {
    std::uint8_t record[kMaxIndexRecordBytes];
    if (!db_.ReadIndex(game.Number, record)) return false;
    ReadExplorerGame(format_, record, game);
  }
  std::sort(newest.begin(), newest.end(), NewerGame);
  if (static_cast<int>(newest.size()) > query_.Games)
    newest.resize(static_cast<std::size_t>(std::max(query_.Games, 0)));
  answer.Games = games_;
  answer.Moves = moves_;
  SortExplorerMoves(answer.Moves);
  answer.Newest = std::move(newest);
  return true;
}

}  // namespace

const char* IndexUseNote(IndexUse use) {
  switch (use) {
    case IndexUse::kStale:
      return "局面インデックスが古いため使いません。";
    case IndexUse::kDamaged:
      return "局面インデックスに異常があるため使いません。";
    case IndexUse::kTooFewPlies:
      return "局面インデックスの手数が足りないため使いません。";
    case IndexUse::kUsed:
    case IndexUse::kMissing:
      break;
  }
  return "";
}

IndexUse ExploreFromIndex(const DatabaseFormat& format, const DatabasePaths& paths,
                          const ExplorerQuery& query, ExplorerAnswer& answer) {
  CheckedIndexFile file;
  bool damaged = false;
  if (!file.Open(PositionIndexPath(format, paths), damaged))
    return damaged ? IndexUse::kDamaged : IndexUse::kMissing;
  const PositionIndexTrailer& trailer = file.Trailer();
  if (trailer.Kind.Get() != static_cast<std::uint32_t>(format.Kind) ||
      trailer.MainGames.Get() > trailer.Games.Get())
    return IndexUse::kDamaged;
  DatabaseStamp now;
  if (!StampOf(format, paths, now) || !(now == StampOf(trailer))) return IndexUse::kStale;
  if (static_cast<int>(trailer.Plies.Get()) < query.Plies) return IndexUse::kTooFewPlies;
  GameDatabase db;
  std::string message;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) !=
          0 ||
      static_cast<std::uint32_t>(db.Count()) != trailer.Games.Get())
    return IndexUse::kStale;
  std::unique_ptr<std::uint8_t[]> log_bytes;
  std::vector<LogGame> log;
  if (!ReadLog(file, log_bytes, log)) return IndexUse::kDamaged;
  std::vector<int> superseded;
  for (const LogGame& game : log) superseded.push_back(game.Game);
  IndexQuery question(format, query, file, db, superseded);
  if (!question.CountBuild()) return IndexUse::kDamaged;
  question.CountLog(log);
  ExplorerAnswer found;
  if (!question.Finish(found)) return IndexUse::kDamaged;
  answer = std::move(found);
  return IndexUse::kUsed;
}

int ExplorePosition(const DatabaseFormat& format, const DatabasePaths& paths,
                    const ExplorerQuery& query, const LoopProgress& progress,
                    ExplorerAnswer& answer, IndexUse& use, std::string& message) {
  use = ExploreFromIndex(format, paths, query, answer);
  if (use == IndexUse::kUsed) return 0;
  return ExploreByScan(format, paths, query, progress, answer, message);
}

namespace {

// Whether the index of the database is sound and stands for it as it is.
bool IndexIsCurrent(const DatabaseFormat& format, const DatabasePaths& paths) {
  CheckedIndexFile file;
  bool damaged = false;
  DatabaseStamp now;
  return file.Open(PositionIndexPath(format, paths), damaged) &&
         file.Trailer().Kind.Get() == static_cast<std::uint32_t>(format.Kind) &&
         StampOf(format, paths, now) && now == StampOf(file.Trailer());
}

// Appends game `game` as the database now stores it to the index, which then stands for
// the database as it is. False when it cannot; the index is then stale.
bool AppendToIndex(const DatabaseFormat& format, const DatabasePaths& paths, int game) {
  const std::string path = PositionIndexPath(format, paths);
  CheckedIndexFile file;
  bool damaged = false;
  if (!file.Open(path, damaged)) return false;
  PositionIndexTrailer trailer = file.Trailer();
  GameDatabase db;
  std::string message;
  std::uint8_t record[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  DatabaseStamp now;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0 ||
      !db.ReadIndex(game, record) || !db.ReadBlock(game, block) || !StampOf(format, paths, now))
    return false;
  const SearchKeys keys = format.SearchKeysOf(record);
  const Handicap start = HandicapOfStoredCode(format.Scheme, keys.HandicapCode);
  const int plies = static_cast<int>(trailer.Plies.Get());
  std::string bytes(sizeof(IndexLogHeader), '\0');
  std::uint32_t positions = 0;
  auto add = [&](const PositionKey& key, int ply, MoveCode move) {
    Le64 word;
    word.Set(key.Primary);
    bytes.append(reinterpret_cast<const char*>(word.Bytes), 8);
    word.Set(key.Secondary);
    bytes.append(reinterpret_cast<const char*>(word.Bytes), 8);
    bytes += static_cast<char>(ply);
    bytes += static_cast<char>(move.to);
    bytes += static_cast<char>(move.from);
    ++positions;
  };
  MoveCode moves[kMaxMoves];
  PositionLister<decltype(add)> lister(plies, add);
  lister.List(format, block, start,
              DecodeThrough(format, block, start, HandicapStartIndex(start) + plies, moves));
  IndexLogHeader header{};
  header.Bytes.Set(static_cast<std::uint32_t>(bytes.size() + 8));
  header.Game.Set(static_cast<std::uint32_t>(game));
  header.Positions.Set(positions);
  header.Flags = GameFlags(keys.Result, start);
  std::memcpy(bytes.data(), &header, sizeof header);
  Le64 sum;
  sum.Set(Checksum64(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  bytes.append(reinterpret_cast<const char*>(sum.Bytes), 8);
  const std::uint64_t at = file.LogOffset() + trailer.LogBytes.Get();
  trailer.LogBytes.Set(trailer.LogBytes.Get() + bytes.size());
  trailer.Positions.Set(trailer.Positions.Get() + positions);
  SetStamp(now, trailer);
  SealTrailer(trailer);
  bytes.append(reinterpret_cast<const char*>(&trailer), sizeof trailer);
  // The record and the new trailer in one write over the old trailer: a write cut short
  // leaves a trailer that fails its checksum, and the index is ignored.
  file.Close();
  RecordFile out;
  return out.Open(path, RecordFile::Mode::kReadWrite) &&
         out.WriteAt(at, bytes.data(), bytes.size()) && out.Sync();
}

}  // namespace

int RegisterGameIndexed(const DatabaseFormat& format, const DatabasePaths& paths,
                        const DatabaseNames& names, const GameRecord& record, int& number,
                        std::string& message) {
  const bool current = IndexIsCurrent(format, paths);
  if (RegisterGame(format, paths, names, record, number, message) != 0) return 1;
  if (current) (void)AppendToIndex(format, paths, number);
  return 0;
}

int RegisterGameIndexed(const DatabaseFormat& format, const DatabasePaths& paths,
                        const std::string& folder, const GameRecord& record, int& number,
                        std::string& message) {
  DatabaseNames names;
  LoadDatabaseNames(format, folder, names);
  return RegisterGameIndexed(format, paths, names, record, number, message);
}

}  // namespace shogi
