// shogi-tool book: Bonanza-format books from the command line: the book moves of a position,
// and a book built from a Tarvel database.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/book_builder.h"
#include "analysis/book_lookup.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

constexpr const char kBookName[] = "book";

// The share as the lookup dialog prints it, without its padding.
std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? ""
                                    : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int Lookup(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError(kBookName, "lookup takes BOOK and POSITION");
  GameRecord record;
  Position pos;
  std::string message;
  if (RecordFromPositionArgument(args[1], record, pos, message) != 0)
    return UsageError(kBookName, message);
  std::vector<BookMoveShare> moves;
  if (LookUpBook(args[0], pos, SideOfPly(record.PlyCount), moves, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  for (const BookMoveShare& m : moves)
    std::printf("%s %s\n", FormatUsiMove(m.Move).c_str(), Trimmed(m.Share).c_str());
  return kExitOk;
}

int Build(const std::vector<std::string>& args) {
  if (args.size() < 2) return UsageError(kBookName, "build takes DB and OUT");
  BookBuildOptions options;
  options.Input = args[0];
  options.Output = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& option = args[i];
    std::string message;
    if (option == "--resign-rule") {
      options.ResignRule = true;
    } else if (option == "--plies" && i + 1 < args.size()) {
      if (ParseBookPlies(args[++i], options.Plies, message) != 0)
        return UsageError(kBookName, "--plies must be 0 to 256");
    } else if (option == "--condition" && i + 1 < args.size()) {
      const std::string& value = args[++i];
      if (value.size() != 1 || value[0] < '0' || value[0] >= '0' + kBookConditionCount)
        return UsageError(kBookName, "--condition must be 0 to 3");
      options.Condition = value[0] - '0';
    } else {
      return UsageError(kBookName, "unknown option '" + option + "'");
    }
  }
  BookBuildResult result;
  std::string message;
  if (BuildBook(options, result, {}, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  std::printf("%s\n", BookBuiltMessage(result).c_str());
  return kExitOk;
}

int RunBook(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError(kBookName, "expected lookup or build");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "lookup") return Lookup(rest);
  if (args[0] == "build") return Build(rest);
  return UsageError(kBookName, "unknown operation '" + args[0] + "'");
}

const CommandRegistration kBook(
    {"book", "lookup BOOK POSITION | build DB OUT [--plies N] [--resign-rule] [--condition 0..3]",
     "Bonanza-format books: the book moves of POSITION, one line each as 'USI SHARE' (the "
     "message and status 1 when the position is not in the book); a book built from a Tarvel "
     "database with N plies of each game (30 by default), a game without a result counted as "
     "resigned by the side to move, and which moves are taken (0 all, 1 the winner's, 2 the "
     "loser's only while more than 100 plies remain, 3 all but the loser's)",
     RunBook});

}  // namespace
}  // namespace shogi::tool
