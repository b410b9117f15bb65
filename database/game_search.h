// The search of a database (menu 検索条件): one pass over its games, records 1..N in order,
// keeping those that pass the record conditions and, with a position mode, pass through the
// searched position before one of their moves. The kept numbers become the search list.
//
// The window, after the search dialog's OK (search_conditions.h): InteractionState 4 and the
// status text "    検索中" while RunSearch runs; then on 1 the message in a box captioned
// "検索"; on 0 SearchOutcomeMessage(count) in a box captioned "検索", and when the count
// is above 0 the list (game_list.h) opens.
#pragma once

#include <functional>
#include <string>

#include "database/game_list.h"
#include "database/search_conditions.h"
#include "database_files/database_format.h"
#include "database_files/position_pattern.h"

namespace shogi {

inline constexpr const char kSearchingStatus[] = "    検索中";
inline constexpr const char kSearchCaption[] = "検索";
inline constexpr const char kMessageNothingFound[] = "該当データは存在しません。";

// "　　全部で%d件存在します。" for a count above 0, else "該当データは存在しません。" (UTF-8).
std::string SearchOutcomeMessage(int count);

// The games of the database at `paths` that pass `terms` and, when `pattern` is active, whose
// replay from the start position of their handicap code reaches the pattern before one of
// their moves, up to ply 255 (the position after the last move is never tested), each handed
// to `keep` in ascending order as it is found. Without any condition every game 1..N is
// kept. A damaged database is searched up to its whole games. PumpMessages() runs once for
// every game examined. 0; or 1 with a message of GameDatabase::Open ("ファイルに異常が
// あります。" also for a file that cannot be read), or "ファイルが作成できません。" when
// `keep` answered false.
[[nodiscard]] int SearchGames(const DatabaseFormat& format, const DatabasePaths& paths,
                              const SearchTerms& terms, const PositionPattern& pattern,
                              const std::function<bool(int game)>& keep, std::string& message);

// The whole search of the menu: the kept `conditions` (with the dates CheckSearchDates gave)
// resolved for the chosen database with the lists of `folder` (the program folder), the
// search, and its list written to the database's search list file in `folder` as the games
// are found. Then SearchCount is `found`, the number found, and after a position search the
// first list column is 指し手. 0; or 1 with a message (SearchGames', or "ファイルが作成でき
// ません。" when the list cannot be written) and SearchCount, the list file and `settings`
// untouched.
[[nodiscard]] int RunSearch(const DatabaseFormat& format, const std::string& folder,
                            const SearchConditions& conditions, const SearchDates& dates,
                            DatabaseSelection& selection, ListSettings& settings, int& found,
                            std::string& message);

}  // namespace shogi
