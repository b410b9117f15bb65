// shogi-tool db: Kisen (.idx) and Tarvel (.mix) databases from the command line: create,
// count, register record files as new games or over a game, print a game, search, list; sort,
// check for duplicates, merge, delete, remove, swap, bulk-rename; import a yearbook; convert into
// the other format, write the .JSK opening book; explore a position, build the position index.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "database/bulk_rename.h"
#include "database/conversion.h"
#include "database/date_sort.h"
#include "database/duplicates.h"
#include "database/game_database.h"
#include "database/game_extract.h"
#include "database/game_list.h"
#include "database/game_search.h"
#include "database/jsk_book.h"
#include "database/maintenance.h"
#include "database/merge.h"
#include "database/position_index.h"
#include "database/search_list.h"
#include "database/yearbook.h"
#include "platform/cp932.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/record_tool.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

constexpr const char kDbName[] = "db";

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
    status = UsageError(kDbName, "FORMAT must be " + ToolNames(Readable));
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
    case DatabaseState::kTruncated:
    case DatabaseState::kDamaged:
      return Failed(message);
    case DatabaseState::kMissing:
      break;
  }
  return CreateDatabase(*db.Format, db.Paths, message) == 0 ? kExitOk : Failed(message);
}

// count (DatabaseGameCount) and repair (RepairDatabase: the count of a damaged database set
// to its whole games): the routine's count, printed.
int PrintCount(const DatabaseArgument& db,
               int (*routine)(const DatabaseFormat&, const DatabasePaths&, int&, std::string&)) {
  int count = 0;
  std::string message;
  if (routine(*db.Format, db.Paths, count, message) != 0) return Failed(message);
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
    if (RegisterGameIndexed(*db.Format, db.Paths, names, record, number, message) != 0)
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
  if (RegisterGameIndexed(*db.Format, db.Paths, folder, record, number, message) != 0)
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
  PrintRecordHeader(record, false);
  std::printf("game: %d\n", record.GameNumber);
  std::printf("handicap: %d\n", start ? HandicapNumber(*start, db.Format->Scheme) : 0);
  return kExitOk;
}

