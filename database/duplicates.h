// The duplicate check (重複ﾁｪｯｸ): pairs of games of one database that end on the same board,
// written into the search list.
#pragma once

#include <cstdint>
#include <string>

#include "database/database_rewrite.h"
#include "database/search_list.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kStatusCheckingDuplicates[] = "重複チェック中";
inline constexpr const char kMessageNoDuplicates[] = "重複データは存在しません。";
inline constexpr const char kMessageNoMemoryToCheck[] = "メモリ不足で重複チェック出来ません。";
inline constexpr const char kMessageDuplicatePairs[] = "%d組存在しました。";

// Finds every pair (i, d), i < d, of games whose final boards (the 81 squares after the
// whole block is replayed from the game's start position; pieces in hand do not count) are
// equal, and writes them into the search list at `list_path` in the order the check finds
// them, by d, then by i: i and d, so that the list shows each pair on two lines. A game
// equal to several earlier ones pairs with each.
//
// The boards are hashed and every equal hash is confirmed square by square. The memory
// taken is two integers per game and fixed buffers, whatever the number of pairs: the pairs
// are counted before any is written and then go straight into the file.
//
// 0 with `pairs` and the message "%d組存在しました。" (at least one pair); or 1 with the
// list as it was and "重複データは存在しません。" (no pair, or at most one game: its moves
// are then not read), "メモリ不足で重複チェック出来ません。" (no memory for the two
// integers per game; more than `max_entries` list entries, which the count of the list
// cannot hold; or a list file that cannot be written whole) or a message of
// GameDatabase::Open. A damaged database is checked up to its whole records. Status
// "重複チェック中"; messages pumped once per game read.
[[nodiscard]] int FindDuplicates(const DatabaseFormat& format, const DatabasePaths& paths,
                                 const std::string& list_path, const CommandHooks& hooks,
                                 int& pairs, std::string& message,
                                 std::int64_t max_entries = kMaxSearchListEntries);

}  // namespace shogi
