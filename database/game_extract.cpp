// The list's 新規作成.
#include "database/game_extract.h"

#include <filesystem>
#include <system_error>

#include "database/game_database.h"
#include "database/search_list.h"
#include "platform/file_path.h"

namespace shogi {

int ExtractGames(const DatabaseFormat& format, const DatabasePaths& source,
                 const std::string& list_path, int count, std::string_view chosen,
                 const CommandHooks& hooks, std::string& message) {
  DatabasePaths target;
  if (DatabasePathsOf(chosen, target, message) != 0) return 1;
  GameDatabase from;
  if (from.Open(format, source, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) !=
      0)
    return 1;
  bool in_range = true;
  if (!ForEachSearchListEntry(list_path, count, [&](int n) {
        in_range = n >= 1 && n <= from.Count();
        return in_range;
      })) {
    message = in_range ? kMessageMalformed : kMessageNumberBeyondCount;
    return 1;
  }
  std::error_code error;
  switch (ProbeDatabase(format, target, message)) {
    case DatabaseState::kMissing:
      // A move file without its index may be a user's record file: never written over.
      if (std::filesystem::exists(FilePath(target.Moves(format)), error)) {
        message = kMessageCannotCreate;
        return 1;
      }
      break;
    case DatabaseState::kSound:
    case DatabaseState::kTruncated:
    case DatabaseState::kDamaged:
      if (!hooks.Confirmed(kQuestionDatabaseExists)) {
        message.clear();
        return 1;
      }
      break;
  }
  // The source replaced by its own list would leave the list naming games that moved.
  if (SameDatabase(format, source, target)) {
    message = kMessageCannotCreate;
    return 1;
  }
  DatabaseRewrite to;
  if (static_cast<std::uint32_t>(count) > kMaxGameCount || !to.Begin(format, target) ||
      !to.Header(nullptr, static_cast<std::uint32_t>(count))) {
    message = kMessageCannotCreate;
    return 1;
  }
  bool copied = true;
  if (!ForEachSearchListEntry(list_path, count, [&](int n) {
        copied = CopyGames(from, n, n, to, hooks, message) == 0;
        return copied;
      })) {
    if (copied) message = kMessageMalformed;
    return 1;
  }
  if (!to.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

}  // namespace shogi