// The whole-database commands answer their questions yes; a routine's message goes to
// standard error, on a failure as on a success that has one (standard output is for data).
int Finished(int rc, const std::string& message) {
  if (rc != 0) return Failed(message);
  if (!message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
  return kExitOk;
}

// The pairs go into the search list of the folder, as the menu writes them, and are printed
// from there, a pair a line.
int Dupes(const DatabaseArgument& db, const std::string& folder) {
  const std::string list = SearchListPath(*db.Format, folder);
  int pairs = 0;
  std::string message;
  const int rc = FindDuplicates(*db.Format, db.Paths, list, {}, pairs, message);
  if (rc != 0 && message != kMessageNoDuplicates) return Failed(message);
  int earlier = 0;
  if (!ForEachSearchListEntry(list, 2 * pairs, [&earlier](int n) {
        if (earlier == 0) {
          earlier = n;
        } else {
          std::printf("%d %d\n", earlier, n);
          earlier = 0;
        }
        return true;
      }))
    return Failed(kMessageMalformed);
  std::fprintf(stderr, "%s\n", message.c_str());
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
    return UsageError(kDbName, "rename takes --player, --tournament or --opening");
  int changed = 0;
  std::string message;
  const ListNumberFields& fields = RenamedFields(*db.Format, list->List);
  if (fields.Offsets[0] < 0) {  // names in the records
    std::string old_name, new_name;
    if (!Utf8ToCp932(args[1], old_name) || !Utf8ToCp932(args[2], new_name))
      return UsageError(kDbName, "OLD and NEW must be names cp932 can write");
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
  if (args.size() != 5) return UsageError(kDbName, "wrong number of arguments for 'yearbook'");
  const YearbookFiles files{args[1], args[2], args[3], args[4]};
  if (!YearbookNamesComplete(files) || FormatOfIndexPath(files.Database) != &kTarvelFormat)
    return UsageError(kDbName, "yearbook takes three files and a Tarvel database (.mix)");
  int converted = 0;
  std::string message;
  return Finished(ImportYearbook(files, converted, {}, message), message);
}

// The whole-database commands after DB; nullopt for another operation.
std::optional<int> RunRewrite(const std::string& operation, const DatabaseArgument& db,
                              const std::string& folder, const std::vector<std::string>& rest) {
  const DatabaseFormat& format = *db.Format;
  std::string message;
  if (operation == "sort") {
    if (!rest.empty() && rest[0] != "--descending")
      return UsageError(kDbName, "sort takes only --descending");
    return Finished(SortDatabase(format, db.Paths, !rest.empty(), {}, message), message);
  }
  if (operation == "dupes") return Dupes(db, folder);
  if (operation == "merge")
    return Finished(MergeDatabase(format, db.Paths, rest[0], {}, message), message);
  if (operation == "merge-distributed") {
    if (!format.MergesDistributedData)
      return UsageError(kDbName, "merge-distributed takes a Kisen database (.idx)");
    return Finished(MergeDistributed(format, db.Paths, rest[0], {}, message), message);
  }
  if (operation == "delete") {
    const int number = GameNumberOf(rest[0]);
    if (number == 0) return UsageError(kDbName, "N must be a game number from 1");
    return Finished(DeleteGame(format, db.Paths, number, {}, message), message);
  }
  if (operation == "remove") {
    return Finished(RemoveDatabase(format, db.Paths.Index(format), {}, message), message);
  }
  if (operation == "swap") {
    if (!format.SwapsGames) return UsageError(kDbName, "swap takes a Tarvel database (.mix)");
    const int a = GameNumberOf(rest[0]), b = GameNumberOf(rest[1]);
    if (a == 0 || b == 0) return UsageError(kDbName, "A and B must be game numbers from 1");
    return Finished(SwapGames(format, db.Paths, a, b, {}, message), message);
  }
  if (operation == "rename") return Rename(db, rest);
  return std::nullopt;
}

// The options of `db search` and `db list`: the search dialog's conditions and the list's
// choices.
struct SearchOptions {
  SearchConditions Conditions;
  bool AnyCondition = false;
  ListSettings Settings;
  bool ColumnsGiven = false;
  int Top = 0;
  bool All = false;
  bool Reverse = false;  // the tool lists in the search list's order unless told otherwise
};

// A name argument as the dialog's fields hold it (cp932).
int NameOption(const std::string& utf8, std::string& field, std::string& error) {
  if (Utf8ToCp932(utf8, field)) return 0;
  error = "'" + utf8 + "' cannot be written in cp932";
  return 1;
}

// YYYY/MM into the dialog's year and month fields, as typed (the date check judges them).
int DateOption(const std::string& utf8, std::string& year, std::string& month,
               std::string& error) {
  std::string text;
  if (NameOption(utf8, text, error) != 0) return 1;
  const std::size_t slash = text.find('/');
  year = text.substr(0, slash);
  month = slash == std::string::npos ? "" : text.substr(slash + 1);
  return 0;
}

// "A,B": two column types 0..7.
bool ColumnsOption(const std::string& text, int (&columns)[2]) {
  if (text.size() != 3 || text[1] != ',') return false;
  for (int i = 0; i < 2; ++i) {
    const char c = text[2 * static_cast<std::size_t>(i)];
    if (c < '0' || c >= '0' + kListColumnCount) return false;
    columns[i] = c - '0';
  }
  return true;
}

// Reads the options after DB; `list` accepts the list's own. Nonzero with `error` on a bad one.
int ParseSearchOptions(const std::vector<std::string>& args, bool list, SearchOptions& options,
                       std::string& error) {
  SearchConditions& c = options.Conditions;
  int players = 0;
  bool position = false, mode = false, from = false, to = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const bool flag = option == "--reverse" || option == "--all";
    if (!flag && i + 1 >= args.size()) {
      error = "'" + option + "' needs a value";
      return 1;
    }
    const std::string value = flag ? "" : args[++i];
    bool ok = true;
    if (option == "--player" && players < 2) {
      ok = NameOption(value, players++ == 0 ? c.Player1 : c.Player2, error) == 0;
    } else if (option == "--tournament") {
      ok = NameOption(value, c.Tournament, error) == 0;
    } else if (option == "--opening") {
      ok = NameOption(value, c.Opening, error) == 0;
    } else if (option == "--from") {
      ok = from = DateOption(value, c.StartYear, c.StartMonth, error) == 0;
    } else if (option == "--to") {
      ok = to = DateOption(value, c.EndYear, c.EndMonth, error) == 0;
    } else if (option == "--position") {
      static GameRecord record;
      ok = position = RecordFromPositionArgument(value, record, c.SearchPosition, error) == 0;
    } else if (option == "--mode") {
      ok = mode = value.size() == 1 && value[0] >= '1' && value[0] <= '3';
      if (mode) c.Mode = static_cast<PositionMode>(value[0] - '0');
      if (!ok) error = "--mode must be 1, 2 or 3";
    } else if (list && option == "--columns") {
      ok = options.ColumnsGiven = ColumnsOption(value, options.Settings.Columns);
      if (!ok) error = "--columns must be two column types 0..7, as 2,1";
    } else if (list && option == "--top") {
      options.Top = GameNumberOf(value);
      ok = value == "0" || options.Top > 0;
      if (!ok) error = "--top must be an entry number from 0";
    } else if (list && flag) {
      (option == "--all" ? options.All : options.Reverse) = true;
    } else {
      error = "unknown or repeated option '" + option + "'";
      ok = false;
    }
    if (!ok) return 1;
  }
  if (position != mode) {
    error = "--position and --mode go together";
    return 1;
  }
  if (to && !from) {
    error = "--to needs --from";
    return 1;
  }
  if (options.All && options.Top != 0) {
    error = "--all and --top exclude each other";
    return 1;
  }
  options.AnyCondition = !c.Player1.empty() || !c.Player2.empty() || !c.Tournament.empty() ||
                         !c.Opening.empty() || from || position;
  return 0;
}

// The search of the options' conditions, as the search dialog's OK runs it: the search list
// written, `found` its length. A date the dialog refuses is a bad argument.
int SearchWithOptions(const DatabaseArgument& db, const std::string& folder, SearchOptions& options,
                      DatabaseSelection& selection, int& found) {
  SearchDates dates;
  SearchCheckFailure failure;
  if (CheckSearchDates(options.Conditions, dates, failure) != 0)
    return UsageError(kDbName, failure.Message);
  std::string message;
  const int columns[2] = {options.Settings.Columns[0], options.Settings.Columns[1]};
  if (RunSearch(*db.Format, folder, options.Conditions, dates, selection, options.Settings, found,
                {}, message) != 0)
    return Failed(message);
  if (options.ColumnsGiven) std::copy(columns, columns + 2, options.Settings.Columns);
  return kExitOk;
}

int Search(const DatabaseArgument& db, const std::string& folder, SearchOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  DatabaseSelection selection;
  selection.Paths = db.Paths;
  int found = 0;
  if (const int status = SearchWithOptions(db, folder, options, selection, found); status != 0)
    return status;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  if (!ForEachSearchListEntry(SearchListPath(*db.Format, folder), found, [](int n) {
        std::printf("%d\n", n);
        return true;
      }))
    return Failed(kMessageMalformed);
  std::fprintf(stderr, "%d games found in %.3f s\n", found, elapsed.count());
  return kExitOk;
}

// Prints the page's lines; false with the message printed on a failure.
bool PrintPage(const GameList& list, const SearchOptions& options,
               const PositionPattern& searched) {
  std::vector<GameList::Line> lines;
  std::string message;
  if (list.Page(options.Settings, searched, lines, message) != 0) {
    Failed(message);
    return false;
  }
  for (const GameList::Line& line : lines) std::printf("%s\n", Utf8(line.Text).c_str());
  return true;
}

int List(const DatabaseArgument& db, const std::string& folder, SearchOptions& options) {
  DatabaseSelection selection;
  selection.Paths = db.Paths;
  if (options.AnyCondition) {
    int found = 0;
    if (const int status = SearchWithOptions(db, folder, options, selection, found); status != 0)
      return status;
    if (found == 0) return Failed(kMessageNothingFound);
  }
  options.Settings.ReverseOf(*db.Format) = options.Reverse;
  GameList list;
  std::string message;
  if (list.Open(*db.Format, folder, selection, message) != 0) return Failed(message);
  const PositionPattern searched(options.Conditions.Mode, options.Conditions.SearchPosition);
  std::printf("%s\n", Utf8(list.HeaderLine(options.Settings)).c_str());
  list.Scroll(GameList::ScrollAction::kThumbReleased, options.Top);
  if (!PrintPage(list, options, searched)) return kExitFailed;
  // Every page as the down arrow reaches them, a blank line before each.
  while (options.All && list.Scroll(GameList::ScrollAction::kArrowDown)) {
    std::printf("\n");
    if (!PrintPage(list, options, searched)) return kExitFailed;
  }
  return kExitOk;
}

// The listed games (the search's with conditions, else every game) into the new database
// OUT of the same format, in the list's order; prints the number of games written.
int Extract(const DatabaseArgument& db, const std::string& folder, const std::string& out,
            SearchOptions& options) {
  if (FormatOfIndexPath(out) != db.Format)
    return UsageError(kDbName, "OUT must be a database of DB's format");
  DatabaseSelection selection;
  selection.Paths = db.Paths;
  int listed = 0;
  std::string message;
  const std::string list = SearchListPath(*db.Format, folder);
  if (options.AnyCondition) {
    if (const int status = SearchWithOptions(db, folder, options, selection, listed); status != 0)
      return status;
    if (listed == 0) return Failed(kMessageNothingFound);
  } else if (DatabaseGameCount(*db.Format, db.Paths, listed, message) != 0 ||
             WriteWholeSearchList(list, listed, message) != 0) {
    return Failed(message);
  }
  if (ExtractGames(*db.Format, db.Paths, list, listed, out, {}, message) != 0)
    return Failed(message);
  std::printf("%d\n", listed);
  return kExitOk;
}

// Converts the database into the other format beside it, answering the overwrite question
// with yes and the three list questions as --write-lists says; prints the number of games.
int Convert(const DatabaseArgument& db, const std::string& folder,
            const std::vector<std::string>& rest) {
  if (!rest.empty() && rest[0] != "--write-lists")
    return UsageError(kDbName, "unknown option '" + rest[0] + "'");
  const DatabaseConversion& conversion = ConversionFrom(*db.Format);
  GameDatabase source;
  std::string message;
  int games = 0;
  if (OpenConversionSource(conversion, db.Paths, source, message) != 0 ||
      ConvertDatabase(conversion, source, db.Paths, folder, games, {}, message) != 0)
    return Failed(message);
  for (const ConvertedList& list : kConvertedLists) {
    if (!rest.empty() && WriteConvertedList(list, folder, message) != 0) return Failed(message);
  }
  std::printf("%d\n", games);
  return kExitOk;
}

// Writes the .JSK opening book of a Tarvel database.
int Jsk(const DatabaseArgument& db, const std::string& out) {
  if (db.Format != &kTarvelFormat) return UsageError(kDbName, "jsk needs a Tarvel (.mix) database");
  GameDatabase source;
  std::string message;
  if (OpenJskSource(db.Paths, source, message) != 0 || WriteJskBook(source, out, {}, message) != 0)
    return Failed(message);
  return kExitOk;
}

// A number lo..hi written in decimal digits.
bool NumberOption(const std::string& text, int lo, int hi, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return value >= lo && value <= hi;
}

// The largest list of newest games the tool prints.
constexpr int kMostListedGames = 100000;

// explore DB --position SFEN [--plies N] [--games K] and index DB [--plies N]: the options
// after DB. Nonzero with `error` on a bad one.
int ParseExplorerOptions(const std::vector<std::string>& args, bool explore, ExplorerQuery& query,
                         std::string& error) {
  bool position = false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) {
      error = "'" + option + "' needs a value";
      return 1;
    }
    const std::string& value = args[i + 1];
    if (option == "--plies") {
      if (!NumberOption(value, 0, kMaxExplorerPlies, query.Plies)) {
        error = "--plies must be a number of moves 0..256";
        return 1;
      }
    } else if (explore && option == "--games") {
      if (!NumberOption(value, 0, kMostListedGames, query.Games)) {
        error = "--games must be a number 0..100000";
        return 1;
      }
    } else if (explore && option == "--position" && !position) {
      static GameRecord record;
      if (RecordFromPositionArgument(value, record, query.Target, error) != 0) return 1;
      query.ToMove = SideOfPly(record.StartIndex);
      position = true;
    } else {
      error = "unknown or repeated option '" + option + "'";
      return 1;
    }
  }
  if (explore && !position) error = "explore needs --position SFEN";
  return (!explore || position) ? 0 : 1;
}

