// shogi-tool mate: solves a mate problem the way the 詰将棋２ command does, or with the
// df-pn solver as 詰将棋（df-pn） does, and prints the length and the whole solution.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/dfpn_solver.h"
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

// The moves as USI texts separated by spaces.
std::string UsiLine(const MoveCode* moves, std::size_t count) {
  std::string line;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) line += ' ';
    line += FormatUsiMove(moves[i]);
  }
  return line;
}

// --solver dfpn: "mate N" and the line, "no mate", or "unknown" when the limits end it.
int RunDfpn(const Position& pos, Side attacker, long seconds, long megabytes) {
  static DfpnTable table;  // kept off the stack, allocated once per run
  if (table.Allocate(static_cast<std::size_t>(megabytes)) == 0) {
    std::fprintf(stderr, "cannot allocate the table\n");
    return kExitFailed;
  }
  DfpnLimits limits;
  limits.seconds = static_cast<double>(seconds);
  const DfpnResult r = SolveDfpn(pos, attacker, table, limits);
  int status = kExitOk;
  switch (r.outcome) {
    case DfpnOutcome::kMate:
      std::printf("mate %zu\n%s\n", r.line.size(), UsiLine(r.line.data(), r.line.size()).c_str());
      if (!r.shortest)
        std::fprintf(stderr, "the limit came before the shortest mate was confirmed\n");
      break;
    case DfpnOutcome::kNoMate:
      std::printf("no mate\n");
      break;
    case DfpnOutcome::kUnknown:
    case DfpnOutcome::kStopped:
      std::printf("unknown\n");
      if (!r.message.empty()) std::fprintf(stderr, "%s\n", r.message.c_str());
      break;
    case DfpnOutcome::kRefused:
      std::fprintf(stderr, "%s\n", r.message.c_str());
      return kExitFailed;
  }
  std::fprintf(stderr, "nodes %llu, time %.3f s, %.0f nodes/s, table %zu MB\n",
               static_cast<unsigned long long>(r.nodes), r.seconds,
               r.seconds > 0 ? r.nodes / r.seconds : 0.0, table.Megabytes());
  return status;
}

int RunMate(const std::vector<std::string>& args) {
  std::string position;
  long solver = kSolver2, start = 1;
  bool dfpn = false, deepening_option = false;
  long seconds = kDefaultDfpnSeconds, megabytes = kDefaultDfpnTableMegabytes;
  bool dfpn_option = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--solver" && i + 1 < args.size() && args[i + 1] == "dfpn") {
      dfpn = true;
      ++i;
    } else if (a == "--solver" || a == "--start-depth" || a == "--seconds" || a == "--hash") {
      long value;
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], value))
        return UsageError("mate", a + " needs a number");
      ++i;
      if (a == "--solver") {
        if (value != kSolver1 && value != kSolver2)
          return UsageError("mate", "--solver is 1, 2 or dfpn");
        solver = value;
        deepening_option = true;
      } else if (a == "--start-depth") {
        if (value < 1 || value > kMaxMateDepth || value % 2 == 0)
          return UsageError("mate", "--start-depth must be an odd number from 1 to 49");
        start = value;
        deepening_option = true;
      } else if (a == "--seconds") {
        if (value < 1 || value > kMaxDfpnSeconds)
          return UsageError(
              "mate", "--seconds must be a number from 1 to " + std::to_string(kMaxDfpnSeconds));
        seconds = value;
        dfpn_option = true;
      } else {
        if (value < 1 || value > kMaxDfpnTableMegabytes)
          return UsageError("mate", "--hash must be a number of megabytes from 1 to " +
                                        std::to_string(kMaxDfpnTableMegabytes));
        megabytes = value;
        dfpn_option = true;
      }
    } else if (position.empty()) {
      position = a;
    } else {
      return UsageError("mate", "expected one POSITION argument");
    }
  }
  if (position.empty()) return UsageError("mate", "expected one POSITION argument");
  if (dfpn ? deepening_option : dfpn_option)
    return UsageError("mate", dfpn ? "--start-depth belongs to solvers 1 and 2"
                                   : "--seconds and --hash belong to --solver dfpn");

  GameRecord record;
  Position pos;
  std::string message;
  if (RecordFromPositionArgument(position, record, pos, message) != 0)
    return UsageError("mate", message);
  const Side attacker = SideOfPly(record.PlyCount);
  if (CheckMateProblem(pos, attacker, message) != 0) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitFailed;
  }
  if (dfpn) return RunDfpn(pos, attacker, seconds, megabytes);

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
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

  int status = kExitOk;
  switch (found.outcome) {
    case MateOutcome::kMate: {
      std::printf("mate %d\n", found.depth);
      std::printf("%s\n",
                  UsiLine(solution.moves, static_cast<std::size_t>(solution.count)).c_str());
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
               static_cast<unsigned long long>(nodes), elapsed,
               elapsed > 0 ? nodes / elapsed : 0.0);
  return status;
}

const CommandRegistration kMate(
    {"mate",
     "POSITION [--solver 1|2] [--start-depth N] | POSITION --solver dfpn [--seconds S] [--hash MB]",
     "solves a mate for the side to move: 'mate N' and the solution, 'no mate', or "
     "'undecided at 49' (solvers 1 and 2) / 'unknown' at the time limit (dfpn)",
     RunMate});

}  // namespace
}  // namespace shogi::tool
