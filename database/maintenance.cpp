// Deleting a game, removing a database and swapping two games, as whole rewrites.
#include "database/maintenance.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "database/game_database.h"
#include "database/search_list.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// Game numbers first..last (an empty range when last < first).
struct GameRange {
  int First, Last;
};

// Rewrites the database at `paths`, open as `db`, as `count` games: the ranges of db's games
// in the order given. The header keeps its other bytes.
int RewriteRanges(const DatabaseFormat& format, const DatabasePaths& paths, GameDatabase& db,
                  int count, std::initializer_list<GameRange> ranges, const CommandHooks& hooks,
                  std::string& message) {
  std::uint8_t header[kMaxIndexRecordBytes];
  if (!db.ReadIndex(0, header)) {
    message = kMessageMalformed;
    return 1;
  }
  DatabaseRewrite rewrite;
  if (!rewrite.Begin(format, paths) || !rewrite.Header(header, static_cast<std::uint32_t>(count))) {
    message = kMessageCannotCreate;
    return 1;
  }
  for (const GameRange& range : ranges) {
    if (CopyGames(db, range.First, range.Last, rewrite, hooks, message) != 0) return 1;
  }
  db.Close();
  if (!rewrite.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

bool Confirmed(const CommandHooks& hooks, const std::string& question, std::string& message) {
  if (hooks.Confirmed(question)) return true;
  message.clear();
  return false;
}

}  // namespace

int DeleteGame(const DatabaseFormat& format, const DatabasePaths& paths, int number,
               const CommandHooks& hooks, std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0) return 1;
  if (number < 1 || number > db.Count()) {
    message = kMessageNumberBeyondCount;
    return 1;
  }
  if (!Confirmed(hooks, Printed(kQuestionDeleteGame, number), message)) return 1;
  return RewriteRanges(format, paths, db, db.Count() - 1,
                       {{1, number - 1}, {number + 1, db.Count()}}, hooks, message);
}

int RenumberListAfterDeletion(const std::string& path, int deleted, int& length, int& list_top,
                              std::string& message) {
  SearchListWriter renumbered;
  if (!renumbered.Open(path) ||
      !ForEachSearchListEntry(
          path, length,
          [&](int n) { return n == deleted || renumbered.Add(n > deleted ? n - 1 : n); }) ||
      !renumbered.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  length = static_cast<int>(renumbered.Count());
  if (list_top + kListPageLines > length) list_top = std::max(length - kListPageLines, 0);
  return 0;
}

int RemoveDatabase(const DatabaseFormat& format, std::string_view chosen, const CommandHooks& hooks,
                   std::string& message) {
  DatabasePaths paths;
  if (DatabasePathsOf(chosen, paths, message) != 0) return 1;
  if (ProbeDatabase(format, paths, message) == DatabaseState::kMissing) {
    message = format.MissingMessage;
    return 1;
  }
  if (!Confirmed(hooks, kQuestionRemoveDatabase, message)) return 1;
  DatabaseRewrite removal;
  if (!removal.Begin(format, paths, DatabaseRewrite::Files::kNone) || !removal.RemoveDatabase()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

int CheckSwapNumbers(int a, int b, int count, std::string& message) {
  if (a < 1 || b < 1 || a > count || b > count) {
    message = kMessageNumberBeyondCount;
    return 1;
  }
  if (a == b) {
    message = kMessageSameNumber;
    return 1;
  }
  return 0;
}

int SwapGames(const DatabaseFormat& format, const DatabasePaths& paths, int a, int b,
              const CommandHooks& hooks, std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0 ||
      CheckSwapNumbers(a, b, db.Count(), message) != 0)
    return 1;
  if (!Confirmed(hooks, Printed(kQuestionSwap, a, b), message)) return 1;
  const int low = std::min(a, b), high = std::max(a, b);
  return RewriteRanges(
      format, paths, db, db.Count(),
      {{1, low - 1}, {high, high}, {low + 1, high - 1}, {low, low}, {high + 1, db.Count()}}, hooks,
      message);
}

}  // namespace shogi
