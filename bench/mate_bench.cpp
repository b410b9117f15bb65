// The mate solver on the team's problem set (tests/data/mate/problems.txt): time per
// problem and nodes per second of the deepening search, as the 詰将棋２ command runs it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/mate_deepening.h"
#include "rules/sfen.h"

namespace {

using namespace shogi;

struct Problem {
  int length;
  std::string sfen;
  Position pos;
  Side side;
};

std::vector<Problem> LoadProblems() {
  std::vector<Problem> problems;
  std::ifstream in(SHOGI_TEST_DATA "/mate/problems.txt");
  std::string text;
  while (std::getline(in, text)) {
    if (text.empty() || text[0] == '#') continue;
    if (std::size_t hash = text.find('#'); hash != std::string::npos) text.resize(hash);
    Problem p;
    std::istringstream fields(text);
    fields >> p.length;
    std::getline(fields, p.sfen);
    p.sfen.erase(0, p.sfen.find_first_not_of(' '));
    p.sfen.erase(p.sfen.find_last_not_of(' ') + 1);
    int number;
    std::string message;
    if (ParseSfen(p.sfen, p.pos, p.side, number, message) == 0) problems.push_back(p);
  }
  return problems;
}

MateTable& Table() {
  static MateTable table;
  table.Allocate();
  return table;
}

// One problem solved from depth 1 (solver `solver`), the mate's play-out included when
// `play_out` is set. Counters: the mate length found, nodes and nodes per second.
void SolveProblem(benchmark::State& state, const Problem& problem, int solver, bool play_out) {
  MateDeepening options;
  options.search.solver = solver;
  options.search.table = &Table();
  std::uint64_t nodes = 0;
  int found = 0;
  for (auto _ : state) {
    const MateDeepeningResult r = DeepenMate(problem.pos, problem.side, options);
    nodes += r.nodes;
    found = r.outcome == MateOutcome::kMate ? r.depth : 0;
    if (play_out && found > 0) {
      MateSolution solution;
      PlayOutMate(problem.pos, problem.side, r.depth, r.first_move, options.search, solution);
      nodes += solution.nodes;
    }
  }
  state.counters["length"] = found;
  state.counters["nodes"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kAvgIterations);
  state.counters["nps"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  if (found != problem.length) state.SkipWithError("the mate length differs from the problem set");
}

// Registers one benchmark per problem: "mate/<line>/<length>" with solver 2, and the
// play-out, and solver 1 for comparison.
const bool kRegistered = [] {
  static const std::vector<Problem> problems = LoadProblems();
  for (std::size_t i = 0; i < problems.size(); ++i) {
    const Problem& p = problems[i];
    const std::string name = std::to_string(i + 1) + "/" + std::to_string(p.length) + "plies";
    benchmark::RegisterBenchmark(("solver2/" + name).c_str(), SolveProblem, p, kSolver2, false)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    benchmark::RegisterBenchmark(("solver2_playout/" + name).c_str(), SolveProblem, p, kSolver2,
                                 true)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
    benchmark::RegisterBenchmark(("solver1/" + name).c_str(), SolveProblem, p, kSolver1, false)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