// The answer as the lines: the count, the moves, the newest games.
void PrintExplorerAnswer(const ExplorerAnswer& answer) {
  std::printf("games: %d\n", answer.Games);
  for (const ExplorerMove& move : answer.Moves) {
    std::printf("move: %s %d %d %d %d\n", FormatUsiMove(move.Move).c_str(), move.Games,
                move.Shares[static_cast<int>(ResultShare::kFirstWins)],
                move.Shares[static_cast<int>(ResultShare::kSecondWins)],
                move.Shares[static_cast<int>(ResultShare::kOther)]);
  }
  for (const ExplorerGame& game : answer.Newest) {
    std::printf("game: %d %d %04d-%02d-%02d %d\n", game.Number, game.Ply, game.Year, game.Month,
                game.Day, game.Result);
  }
}

// The answer on standard output; on standard error why an index was not used, where the
// answer came from and how long it took.
int Explore(const DatabaseArgument& db, const std::vector<std::string>& rest) {
  ExplorerQuery query;
  std::string error;
  if (ParseExplorerOptions(rest, true, query, error) != 0) return UsageError(kDbName, error);
  const auto started = std::chrono::steady_clock::now();
  ExplorerAnswer answer;
  IndexUse use = IndexUse::kMissing;
  std::string message;
  if (ExplorePosition(*db.Format, db.Paths, query, {}, answer, use, message) != 0)
    return Failed(message);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  PrintExplorerAnswer(answer);
  if (*IndexUseNote(use) != '\0') std::fprintf(stderr, "%s\n", IndexUseNote(use));
  if (use == IndexUse::kUsed) {
    std::fprintf(stderr, "from the position index in %.3f s\n", elapsed.count());
  } else {
    int games = 0;
    (void)DatabaseGameCount(*db.Format, db.Paths, games, message);
    std::fprintf(stderr, "%d games scanned in %.3f s (%.0f games/s)\n", games, elapsed.count(),
                 elapsed.count() > 0 ? games / elapsed.count() : 0.0);
  }
  return kExitOk;
}

