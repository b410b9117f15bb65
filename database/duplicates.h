// The duplicate check (重複ﾁｪｯｸ): pairs of games of one database that end on the same board.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "database/database_format.h"
#include "database/database_rewrite.h"

namespace shogi {

inline constexpr const char kStatusCheckingDuplicates[] = "重複チェック中";
inline constexpr const char kMessageNoDuplicates[] = "重複データは存在しません。";
inline constexpr const char kMessageNoMemoryToCheck[] = "メモリ不足で重複チェック出来ません。";
inline constexpr const char kMessageDuplicatePairs[] = "%d組存在しました。";

// A pair of game numbers, the earlier game first.
using DuplicatePair = std::pair<int, int>;

// Finds every pair (i, d), i < d, of games whose final boards (the 81 squares after the
// whole block is replayed from the game's start position; pieces in hand do not count) are
// equal, in the order the check finds them: by d, then by i. A game equal to several
// earlier ones pairs with each. The boards are hashed and every equal hash is confirmed
// square by square. 0 with `pairs` and the message "%d組存在しました。" (at least one
// pair); or 1 with "重複データは存在しません。" (no pair, or at most one game: its moves are
// then not read), "メモリ不足で重複チェック出来ません。" or a message of
// GameDatabase::Open. Status "重複チェック中"; messages pumped once per game.
[[nodiscard]] int FindDuplicates(const DatabaseFormat& format, const DatabasePaths& paths,
                                 const CommandHooks& hooks, std::vector<DuplicatePair>& pairs,
                                 std::string& message);

}  // namespace shogi
