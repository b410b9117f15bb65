// The position explorer: for one position (board, hands and side to move), the games of a
// database that reach it within their first N moves, by any move order; for each move
// played from it (after its first occurrence in a game) how many games and how they ended;
// and the newest of those games. This file answers by one pass over the database, reusing
// the search's quick replay and position test; position_index.h answers from an index.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "database_files/database_format.h"
#include "database_files/position_pattern.h"
#include "rules/position.h"

namespace shogi {

constexpr int kDefaultExplorerPlies = 60;
constexpr int kMaxExplorerPlies = 256;  // a move block holds no more
constexpr int kDefaultExplorerGames = 20;

// The message of a pass that its caller stopped (UTF-8).
inline constexpr const char kMessageExplorerStopped[] = "局面統計を中止しました。";

// What a long loop tells its caller, `done` of `total` steps, and asks it: false stops the
// loop. An empty function lets it run to its end.
using LoopProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

struct ExplorerQuery {
  Position Target;  // the board and both hands; the king squares are not compared
  Side ToMove = kFirst;
  int Plies = kDefaultExplorerPlies;  // reached after at most this many moves (0..256)
  int Games = kDefaultExplorerGames;  // the newest games to list (0 or more)
};

// How a stored result counts in the move table: 1 and 5 are the first player's wins, 2 and 6
// the second player's, every other code is in the rest.
enum class ResultShare : std::uint8_t { kFirstWins = 0, kSecondWins = 1, kOther = 2 };
constexpr int kResultShares = 3;
ResultShare ShareOfResult(int stored_result);

struct ExplorerMove {
  MoveCode Move;
  int Games = 0;
  int Shares[kResultShares] = {};  // games by ResultShare
};

struct ExplorerGame {
  int Number = 0;
  int Ply = 0;  // the record's ply where the position stands, as a loaded game shows it
  int Year = 0, Month = 0, Day = 0;
  int Result = 0;  // as stored
};

struct ExplorerAnswer {
  int Games = 0;                     // the games that reach the position
  std::vector<ExplorerMove> Moves;   // most games first; equal counts by the move's USI text
  std::vector<ExplorerGame> Newest;  // newest first; equal dates: the higher number first
};

// Whether `a` is listed before `b` among the newest games.
bool NewerGame(const ExplorerGame& a, const ExplorerGame& b);
// Puts the moves in the answer's order.
void SortExplorerMoves(std::vector<ExplorerMove>& moves);

// The query's position compiled for the quick test of a replay.
class ExplorerTarget {
 public:
  explicit ExplorerTarget(const ExplorerQuery& query);

  const ExplorerQuery& Query() const { return query_; }
  const PositionPattern& Pattern() const { return pattern_; }
  // Whether `pos` with the side of `ply` to move is the position, given the pattern's count
  // of `pos` (the board is compared through the count).
  bool Matches(int ply, const Position& pos, int count) const;

 private:
  ExplorerQuery query_;
  PositionPattern pattern_;
};

// Where the game of `block`, from `start`, first stands on the target within `plies` moves
// (the positions before each move and after the last one), as the format's decoding reads
// the game: true with the ply and the move played from it (the end marker when the game ends
// there); false when it never does.
[[nodiscard]] bool FirstOccurrence(const DatabaseFormat& format, const std::uint8_t* block,
                                   Handicap start, const ExplorerTarget& target, int plies,
                                   int& ply, MoveCode& next);

// The answer by one pass over the database's games, records 1..N in order (a damaged
// database: its whole games). `progress` hears of every 1024 games. 0; or 1 with a message:
// GameDatabase::Open's, "ファイルに異常があります。" for records that cannot be read, or
// "局面統計を中止しました。" when `progress` stopped it.
[[nodiscard]] int ExploreByScan(const DatabaseFormat& format, const DatabasePaths& paths,
                                const ExplorerQuery& query, const LoopProgress& progress,
                                ExplorerAnswer& answer, std::string& message);

// The format's decoding of `block` from `start` no further than the move of ply `last` (the
// slots after it are not read): the ply where it stops, at most last + 1, with `moves` as
// DecodeBlock fills them.
int DecodeThrough(const DatabaseFormat& format, const std::uint8_t* block, Handicap start, int last,
                  MoveCode (&moves)[kMaxMoves]);

// The date and result of a stored index record, for the game list of an answer.
void ReadExplorerGame(const DatabaseFormat& format, const std::uint8_t* record, ExplorerGame& game);

}  // namespace shogi