// Builds the index; prints the positions indexed and the seconds it took.
int Index(const DatabaseArgument& db, const std::vector<std::string>& rest) {
  ExplorerQuery options;
  std::string error;
  if (ParseExplorerOptions(rest, false, options, error) != 0) return UsageError(kDbName, error);
  const auto started = std::chrono::steady_clock::now();
  IndexBuildReport report;
  std::string message;
  if (BuildPositionIndex(*db.Format, db.Paths, options.Plies, {}, report, message) != 0)
    return Failed(message);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  std::printf("positions: %lld\n", static_cast<long long>(report.Positions));
  std::printf("seconds: %.3f\n", elapsed.count());
  std::fprintf(stderr, "%d games, %lld different positions, %llu bytes (%.2f bytes a position)\n",
               report.Games, static_cast<long long>(report.Distinct),
               static_cast<unsigned long long>(report.Bytes),
               report.Positions > 0 ? static_cast<double>(report.Bytes) / report.Positions : 0.0);
  return kExitOk;
}

int RunDb(const std::vector<std::string>& all) {
  std::vector<std::string> args = all;
  const std::string folder = TakeFolder(args);
  if (args.size() < 2) return UsageError(kDbName, "expected an operation and DB");
  const std::string& operation = args[0];
  if (operation == "yearbook") return Yearbook(args);
  DatabaseArgument db;
  db.Format = FormatOfIndexPath(args[1]);
  if (db.Format == nullptr) return UsageError(kDbName, "DB must end in .idx or .mix");
  const std::vector<std::string> rest(args.begin() + 2, args.end());
  if (operation == "explore" || operation == "index") {
    std::string message;
    if (DatabasePathsOf(args[1], db.Paths, message) != 0) return Failed(message);
    return operation == "explore" ? Explore(db, rest) : Index(db, rest);
  }
  if (operation == "search" || operation == "list" || operation == "extract") {
    const bool extract = operation == "extract";
    if (extract && rest.empty()) return UsageError(kDbName, "extract takes DB OUT [CONDITIONS]");
    SearchOptions options;
    std::string error;
    if (ParseSearchOptions({rest.begin() + (extract ? 1 : 0), rest.end()}, operation == "list",
                           options, error) != 0)
      return UsageError(kDbName, error);
    std::string message;
    if (DatabasePathsOf(args[1], db.Paths, message) != 0) return Failed(message);
    if (extract) return Extract(db, folder, rest[0], options);
    return operation == "search" ? Search(db, folder, options) : List(db, folder, options);
  }
  // The arguments each operation takes after DB.
  struct Arity {
    const char* Operation;
    std::size_t Least, Most;
  };
  static constexpr Arity kArities[] = {{"create", 0, 0},  {"count", 0, 0},
                                       {"repair", 0, 0},  {"add", 2, SIZE_MAX},
                                       {"put", 3, 3},     {"get", 1, 1},
                                       {"sort", 0, 1},    {"dupes", 0, 0},
                                       {"merge", 1, 1},   {"merge-distributed", 1, 1},
                                       {"delete", 1, 1},  {"remove", 0, 0},
                                       {"swap", 2, 2},    {"rename", 3, 3},
                                       {"convert", 0, 1}, {"jsk", 1, 1}};
  const Arity* arity = nullptr;
  for (const Arity& a : kArities) {
    if (operation == a.Operation) arity = &a;
  }
  if (arity == nullptr) return UsageError(kDbName, "unknown operation '" + operation + "'");
  if (rest.size() < arity->Least || rest.size() > arity->Most)
    return UsageError(kDbName, "wrong number of arguments for '" + operation + "'");
  const int number = GameNumberOf(rest.empty() ? "" : rest[0]);
  if ((operation == "put" || operation == "get") && number == 0)
    return UsageError(kDbName, "N must be a game number from 1");

  std::string message;
  if (DatabasePathsOf(args[1], db.Paths, message) != 0) return Failed(message);
  if (operation == "create") return Create(db);
  if (operation == "count") return PrintCount(db, DatabaseGameCount);
  if (operation == "repair") return PrintCount(db, RepairDatabase);
  if (operation == "add") return Add(db, folder, rest);
  if (const std::optional<int> status = RunRewrite(operation, db, folder, rest)) return *status;
  if (operation == "convert") return Convert(db, folder, rest);
  if (operation == "jsk") return Jsk(db, rest[0]);
  if (operation == "put") return Put(db, folder, number, {rest[1], rest[2]});
  return Get(db, folder, number);
}

