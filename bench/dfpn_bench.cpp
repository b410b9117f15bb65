// The df-pn mate solver on fixed sets: the mates of 3 to 13 plies of
// tests/data/mate/dfpn_mates.txt (time to the solution, its length checked), the positions
// without a mate of dfpn_nomates.txt (time to the proof), and the long classics of
// dfpn_classics.txt (run alone: --benchmark_filter=classic; the table size in megabytes
// and the time limit in seconds come from SHOGI_DFPN_MB and SHOGI_DFPN_SECONDS, by default
// 768 and 600; the counter as_published says whether the published length was found).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/dfpn_solver.h"
#include "fixtures/mate_problems.h"
#include "rules/sfen.h"

namespace {

using namespace shogi;

struct Problem {
  test::MateProblem source;
  Position pos;
  Side side;
};

std::vector<Problem> Load(const char* file) {
  std::vector<test::MateProblem> read;
  std::string message;
  std::vector<Problem> out;
  if (test::ReadMateProblems(file, read, message) != 0) return out;
  for (const auto& p : read) {
    Problem problem{p, {}, kFirst};
    int number;
    if (ParseSfen(p.sfen, problem.pos, problem.side, number, message) == 0) out.push_back(problem);
  }
  return out;
}

int EnvOr(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

// Solves `problem` each iteration with a table of `megabytes`. Counters: the length found
// (0 for none), whether it is confirmed shortest, whether it is the problem's length, nodes,
// nodes per second and the table's megabytes. With `exact` a length other than the
// problem's is an error.
void Solve(benchmark::State& state, const Problem& problem, int megabytes, int seconds,
           bool exact) {
  static DfpnTable table;
  if (table.Megabytes() != static_cast<std::size_t>(megabytes)) table.Allocate(megabytes);
  DfpnLimits limits;
  limits.seconds = seconds;
  DfpnResult r;
  std::uint64_t nodes = 0;
  for (auto _ : state) {
    r = SolveDfpn(problem.pos, problem.side, table, limits);
    nodes += r.nodes;
  }
  const int length = r.outcome == DfpnOutcome::kMate ? static_cast<int>(r.line.size()) : 0;
  state.counters["length"] = length;
  state.counters["shortest"] = r.shortest ? 1 : 0;
  state.counters["MB"] = static_cast<double>(table.Megabytes());
  state.counters["nodes"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kAvgIterations);
  state.counters["nps"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  const bool right = problem.source.length > 0 ? r.outcome == DfpnOutcome::kMate && r.shortest &&
                                                     length == problem.source.length
                                               : r.outcome == DfpnOutcome::kNoMate;
  state.counters["as_published"] = right ? 1 : 0;
  if (exact && !right) state.SkipWithError("the answer differs from the problem set");
}

const bool kRegistered = [] {
  static const std::vector<Problem> mates = Load("dfpn_mates.txt");
  static const std::vector<Problem> nomates = Load("dfpn_nomates.txt");
  static const std::vector<Problem> classics = Load("dfpn_classics.txt");
  auto add = [](const std::string& name, const Problem& p, int megabytes, int seconds) {
    benchmark::RegisterBenchmark(name.c_str(), Solve, p, megabytes, seconds, true)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
  };
  for (const Problem& p : mates) {
    add("mate/line" + std::to_string(p.source.line) + "/" + std::to_string(p.source.length) +
            "plies",
        p, 64, 60);
  }
  for (const Problem& p : nomates) add("nomate/line" + std::to_string(p.source.line), p, 64, 60);
  const int megabytes = EnvOr("SHOGI_DFPN_MB", 768), seconds = EnvOr("SHOGI_DFPN_SECONDS", 600);
  for (const Problem& p : classics) {
    benchmark::RegisterBenchmark(("classic/line" + std::to_string(p.source.line) + "/" +
                                  std::to_string(p.source.length) + "plies")
                                     .c_str(),
                                 Solve, p, megabytes, seconds, false)
        ->Unit(benchmark::kSecond)
        ->Iterations(1)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
