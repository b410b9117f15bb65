// shogi-tool db: Kisen (.idx) and Tarvel (.mix) databases from the command line: create,
// count, register record files as new games or over a game, print a game; sort, check for
// duplicates, merge, delete, remove, swap, bulk-rename; import a yearbook.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "database/bulk_rename.h"
#include "database/date_sort.h"
#include "database/duplicates.h"
#include "database/game_database.h"
#include "database/maintenance.h"
#include "database/merge.h"
#include "database/yearbook.h"
#include "platform/cp932.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

constexpr const char kName[] = "db";

// The database argument and what it names.
struct DatabaseArgument {
  const DatabaseFormat* Format = nullptr;
  DatabasePaths Paths;
};

// The program folder from "--folder DIR" (removed from `args`), else the current directory.
std::string TakeFolder(std::vector<std::string>& args) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] != "--folder") continue;
    std::string folder = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
  }
  return "";
}

// A game number: decimal digits naming 1 or more; 0 for anything else.
int GameNumberOf(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

int Failed(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitFailed;
}

// Reads a record file of a format of the table; the message goes to standard error.
bool ReadRecordArgument(const std::string& format_name, const std::string& path, GameRecord& record,
                        int& status) {
  const RecordFormatRow* format = ToolFormat(format_name, Readable);
  if (format == nullptr) {
    status = UsageError(kName, "FORMAT must be " + ToolNames(Readable));
    return false;
  }
  status = kExitFailed;
  return ReadToolRecord(*format, path, record);
}

int Create(const DatabaseArgument& db) {
  std::string message;
  switch (ProbeDatabase(*db.Format, db.Paths, message)) {
    case DatabaseState::kSound:  // an existing database is only chosen
      return kExitOk;
    case DatabaseState::kDamaged:
      return Failed(message);
    case DatabaseState::kMissing:
      break;
  }
  return CreateDatabase(*db.Format, db.Paths, message) == 0 ? kExitOk : Failed(message);
}

int Count(const DatabaseArgument& db) {
  int count = 0;
  std::string message;
  if (DatabaseGameCount(*db.Format, db.Paths, count, message) != 0) return Failed(message);
  std::printf("%d\n", count);
  return kExitOk;
}

// Registers each file as a new game, printing its number; stops at the first failure.
int Add(const DatabaseArgument& db, const std::string& folder,
        const std::vector<std::string>& args) {
  DatabaseNames names;
  LoadDatabaseNames(*db.Format, folder, names);
  static GameRecord record;
  for (std::size_t i = 1; i < args.size(); ++i) {
    int status = kExitOk;
    if (!ReadRecordArgument(args[0], args[i], record, status)) return status;
    int number = 0;
    std::string message;
    if (RegisterGame(*db.Format, db.Paths, names, record, number, message) != 0)
      return Failed(message);
    std::printf("%d\n", number);
  }
  return kExitOk;
}

int Put(const DatabaseArgument& db, const std::string& folder, int number,
        const std::vector<std::string>& args) {
  static GameRecord record;
  int status = kExitOk;
  if (!ReadRecordArgument(args[0], args[1], record, status)) return status;
  std::string message;
  if (RegisterGame(*db.Format, db.Paths, folder, record, number, message) != 0)
    return Failed(message);
  return kExitOk;
}

int Get(const DatabaseArgument& db, const std::string& folder, int number) {
  static GameRecord record;
  ResetGameRecord(record);
  std::string message;
  if (ReadGame(*db.Format, db.Paths, folder, number, record, message) == 0) return Failed(message);
  PrintRecord(record);
  const auto start = MatchHandicap(record.InitialPosition, record.StartIndex, db.Format->Scheme);
  std::printf("date: %04d-%02d-%02d\n", record.Year, record.Month, record.Day);
  std::printf("tournament: %s\n", Utf8(TrimRight(FieldText(record.Tournament))).c_str());
  std::printf("opening: %s\n", Utf8(TrimRight(FieldText(record.Opening))).c_str());
  std::printf("game: %d\n", record.GameNumber);
  std::printf("handicap: %d\n", start ? HandicapNumber(*start, db.Format->Scheme) : 0);
  return kExitOk;
}

// The whole-database commands answer their questions yes; a routine's message goes to
// standard error on a failure, to standard output on a success that has one.
int Finished(int rc, const std::string& message) {
  if (rc != 0) return Failed(message);
  if (!message.empty()) std::printf("%s\n", message.c_str());
  return kExitOk;
}

int Dupes(const DatabaseArgument& db) {
  std::vector<DuplicatePair> pairs;
  std::string message;
  const int rc = FindDuplicates(*db.Format, db.Paths, {}, pairs, message);
  if (rc != 0 && message != kMessageNoDuplicates) return Failed(message);
  for (const auto& [earlier, later] : pairs) std::printf("%d %d\n", earlier, later);
  return kExitOk;
}

// rename DB (--player|--tournament|--opening) OLD NEW: list numbers, or for Tarvel players
// names (UTF-8 on the command line).
int Rename(const DatabaseArgument& db, const std::vector<std::string>& args) {
  static constexpr struct {
    const char* Option;
    RenamedList List;
  } kLists[] = {{"--player", RenamedList::kPlayers},
                {"--tournament", RenamedList::kTournaments},
                {"--opening", RenamedList::kOpenings}};
  const auto* list = std::find_if(std::begin(kLists), std::end(kLists),
                                  [&](const auto& l) { return args[0] == l.Option; });
  if (list == std::end(kLists))
    return UsageError(kName, "rename takes --player, --tournament or --opening");
  int changed = 0;
  std::string message;
  const ListNumberFields& fields = RenamedFields(*db.Format, list->List);
  if (fields.Offsets[0] < 0) {  // names in the records
    std::string old_name, new_name;
    if (!Utf8ToCp932(args[1], old_name) || !Utf8ToCp932(args[2], new_name))
      return UsageError(kName, "OLD and NEW must be names cp932 can write");
    return Finished(
        RenamePlayerNames(*db.Format, db.Paths, old_name, new_name, {}, changed, message), message);
  }
  int old_number = 0, new_number = 0;
  std::string caption;
  if (CheckRenameNumbers(args[1], args[2], fields.Highest, old_number, new_number, message,
                         caption) != RenameInput::kAccepted)
    return Failed(message);
  return Finished(
      RenameNumbers(*db.Format, db.Paths, list->List, old_number, new_number, {}, changed, message),
      message);
}

int Yearbook(const std::vector<std::string>& args) {
  if (args.size() != 5) return UsageError(kName, "wrong number of arguments for 'yearbook'");
  const YearbookFiles files{args[1], args[2], args[3], args[4]};
  if (!YearbookNamesComplete(files) || FormatOfIndexPath(files.Database) != &kTarvelFormat)
    return UsageError(kName, "yearbook takes three files and a Tarvel database (.mix)");
  int converted = 0;
  std::string message;
  return Finished(ImportYearbook(files, converted, message), message);
}

// The whole-database commands after DB; nullopt for another operation.
std::optional<int> RunRewrite(const std::string& operation, const DatabaseArgument& db,
                              const std::vector<std::string>& rest) {
  const DatabaseFormat& format = *db.Format;
  std::string message;
  if (operation == "sort") {
    if (!rest.empty() && rest[0] != "--descending")
      return UsageError(kName, "sort takes only --descending");
    return Finished(SortDatabase(format, db.Paths, !rest.empty(), {}, message), message);
  }
  if (operation == "dupes") return Dupes(db);
  if (operation == "merge")
    return Finished(MergeDatabase(format, db.Paths, rest[0], {}, message), message);
  if (operation == "merge-distributed") {
    if (!format.MergesDistributedData)
      return UsageError(kName, "merge-distributed takes a Kisen database (.idx)");
    return Finished(MergeDistributed(format, db.Paths, rest[0], {}, message), message);
  }
  if (operation == "delete") {
    const int number = GameNumberOf(rest[0]);
    if (number == 0) return UsageError(kName, "N must be a game number from 1");
    return Finished(DeleteGame(format, db.Paths, number, {}, message), message);
  }
  if (operation == "remove") {
    return Finished(RemoveDatabase(format, db.Paths.Index(format), {}, message), message);
  }
  if (operation == "swap") {
    if (!format.SwapsGames) return UsageError(kName, "swap takes a Tarvel database (.mix)");
    const int a = GameNumberOf(rest[0]), b = GameNumberOf(rest[1]);
    if (a == 0 || b == 0) return UsageError(kName, "A and B must be game numbers from 1");
    return Finished(SwapGames(format, db.Paths, a, b, {}, message), message);
  }
  if (operation == "rename") return Rename(db, rest);
  return std::nullopt;
}

int RunDb(const std::vector<std::string>& all) {
  std::vector<std::string> args = all;
  const std::string folder = TakeFolder(args);
  if (args.size() < 2) return UsageError(kName, "expected an operation and DB");
  const std::string& operation = args[0];
  if (operation == "yearbook") return Yearbook(args);
  DatabaseArgument db;
  db.Format = FormatOfIndexPath(args[1]);
  if (db.Format == nullptr) return UsageError(kName, "DB must end in .idx or .mix");
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  // The arguments each operation takes after DB.
  struct Arity {
    const char* Operation;
    std::size_t Least, Most;
  };
  static constexpr Arity kArities[] = {
      {"create", 0, 0}, {"count", 0, 0},  {"add", 2, SIZE_MAX},
      {"put", 3, 3},    {"get", 1, 1},    {"sort", 0, 1},
      {"dupes", 0, 0},  {"merge", 1, 1},  {"merge-distributed", 1, 1},
      {"delete", 1, 1}, {"remove", 0, 0}, {"swap", 2, 2},
      {"rename", 3, 3}};
  const Arity* arity = nullptr;
  for (const Arity& a : kArities) {
    if (operation == a.Operation) arity = &a;
  }
  if (arity == nullptr) return UsageError(kName, "unknown operation '" + operation + "'");
  if (rest.size() < arity->Least || rest.size() > arity->Most)
    return UsageError(kName, "wrong number of arguments for '" + operation + "'");
  const int number = GameNumberOf(rest.empty() ? "" : rest[0]);
  if ((operation == "put" || operation == "get") && number == 0)
    return UsageError(kName, "N must be a game number from 1");

  std::string message;
  if (DatabasePathsOf(args[1], db.Paths, message) != 0) return Failed(message);
  if (operation == "create") return Create(db);
  if (operation == "count") return Count(db);
  if (operation == "add") return Add(db, folder, rest);
  if (const std::optional<int> status = RunRewrite(operation, db, rest)) return *status;
  if (operation == "put") return Put(db, folder, number, {rest[1], rest[2]});
  return Get(db, folder, number);
}

const CommandRegistration kDb(
    {"db",
     "[--folder DIR] create DB | count DB | add DB FORMAT FILE... | put DB N FORMAT FILE | "
     "get DB N | sort DB [--descending] | dupes DB | merge DB SOURCE | "
     "merge-distributed DB SOURCE | delete DB N | remove DB | swap DB A B | "
     "rename DB (--player|--tournament|--opening) OLD NEW | yearbook FILE1 FILE2 FILE3 OUT.mix",
     "Kisen (.idx) and Tarvel (.mix) databases: create an empty pair, count the games, "
     "register record files as new games (printing their numbers) or over game N, print game N "
     "as 'read' does with its date, tournament, opening, game number and handicap code; sort "
     "by date, list duplicate pairs 'I D', append SOURCE, merge distributed Kisen data, delete "
     "game N, remove both files, swap two Tarvel games, replace a list number (Tarvel players: "
     "a name) throughout the index, convert yearbook files into a new Tarvel database; "
     "questions are answered yes; the name lists come from DIR, else the current directory",
     RunDb});

}  // namespace
}  // namespace shogi::tool
