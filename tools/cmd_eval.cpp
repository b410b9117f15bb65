// shogi-tool eval / best: the scores of the Bonanza menu's 静的評価 and the move ranking of its
// 最善手検索, with the evaluation file given or fv.bin of the current directory and the
// program's default piece values.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/move_ranking.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

// What both commands work on: the position of POSITION and the file of --fv FILE.
struct EvalInput {
  GameRecord record;
  Position pos;
  FvTable table;
};

// Reads the arguments POSITION [--fv FILE], the position and the file; kExitOk when all is
// there, else the exit status (the message printed).
int Prepare(const char* name, const std::vector<std::string>& args, EvalInput& in) {
  std::string position, fv = "fv.bin";
  bool have_position = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--fv") {
      if (i + 1 >= args.size()) return UsageError(name, "--fv needs a FILE");
      fv = args[++i];
    } else if (!have_position) {
      position = args[i];
      have_position = true;
    } else {
      return UsageError(name, "expected one POSITION argument");
    }
  }
  if (!have_position) return UsageError(name, "expected one POSITION argument");
  std::string message;
  if (RecordFromPositionArgument(position, in.record, in.pos, message) != 0)
    return UsageError(name, message);
  if (CheckEvaluable(in.pos, message) != 0 || in.table.Load(fv, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int RunEval(const std::vector<std::string>& args) {
  EvalInput in;
  if (int status = Prepare("eval", args, in); status != kExitOk) return status;
  const Evaluation e = Evaluate(in.table, kDefaultPieceValues, in.pos);
  std::printf("material: %d\nfv: %d\nstatic: %d\n", e.Material, e.Fv, e.Static());
  return kExitOk;
}

int RunBest(const std::vector<std::string>& args) {
  EvalInput in;
  if (int status = Prepare("best", args, in); status != kExitOk) return status;
  MoveRanking ranking;
  std::string message;
  if (RankMoves(in.record, in.pos, in.table, kDefaultPieceValues, ranking, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  for (int i = 0; i < ranking.Count; ++i) {
    std::printf("%s %d\n", FormatUsiMove(ranking.Moves[i].Move()).c_str(), ranking.Moves[i].Score);
  }
  return kExitOk;
}

const CommandRegistration kEval({"eval", "POSITION [--fv FILE]",
                                 "prints 'material: M', 'fv: F' and 'static: S' (material + F/32) "
                                 "with the default piece values",
                                 RunEval});
const CommandRegistration kBest({"best", "POSITION [--fv FILE]",
                                 "ranks the legal moves by the static evaluation after them: "
                                 "'USI SCORE' per line, at most 64, best first",
                                 RunBest});

}  // namespace
}  // namespace shogi::tool
