// The search pass over a database and the menu's whole search.
#include "database/game_search.h"

#include <algorithm>
#include <memory>
#include <new>

#include "database/game_database.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// Games read at once: 40 KB of index records at most and, for a position search, 512 KB
// of move blocks, so that the files are read in large sequential pieces.
constexpr int kSearchGamesPerRead = 1024;

}  // namespace

std::string SearchOutcomeMessage(int count) {
  if (count <= 0) return kMessageNothingFound;
  return "　　全部で" + std::to_string(count) + "件存在します。";
}

int SearchGames(const DatabaseFormat& format, const DatabasePaths& paths, const SearchTerms& terms,
                const PositionPattern& pattern, const std::function<bool(int game)>& keep,
                const LoopProgress& progress, std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return 1;
  const int count = db.Count();
  const auto kept = [&](int n) {
    if (keep(n)) return true;
    message = kMessageCannotCreate;
    return false;
  };
  if (!terms.Any() && !pattern.Active()) {
    for (int n = 1; n <= count; ++n) {
      if (!kept(n)) return 1;
    }
    return 0;
  }
  const std::size_t record_bytes = format.IndexRecordBytes;
  std::uint8_t records[kSearchGamesPerRead * kMaxIndexRecordBytes];
  // Without room for a piece of blocks, each game's block is read alone.
  const std::unique_ptr<std::uint8_t[]> blocks(
      pattern.Active() ? new (std::nothrow) std::uint8_t[kSearchGamesPerRead * kMoveBlockBytes]
                       : nullptr);
  std::uint8_t one_block[kMoveBlockBytes];
  for (int first = 1; first <= count; first += kSearchGamesPerRead) {
    const int n = std::min(kSearchGamesPerRead, count - first + 1);
    if (!db.ReadIndexRange(first, n, records)) {
      message = kMessageMalformed;
      return 1;
    }
    bool blocks_read = false;
    for (int i = 0; i < n; ++i) {
      if (StopRequested(progress, first + i - 1, count)) {
        message = kMessageStopped;
        return 1;
      }
      const SearchKeys keys =
          format.SearchKeysOf(&records[static_cast<std::size_t>(i) * record_bytes]);
      if (!terms.Matches(keys)) continue;
      if (pattern.Active()) {
        // The blocks are read only for a piece of the file where a game passed the record
        // conditions.
        if (blocks ? !blocks_read && !db.ReadBlockRange(first, n, blocks.get())
                   : !db.ReadBlock(first + i, one_block)) {
          message = kMessageMalformed;
          return 1;
        }
        blocks_read = true;
        const std::uint8_t* block =
            blocks ? &blocks[static_cast<std::size_t>(i) * kMoveBlockBytes] : one_block;
        const Handicap start = HandicapOfStoredCode(format.Scheme, keys.HandicapCode);
        if (format.FindPosition(block, start, pattern) < 0) continue;
      }
      if (!kept(first + i)) return 1;
    }
  }
  return 0;
}

int RunSearch(const DatabaseFormat& format, const std::string& folder,
              const SearchConditions& conditions, const SearchDates& dates,
              DatabaseSelection& selection, ListSettings& settings, int& found,
              const LoopProgress& progress, std::string& message) {
  found = 0;
  const SearchTerms terms = ResolveSearchTerms(format, folder, conditions, dates);
  const PositionPattern pattern(conditions.Mode, conditions.SearchPosition);
  SearchListWriter list;
  if (!list.Open(SearchListPath(format, folder))) {
    message = kMessageCannotCreate;
    return 1;
  }
  if (SearchGames(
          format, selection.Paths, terms, pattern, [&list](int n) { return list.Add(n); }, progress,
          message) != 0)
    return 1;
  if (!list.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  found = static_cast<int>(list.Count());
  selection.SearchCount = found;
  if (pattern.Active()) settings.Columns[0] = kColumnMove;
  return 0;
}

}  // namespace shogi
