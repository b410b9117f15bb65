// The search pass over a database and the menu's whole search.
#include "database/game_search.h"

#include <algorithm>
#include <numeric>

#include "database/game_database.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "platform/message_pump.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// Games read at once: 40 KB of index records at most and, for a position search, 512 KB
// of move blocks, so that the files are read in large sequential pieces.
constexpr int kGamesPerRead = 1024;

}  // namespace

std::string SearchOutcomeMessage(int count) {
  if (count <= 0) return kMessageNothingFound;
  return "　　全部で" + std::to_string(count) + "件存在します。";
}

int SearchGames(const DatabaseFormat& format, const DatabasePaths& paths, const SearchTerms& terms,
                const PositionPattern& pattern, std::vector<int>& found, std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0) return 1;
  found.clear();
  const int count = db.Count();
  if (!terms.Any() && !pattern.Active()) {
    found.resize(static_cast<std::size_t>(count));
    std::iota(found.begin(), found.end(), 1);
    return 0;
  }
  const std::size_t record_bytes = format.IndexRecordBytes;
  std::vector<std::uint8_t> records(kGamesPerRead * record_bytes);
  std::vector<std::uint8_t> blocks(pattern.Active() ? kGamesPerRead * kMoveBlockBytes : 0);
  for (int first = 1; first <= count; first += kGamesPerRead) {
    const int n = std::min(kGamesPerRead, count - first + 1);
    if (!db.ReadIndexRange(first, n, records.data())) {
      message = kMessageMalformed;
      return 1;
    }
    bool blocks_read = false;
    for (int i = 0; i < n; ++i) {
      PumpMessages();
      const SearchKeys keys =
          format.SearchKeysOf(&records[static_cast<std::size_t>(i) * record_bytes]);
      if (!terms.Matches(keys)) continue;
      if (pattern.Active()) {
        // The blocks are read only for a piece of the file where a game passed the record
        // conditions.
        if (!blocks_read && !db.ReadBlockRange(first, n, blocks.data())) {
          message = kMessageMalformed;
          return 1;
        }
        blocks_read = true;
        const Handicap start = HandicapOfStoredCode(format.Scheme, keys.HandicapCode);
        if (format.FindPosition(&blocks[static_cast<std::size_t>(i) * kMoveBlockBytes], start,
                                pattern) < 0)
          continue;
      }
      found.push_back(first + i);
    }
  }
  return 0;
}

int RunSearch(const DatabaseFormat& format, const std::string& folder,
              const SearchConditions& conditions, const SearchDates& dates,
              DatabaseSelection& selection, ListSettings& settings, std::vector<int>& found,
              std::string& message) {
  const SearchTerms terms = ResolveSearchTerms(format, folder, conditions, dates);
  const PositionPattern pattern(conditions.Mode, conditions.SearchPosition);
  if (SearchGames(format, selection.Paths, terms, pattern, found, message) != 0 ||
      WriteSearchList(SearchListPath(format, folder), found, message) != 0)
    return 1;
  selection.SearchCount = static_cast<int>(found.size());
  if (pattern.Active()) settings.Columns[0] = kColumnMove;
  return 0;
}

}  // namespace shogi
