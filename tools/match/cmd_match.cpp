// shogi-tool match: games between two players through the game driver, with the tally and
// the Elo difference.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "players/match.h"
#include "rules/game_record.h"
#include "shell/match_game.h"
#include "tools/command.h"

namespace shogi::tool {
namespace {

constexpr const char* kMatchName = "match";

const char* ResultWord(const GameSummary& g) {
  if (g.AScore > 0) return "A wins";
  if (g.AScore < 0) return "B wins";
  return g.ResultCode == kResultRepetition ? "draw (repetition)" : "draw (move limit)";
}

int RunMatchCommand(const std::vector<std::string>& args) {
  std::vector<std::string> players;
  MatchOptions options;
  std::vector<UsiOption> option_a, option_b;
  std::string openings;
  bool show_moves = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool valued = a == "--games" || a == "--seconds" || a == "--scale" || a == "--openings" ||
                        a == "--option-a" || a == "--option-b";
    if (a == "--show-moves") {
      show_moves = true;
      continue;
    }
    if (!valued) {
      players.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return UsageError(kMatchName, a + " needs a value");
    const std::string& v = args[++i];
    char* end = nullptr;
    if (a == "--games") {
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 1 || n > 100000)
        return UsageError(kMatchName, "--games needs a positive number");
      options.Games = static_cast<int>(n);
    } else if (a == "--seconds") {
      options.Seconds = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(options.Seconds > 0))
        return UsageError(kMatchName, "--seconds needs a positive number");
    } else if (a == "--scale") {
      options.Scale = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(options.Scale > 0))
        return UsageError(kMatchName, "--scale needs a positive number");
    } else if (a == "--openings") {
      openings = v;
    } else {
      UsiOption o;
      if (!ParseUsiOption(v, o)) return UsageError(kMatchName, a + " takes NAME=VALUE");
      (a == "--option-a" ? option_a : option_b).push_back(o);
    }
  }
  if (players.size() != 2) return UsageError(kMatchName, "expected two players A and B");
  MatchPlayer pa, pb;
  std::string message;
  if (ParseMatchPlayer(players[0], pa, message) != 0 ||
      ParseMatchPlayer(players[1], pb, message) != 0)
    return UsageError(kMatchName, message);
  pa.Options = option_a;
  pb.Options = option_b;
  if (!openings.empty() && ReadOpenings(openings, options.Openings, message) != 0)
    return UsageError(kMatchName, message);
  options.ProgramFolder = ProgramDirectory();
  options.OnGame = [&](const GameSummary& g) {
    std::printf("game %d: A %s, %s after %d plies%s%s\n", g.Number, g.AFirst ? "first" : "second",
                ResultWord(g), g.Plies, g.Note.empty() ? "" : "; ", g.Note.c_str());
    if (show_moves) std::printf("  %s\n", g.Moves.c_str());
    std::fflush(stdout);
  };

  MatchTally tally;
  options.PlayGame = PlayMatchGame;
  if (RunMatch(pa, pb, options, tally, message) != 0) {
    std::fprintf(stderr, "shogi-tool match: %s\n", message.c_str());
    return kExitFailed;
  }
  std::printf("%s vs %s: %d wins, %d losses, %d draws\n", pa.Label().c_str(), pb.Label().c_str(),
              tally.Wins, tally.Losses, tally.Draws);
  const EloEstimate elo = EstimateElo(tally);
  if (elo.Defined) {
    std::printf("Elo difference %+.0f +/- %.0f (95 %%)\n", elo.Difference, elo.Margin);
  } else {
    std::printf("Elo difference undefined (one side scored every point)\n");
  }
  return kExitOk;
}

const CommandRegistration kMatch(
    {kMatchName,
     "A B [--games N] [--seconds S] [--scale F] [--openings FILE] [--option-a NAME=VALUE] "
     "[--option-b NAME=VALUE] [--show-moves]",
     "plays N games (default 2) between A and B (level:1..9, sikou, usi:COMMAND) through the game "
     "driver, colours alternating, and prints wins, losses, draws of A and the Elo difference "
     "(--scale: the levels' budgets times F, --seconds: capped at S; --show-moves: each game's "
     "USI moves)",
     RunMatchCommand});

}  // namespace
}  // namespace shogi::tool