const CommandRegistration kDb(
    {"db",
     "[--folder DIR] create DB | count DB | repair DB | add DB FORMAT FILE... | put DB N FORMAT "
     "FILE | "
     "get DB N | search DB [CONDITIONS] | list DB [CONDITIONS] [--columns A,B] [--reverse] "
     "[--all | --top N] | extract DB OUT [CONDITIONS] | sort DB [--descending] | dupes DB | merge "
     "DB SOURCE | "
     "merge-distributed DB SOURCE | delete DB N | remove DB | swap DB A B | "
     "rename DB (--player|--tournament|--opening) OLD NEW | yearbook FILE1 FILE2 FILE3 OUT.mix | "
     "convert DB [--write-lists] | jsk DB OUT.jsk | explore DB --position SFEN [--plies N] "
     "[--games K] | index DB [--plies N]",
     "Kisen (.idx) and Tarvel (.mix) databases: create an empty pair, count the games, set the "
     "count of a damaged database to its whole games (printing it), "
     "register record files as new games (printing their numbers) or over game N, print game N "
     "as 'read' does with its date, tournament, opening, game number and handicap code; search "
     "(the kept game numbers) and list (the list dialog's lines) with the conditions --player "
     "NAME (up to twice), --tournament NAME, --opening NAME, --from YYYY/MM, --to YYYY/MM, "
     "--position SFEN --mode 1|2|3; extract (the listed games: the search's, or every game "
     "without conditions) into the new database OUT; sort by date, list duplicate pairs 'I D', "
     "append SOURCE, "
     "merge distributed Kisen data, delete game N, remove both files, swap two Tarvel games, "
     "replace a list number (Tarvel players: a name) throughout the index, convert yearbook "
     "files into a new Tarvel database, convert a database into the other format beside it "
     "(printing the number of games; --write-lists also writes 棋士名.DAT, 棋戦.DAT and 戦型.DAT "
     "from the Kisen lists), write the .JSK opening book of a Tarvel database; explore: the games "
     "that reach the position within N moves (default 60), each move played from it with its "
     "games and the first player's wins, the second player's and the rest, and the newest K "
     "games (default 20) with the ply where the position stands, from the position index when "
     "it is current, else by reading every game; index: build the position index of the first "
     "N moves beside DB (its file name and .pix), printing the positions indexed and the seconds; "
     "questions are "
     "answered yes; the name lists and the "
     "search list files are in DIR, else the current directory",
     RunDb});

}  // namespace
}  // namespace shogi::tool
