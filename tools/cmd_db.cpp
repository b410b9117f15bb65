// shogi-tool db: Kisen (.idx) and Tarvel (.mix) databases from the command line: create,
// count, register record files as new games or over a game, print a game, convert into the
// other format, write the .JSK opening book.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "database/conversion.h"
#include "database/game_database.h"
#include "database/jsk_book.h"
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

// Converts the database into the other format beside it, answering the overwrite question
// with yes and the three list questions as --write-lists says; prints the number of games.
int Convert(const DatabaseArgument& db, const std::string& folder,
            const std::vector<std::string>& rest) {
  if (!rest.empty() && rest[0] != "--write-lists")
    return UsageError(kName, "unknown option '" + rest[0] + "'");
  const DatabaseConversion& conversion = ConversionFrom(*db.Format);
  GameDatabase source;
  std::string message;
  int games = 0;
  if (OpenConversionSource(conversion, db.Paths, source, message) != 0 ||
      ConvertDatabase(conversion, source, db.Paths, folder, games, message) != 0)
    return Failed(message);
  for (const ConvertedList& list : kConvertedLists) {
    if (!rest.empty() && WriteConvertedList(list, folder, message) != 0) return Failed(message);
  }
  std::printf("%d\n", games);
  return kExitOk;
}

// Writes the .JSK opening book of a Tarvel database.
int Jsk(const DatabaseArgument& db, const std::string& out) {
  if (db.Format != &kTarvelFormat) return UsageError(kName, "jsk needs a Tarvel (.mix) database");
  GameDatabase source;
  std::string message;
  if (OpenJskSource(db.Paths, source, message) != 0 || WriteJskBook(source, out, message) != 0)
    return Failed(message);
  return kExitOk;
}

int RunDb(const std::vector<std::string>& all) {
  std::vector<std::string> args = all;
  const std::string folder = TakeFolder(args);
  if (args.size() < 2) return UsageError(kName, "expected an operation and DB");
  const std::string& operation = args[0];
  DatabaseArgument db;
  db.Format = FormatOfIndexPath(args[1]);
  if (db.Format == nullptr) return UsageError(kName, "DB must end in .idx or .mix");
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  // The arguments each operation takes after DB.
  struct Arity {
    const char* Operation;
    std::size_t Least, Most;
  };
  static constexpr Arity kArities[] = {{"create", 0, 0}, {"count", 0, 0}, {"add", 2, SIZE_MAX},
                                       {"put", 3, 3},    {"get", 1, 1},   {"convert", 0, 1},
                                       {"jsk", 1, 1}};
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
  if (operation == "put") return Put(db, folder, number, {rest[1], rest[2]});
  if (operation == "convert") return Convert(db, folder, rest);
  if (operation == "jsk") return Jsk(db, rest[0]);
  return Get(db, folder, number);
}

const CommandRegistration kDb(
    {"db",
     "[--folder DIR] create DB | count DB | add DB FORMAT FILE... | put DB N FORMAT FILE | "
     "get DB N | convert DB [--write-lists] | jsk DB OUT.jsk",
     "Kisen (.idx) and Tarvel (.mix) databases: create an empty pair, count the games, "
     "register record files as new games (printing their numbers) or over game N, print game N "
     "as 'read' does with its date, tournament, opening, game number and handicap code, convert "
     "a database into the other format beside it (printing the number of games; "
     "--write-lists also writes 棋士名.DAT, 棋戦.DAT and 戦型.DAT from the Kisen lists), write "
     "the .JSK opening book of a Tarvel database; the name lists come from DIR, else the "
     "current directory",
     RunDb});

}  // namespace
}  // namespace shogi::tool
