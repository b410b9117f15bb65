// Sorting a database by date (ソート): the order the selection-with-grouping sort gives, and
// the rewrite of both files in that order.
#pragma once

#include <cstdint>
#include <string>

#include "database/database_rewrite.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kStatusSorting[] = "　ソート中";
inline constexpr const char kMessageNoGames[] = "データ件数が0件です。";
inline constexpr const char kMessageNoMemoryToSort[] = "メモリ不足でソート出来ません。";

// The sort key of a date: (year × 256 + month) × 256 + day, in the 32-bit arithmetic the
// sort has always used (it wraps for fields no real date has; it never overflows).
std::int32_t DateKey(int year, int month, int day);

// The order of the sort of `count` games whose keys are `keys` (keys[r] for record r,
// 0-based): on return order[p] is the record that goes to place p and keys[p] its key.
// Ascending puts smaller keys first, descending larger ones. The order is exactly that of
// the sort's selection with grouping (see the .cpp), which is not a stable sort. False (and
// nothing changed) when there is no memory for its index of the keys.
[[nodiscard]] bool DateSortOrder(std::int32_t* keys, std::int32_t* order, int count,
                                 bool descending);

// ソート: rewrites the index (header as read, with its count) and the move blocks in the
// sort's order. 0; or 1 with "データ件数が0件です。", "メモリ不足でソート出来ません。",
// "ファイルが作成できません。" or a message of GameDatabase::Open, the database unchanged.
// Status "　ソート中"; messages pumped once per record.
[[nodiscard]] int SortDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                               bool descending, const CommandHooks& hooks, std::string& message);

}  // namespace shogi
