// The position index of a database: the positions of the first N moves of every game,
// written beside the database on request, so that the explorer answers a position at once
// instead of replaying every game. The index remembers the database's sizes, count and
// modification times; once the database changed in any other way than by a registration
// through RegisterGameIndexed, the index is stale and ignored. A damaged index is found by
// its checksums (and each answer is checked against the games it names) and ignored too,
// so the explorer's answer is the same with and without an index.
#pragma once

#include <cstdint>
#include <string>

#include "database/position_explorer.h"
#include "database_files/database_format.h"
#include "rules/game_record.h"

namespace shogi {

inline constexpr const char kMessageNoMemory[] = "メモリが足りません。";

// The index file of a database: its index file's name and ".pix" (".PIX" for a database
// named in capitals), e.g. "games.idx.pix".
std::string PositionIndexPath(const DatabaseFormat& format, const DatabasePaths& paths);

// What the index of a build holds, and the size of its file.
struct IndexBuildReport {
  std::int64_t Positions = 0;  // positions indexed: each game once per position it reaches
  std::int64_t Distinct = 0;   // different positions
  std::uint64_t Bytes = 0;     // the index file
  int Games = 0;
};

// Writes the index of the first `plies` moves (0..256) of every game of the database (a
// damaged one: its whole games) in place of any old index, as a whole-file rewrite.
// `progress` hears how far it is. 0; or 1 with a message: GameDatabase::Open's, "ファイル
// に異常があります。" (records that cannot be read), "ファイルが作成できません。", "メモリが
// 足りません。" or "局面統計を中止しました。" (stopped; the old index stays).
[[nodiscard]] int BuildPositionIndex(const DatabaseFormat& format, const DatabasePaths& paths,
                                     int plies, const LoopProgress& progress,
                                     IndexBuildReport& report, std::string& message);

// Whether an explorer answer came from the index, and why not.
enum class IndexUse { kUsed, kMissing, kStale, kDamaged, kTooFewPlies };
// The status text of an index that is there but not used, else "" (UTF-8).
const char* IndexUseNote(IndexUse use);

// The answer from the index alone: kUsed with `answer`, or why the index cannot answer.
IndexUse ExploreFromIndex(const DatabaseFormat& format, const DatabasePaths& paths,
                          const ExplorerQuery& query, ExplorerAnswer& answer);

// The explorer's answer: from the index when it is current and holds query.Plies moves,
// else by ExploreByScan (its return and messages). `use` tells which.
[[nodiscard]] int ExplorePosition(const DatabaseFormat& format, const DatabasePaths& paths,
                                  const ExplorerQuery& query, const LoopProgress& progress,
                                  ExplorerAnswer& answer, IndexUse& use, std::string& message);

// RegisterGame (game_database.h), and when the index was current before it, the game as
// stored added to the index, which then stands for the changed database. The index is never
// a reason to fail: one that cannot be added to is left stale.
[[nodiscard]] int RegisterGameIndexed(const DatabaseFormat& format, const DatabasePaths& paths,
                                      const DatabaseNames& names, const GameRecord& record,
                                      int& number, std::string& message);
[[nodiscard]] int RegisterGameIndexed(const DatabaseFormat& format, const DatabasePaths& paths,
                                      const std::string& folder, const GameRecord& record,
                                      int& number, std::string& message);

}  // namespace shogi
