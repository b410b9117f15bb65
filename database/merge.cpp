// ﾌｧｲﾙ合併 and 配布ﾃﾞｰﾀ合併 as whole rewrites of the current database.
#include "database/merge.h"

#include "database/date_sort.h"
#include "database/game_database.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// The date of game n as the sort's key, and its year; false when the record cannot be read.
bool DateOf(const GameDatabase& db, int n, std::int32_t& key, int& year) {
  std::uint8_t record[kMaxIndexRecordBytes];
  if (!db.ReadIndex(n, record)) return false;
  const IndexFields fields = db.Format().ReadIndex(record, DatabaseNames{});
  key = DateKey(fields.Year, fields.Month, fields.Day);
  year = fields.Year;
  return true;
}

// The source paths of a merge: a well-formed name, not the current database's files.
int SourcePaths(const DatabaseFormat& format, const DatabasePaths& paths, std::string_view chosen,
                DatabasePaths& source, std::string& message) {
  if (DatabasePathsOf(chosen, source, message) != 0) return 1;
  if (SameDatabase(format, paths, source)) {
    message = kMessageSameDatabase;
    return 1;
  }
  return 0;
}

// Asks the question; an answer no ends the command with no message.
bool Confirmed(const CommandHooks& hooks, std::string& message) {
  if (hooks.Confirmed(kQuestionMerge)) return true;
  message.clear();
  return false;
}

}  // namespace

std::string MergeWarning(const DatabaseFormat& format, const DatabasePaths& paths) {
  return Printed(format.MergeWarning, paths.Base.c_str());
}

int MergeDatabase(const DatabaseFormat& format, const DatabasePaths& paths, std::string_view source,
                  const CommandHooks& hooks, std::string& message) {
  DatabasePaths from;
  if (SourcePaths(format, paths, source, from, message) != 0) return 1;
  std::string ignored;
  if (ProbeDatabase(format, from, ignored) == DatabaseState::kMissing) {
    message = format.MissingMessage;
    return 1;
  }
  if (!Confirmed(hooks, message)) return 1;
  hooks.Show(kStatusMerging);
  GameDatabase target, added;
  if (target.Open(format, paths, RecordFile::Mode::kRead, message) != 0 ||
      added.Open(format, from, RecordFile::Mode::kRead, message) != 0)
    return 1;
  const std::uint64_t total = static_cast<std::uint64_t>(target.Count()) + added.Count();
  std::uint8_t header[kMaxIndexRecordBytes];
  DatabaseRewrite rewrite;
  if (total > kMaxGameCount || !target.ReadIndex(0, header) || !rewrite.Begin(format, paths) ||
      !rewrite.Header(header, static_cast<std::uint32_t>(total))) {
    message = kMessageCannotCreate;
    return 1;
  }
  if (CopyGames(target, 1, target.Count(), rewrite, hooks, message) != 0 ||
      CopyGames(added, 1, added.Count(), rewrite, hooks, message) != 0)
    return 1;
  target.Close();
  if (!rewrite.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

int MergeDistributed(const DatabaseFormat& format, const DatabasePaths& paths,
                     std::string_view distributed, const CommandHooks& hooks,
                     std::string& message) {
  DatabasePaths from;
  if (SourcePaths(format, paths, distributed, from, message) != 0) return 1;
  hooks.Show(kStatusCheckingDistributed);
  const auto fail = [&](const char* text) {
    message = text;
    return 1;
  };
  GameDatabase added, current;
  std::string ignored;
  if (added.Open(format, from, RecordFile::Mode::kRead, ignored) != 0)
    return fail(kMessageDistributedUnopenable);
  const int count = added.Count();
  if (count <= 0) return fail(kMessageDistributedEmpty);
  std::int32_t key = 0, previous = 0;
  int year = 0;
  if (!DateOf(added, 1, key, year)) return fail(kMessageDistributedUnopenable);
  if (year <= 1990) return fail(kMessageDistributedTooOld);
  if (!DateOf(added, count, key, year)) return fail(kMessageDistributedUnopenable);
  if (year >= 2050) return fail(kMessageDistributedTooNew);
  // Newest first: no game may be later than the one before it (equal dates may follow).
  for (int n = 1; n <= count; ++n) {
    if (!DateOf(added, n, key, year)) return fail(kMessageDistributedUnopenable);
    if (n > 1 && key > previous) return fail(kMessageDistributedUnsorted);
    previous = key;
    if (hooks.Stopped(n, count, message)) return 1;
  }
  const std::int32_t oldest = previous;
  if (current.Open(format, paths, RecordFile::Mode::kRead, ignored) != 0)
    return fail(kMessageCurrentUnopenable);
  previous = DateKey(9999, 0, 0);
  int first_kept = 0;  // the first current game older than the distributed data
  for (int n = 1; n <= current.Count(); ++n) {
    if (!DateOf(current, n, key, year)) return fail(kMessageCurrentUnopenable);
    if (key > previous) return fail(kMessageCurrentUnsorted);
    if (first_kept == 0 && key < oldest) first_kept = n;
    previous = key;
    if (hooks.Stopped(n, current.Count(), message)) return 1;
  }
  if (first_kept == 0) return fail(kMessageNothingKept);

  if (!Confirmed(hooks, message)) return 1;
  hooks.Show(kStatusMergingDistributed);
  const std::uint64_t total =
      static_cast<std::uint64_t>(count) + (current.Count() - first_kept + 1);
  DatabaseRewrite rewrite;
  if (total > kMaxGameCount || !rewrite.Begin(format, paths) ||
      !rewrite.Header(nullptr, static_cast<std::uint32_t>(total)))
    return fail(kMessageCannotCreate);
  if (CopyGames(added, 1, count, rewrite, hooks, message) != 0 ||
      CopyGames(current, first_kept, current.Count(), rewrite, hooks, message) != 0)
    return 1;
  current.Close();
  if (!rewrite.Commit()) return fail(kMessageCannotCreate);
  message = kMessageDistributedMerged;
  return 0;
}

}  // namespace shogi
