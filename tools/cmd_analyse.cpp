// shogi-tool analyse: an outside USI engine's score and best move for every position of a
// record, one line per ply (the data of an evaluation graph).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "players/engine_analysis.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

constexpr const char* kName = "analyse";

// Whether `move` may be played after `ply` plies of `record` (the engine is not trusted).
bool LegalAt(const GameRecord& record, int ply, MoveCode move) {
  static GameRecord game;
  game = record;
  Position pos;
  ReplayTo(game, pos, ply);
  game.PlyCount = ply;
  game.MoveList[ply] = MoveCode{};
  return IsLegalMove(game, pos, move);
}

int RunAnalyse(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  std::string command;
  double seconds = 1;
  std::vector<UsiOption> options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--engine" && a != "--seconds" && a != "--option") {
      operands.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return UsageError(kName, a + " needs a value");
    const std::string& v = args[++i];
    if (a == "--engine") {
      command = v;
    } else if (a == "--seconds") {
      char* end = nullptr;
      seconds = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(seconds > 0) || seconds > 3600)
        return UsageError(kName, "--seconds needs a number of seconds above 0");
    } else {
      UsiOption o;
      if (!ParseUsiOption(v, o)) return UsageError(kName, "--option takes NAME=VALUE");
      options.push_back(o);
    }
  }
  if (operands.size() != 2) return UsageError(kName, "expected FORMAT and FILE");
  if (command.empty()) return UsageError(kName, "--engine COMMAND is required");
  const RecordFormatRow* format = ToolFormat(operands[0], Readable);
  if (format == nullptr) return UsageError(kName, "FORMAT must be " + ToolNames(Readable));
  static GameRecord record;
  if (!ReadToolRecord(*format, operands[1], record)) return kExitFailed;

  UsiEngine engine;
  std::string message;
  if (!engine.Start(command, options, message) || !engine.NewGame(message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  UsiGo go;
  go.Kind = UsiGo::Mode::kMoveTime;
  go.MoveTimeMs = static_cast<int>(seconds * 1000);
  const int end = RecordEndPly(record);
  for (int ply = record.StartIndex; ply <= end; ++ply) {
    MoveCode move;
    const bool first = SideOfPly(ply) == kFirst;
    const UsiEngine::Answer a = engine.Go(
        UsiPositionCommand(record.InitialPosition, record.StartIndex, record.MoveList, ply), go,
        first, move, message);
    std::string best;
    switch (a) {
      case UsiEngine::Answer::kMove:
        best = FormatUsiMove(move);
        if (!LegalAt(record, ply, move)) {
          std::fprintf(stderr, "ply %d: the engine played the illegal move %s\n", ply,
                       best.c_str());
          return kExitFailed;
        }
        break;
      case UsiEngine::Answer::kResign:
        best = "resign";
        break;
      case UsiEngine::Answer::kWin:
        best = "win";
        break;
      case UsiEngine::Answer::kError:
      case UsiEngine::Answer::kPending:
        std::fprintf(stderr, "ply %d: %s\n", ply, message.c_str());
        return kExitFailed;
    }
    const std::string score = UsiScoreForFirst(engine.Info(), first);
    std::printf("%d %s %s\n", ply, score.empty() ? "none" : score.c_str(), best.c_str());
    std::fflush(stdout);
  }
  return kExitOk;
}

const CommandRegistration kAnalyse(
    {kName, "FORMAT FILE --engine COMMAND [--seconds S] [--option NAME=VALUE]...",
     "an outside USI engine's score (first player's view: cp N or "
     "mate N) and best move for each ply of a record, S seconds a "
     "position (default 1)",
     RunAnalyse});

}  // namespace
}  // namespace shogi::tool
