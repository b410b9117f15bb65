// shogi-tool analyse: an outside USI engine's score and best move for every position of a
// record, one line per ply (the data of an evaluation graph).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "players/engine_analysis.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "players/analysis_run.h"
#include "records/record_format.h"
#include "tools/command.h"
#include "tools/record_tool.h"

namespace shogi::tool {
namespace {

constexpr const char* kAnalyseName = "analyse";

int RunAnalyse(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  std::string command, out;
  double seconds = 1;
  std::vector<UsiOption> options;
  MarkThresholds marks;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--engine" && a != "--seconds" && a != "--option" && a != "--out" && a != "--marks") {
      operands.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return UsageError(kAnalyseName, a + " needs a value");
    const std::string& v = args[++i];
    if (a == "--engine") {
      command = v;
    } else if (a == "--out") {
      out = v;
    } else if (a == "--marks") {
      if (!ParseMarkThresholds(v, marks))
        return UsageError(kAnalyseName, "--marks takes DOUBTFUL,BAD with 0 < DOUBTFUL <= BAD <= 3000");
    } else if (a == "--seconds") {
      char* end = nullptr;
      seconds = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || !(seconds > 0) || seconds > 3600)
        return UsageError(kAnalyseName, "--seconds needs a number of seconds above 0");
    } else {
      UsiOption o;
      if (!ParseUsiOption(v, o)) return UsageError(kAnalyseName, "--option takes NAME=VALUE");
      options.push_back(o);
    }
  }
  if (operands.size() != 2) return UsageError(kAnalyseName, "expected FORMAT and FILE");
  if (command.empty()) return UsageError(kAnalyseName, "--engine COMMAND is required");
  const RecordFormatRow* format = ToolFormat(operands[0], Readable);
  if (format == nullptr) return UsageError(kAnalyseName, "FORMAT must be " + ToolNames(Readable));
  static GameRecord record;
  RecordTree tree;
  if (!ReadToolRecord(*format, operands[1], record, tree)) return kExitFailed;

  UsiEngine engine;
  std::string message;
  if (engine.Start(command, options, message) != 0 || engine.NewGame(message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  UsiPositionAnalyser analyser(engine);
  RecordAnalysisRun run(analyser, record, {record.StartIndex, RecordEndPly(record), seconds});
  // One line per position as it is finished.
  const auto print = [](const RecordAnalysisRun& r, bool finished) {
    if (!finished) return true;
    const int ply = r.LastFinished();
    const PlyAnalysis& a = r.Scores().At(ply);
    const std::string score = UsiScoreText(a.Score);
    std::printf("%d %s %s\n", ply, score.empty() ? "none" : score.c_str(), a.Best.c_str());
    std::fflush(stdout);
    return true;
  };
  if (RunToEnd(run, print, message) != RecordAnalysisRun::State::kDone) {
    std::fprintf(stderr, "ply %d: %s\n", run.Ply(), message.c_str());
    return kExitFailed;
  }
  if (!out.empty()) {
    AnnotateTree(tree, record, run.Scores(), marks);
    if (WriteRecord(RecordFormat::kKif, out, record, tree, true, message) != 0) {
      std::fprintf(stderr, "%s\n", message.c_str());
      return kExitFailed;
    }
  }
  return kExitOk;
}

const CommandRegistration kAnalyse(
    {kAnalyseName,
     "FORMAT FILE --engine COMMAND [--seconds S] [--option NAME=VALUE]... [--out FILE.kif "
     "[--marks DOUBTFUL,BAD]]",
     "an outside USI engine's score (first player's view: cp N or "
     "mate N) and best move for each ply of a record, S seconds a "
     "position (default 1); --out writes the record with the analysis "
     "in comments and a variation per bad move as KIF, moves losing "
     "DOUBTFUL / BAD centipawns marked 疑問手 / 悪手 (default 300,600)",
     RunAnalyse});

}  // namespace
}  // namespace shogi::tool
