// shogi-tool mate: solves a mate problem the way the 詰将棋２ command does and prints the
// length and the whole solution.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/mate_deepening.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

// Reads a whole number from `text` into `value`; false unless it is one.
bool ParseNumber(const std::string& text, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0';
}

int RunMate(const std::vector<std::string>& args) {
  std::string position;
  long solver = kSolver2, start = 1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--solver" || a == "--start-depth") {
      long value;
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], value))
        return UsageError("mate", a + " needs a number");
      ++i;
      if (a == "--solver") {
        if (value != kSolver1 && value != kSolver2) return UsageError("mate", "--solver is 1 or 2");
        solver = value;
      } else {
        if (value < 1 || value > kMaxMateDepth || value % 2 == 0)
          return UsageError("mate", "--start-depth must be an odd number from 1 to 49");
        start = value;
      }
    } else if (position.empty()) {
      position = a;
    } else {
      return UsageError("mate", "expected one POSITION argument");
    }
  }
  if (position.empty()) return UsageError("mate", "expected one POSITION argument");

  GameRecord record;
  Position pos;
  std::string message;
  if (!RecordFromPositionArgument(position, record, pos, message))
    return UsageError("mate", message);
  const Side attacker = SideOfPly(record.PlyCount);
  if (CheckMateProblem(pos, attacker, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }

  static MateTable table;  // 8 MB: kept off the stack
  table.Allocate();
  MateDeepening deepening;
  deepening.search.solver = static_cast<int>(solver);
  deepening.search.table = table.Allocated() ? &table : nullptr;
  deepening.start_depth = static_cast<int>(start);

  const auto begin = std::chrono::steady_clock::now();
  const MateDeepeningResult found = DeepenMate(pos, attacker, deepening);
  std::uint64_t nodes = found.nodes;
  MateSolution solution;
  if (found.outcome == MateOutcome::kMate) {
    PlayOutMate(pos, attacker, found.depth, found.first_move, deepening.search, solution);
    nodes += solution.nodes;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

  int status = kExitOk;
  switch (found.outcome) {
    case MateOutcome::kMate: {
      std::printf("mate %d\n", found.depth);
      std::string line;
      for (int i = 0; i < solution.count; ++i) {
        if (i > 0) line += ' ';
        line += FormatUsiMove(solution.moves[i]);
      }
      std::printf("%s\n", line.c_str());
      if (!solution.complete) {
        std::fprintf(stderr, "the solution could not be played out to the mate\n");
        status = kExitFailed;
      }
      break;
    }
    case MateOutcome::kNoMate:
      std::printf("no mate\n");
      break;
    case MateOutcome::kUndecided:
    case MateOutcome::kTableFull:  // not reached: the tool never gives up on a full table
    case MateOutcome::kStopped:
      std::printf("undecided at %d\n", kMaxMateDepth);
      break;
  }
  std::fprintf(stderr, "nodes %llu, time %.3f s, %.0f nodes/s\n",
               static_cast<unsigned long long>(nodes), seconds,
               seconds > 0 ? nodes / seconds : 0.0);
  return status;
}

const CommandRegistration kMate({"mate", "POSITION [--solver 1|2] [--start-depth N]",
                                 "solves a mate for the side to move: 'mate N' and the solution, "
                                 "'no mate' or 'undecided at 49'",
                                 RunMate});

}  // namespace
}  // namespace shogi::tool
