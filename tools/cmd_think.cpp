// shogi-tool think: asks the in-process computer player of a level for its move, as the game
// driver does, and prints it with the nodes and the time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/player_think.h"
#include "players/jsk_player_book.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

constexpr const char* kThinkName = "think";

const char* SourceName(player::MoveSource source) {
  switch (source) {
    case player::MoveSource::kBook:
      return "book";
    case player::MoveSource::kMate:
      return "mate";
    case player::MoveSource::kThreatFilter:
      return "threat";
    case player::MoveSource::kSelection:
      return "selection";
    case player::MoveSource::kNone:
      break;
  }
  return "none";
}

int RunThink(const std::vector<std::string>& args) {
  std::string position;
  long level = 0;
  double seconds = 0;
  std::string book_path;
  std::vector<std::string> moves;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--level" || a == "--seconds") {
      if (i + 1 >= args.size()) return UsageError(kThinkName, a + " needs a number");
      char* end = nullptr;
      const std::string& v = args[++i];
      if (a == "--level") {
        level = std::strtol(v.c_str(), &end, 10);
        if (v.empty() || *end != '\0' || level < player::kMinLevel || level > player::kMaxLevel)
          return UsageError(kThinkName, "--level is 1..9");
      } else {
        seconds = std::strtod(v.c_str(), &end);
        if (v.empty() || *end != '\0' || !(seconds > 0))
          return UsageError(kThinkName, "--seconds needs a positive number");
      }
    } else if (a == "--book") {
      if (i + 1 >= args.size() || !book_path.empty())
        return UsageError(kThinkName, "--book needs one book file");
      book_path = args[++i];
    } else if (a == "--moves") {
      if (i + 1 >= args.size()) return UsageError(kThinkName, "--moves needs USI moves");
      std::istringstream words(args[++i]);
      for (std::string w; words >> w;) moves.push_back(w);
    } else if (position.empty()) {
      position = a;
    } else {
      return UsageError(kThinkName, "expected one POSITION argument");
    }
  }
  if (position.empty()) return UsageError(kThinkName, "expected one POSITION argument");
  if (level == 0) return UsageError(kThinkName, "--level N is required");

  static GameRecord record;
  Position pos;
  std::string message;
  if (RecordFromPositionArgument(position, record, pos, message) != 0)
    return UsageError(kThinkName, message);
  if (PlayUsiMoves(moves, record, pos, message) != 0) return UsageError(kThinkName, message);

  static MateTable table;  // 8 MB: kept off the stack
  table.Allocate();
  JskPlayerBook book(&book_path);
  player::ThinkEnvironment env;
  env.mate_table = &table;
  if (!book_path.empty()) env.book = &book;
  env.budget_cap = seconds;
  player::Thinker thinker;
  const auto begin = std::chrono::steady_clock::now();
  const player::ThinkOutcome out = thinker.Think(static_cast<int>(level), record, pos, env);
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

  if (out.result > 0) {
    std::printf("move %s\n", FormatUsiMove(out.move).c_str());
  } else {
    std::printf("resign\n");
  }
  std::fprintf(
      stderr,
      "nodes %llu, time %.3f s, from %s, candidates %d, deep-scored %d, score %d, "
      "script %d, second tests %d to depth %d%s\n",
      static_cast<unsigned long long>(out.polls), elapsed, SourceName(out.source), out.candidates,
      out.deep_scored, out.best_score, out.script, out.second_tests, out.second_depth,
      out.first_choice.to != 0 && out.first_choice != out.move ? " (changed the move)" : "");
  return kExitOk;
}

const CommandRegistration kThink(
    {kThinkName, "POSITION --level N [--book FILE] [--seconds S] [--moves 'USI...']",
     "the in-process computer player's move at level 1..9 after the moves: 'move USI' or "
     "'resign' (nodes and time on standard error, with where the move came from); --book: "
     "the .JSK opening book; --seconds caps the level's time budget",
     RunThink});

}  // namespace
}  // namespace shogi::tool
