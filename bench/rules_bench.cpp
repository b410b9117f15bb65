// Move generation speed: perft 5 from the standard position and LegalMoves alone on a few
// fixed positions.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "rules/move_rules.h"
#include "rules/perft.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

void SetUp(const std::string& sfen, GameRecord& record, Position& pos) {
  Side side;
  int number;
  std::string message;
  if (ParseSfen(sfen, pos, side, number, message) != 0) std::abort();  // the fixed inputs parse
  ResetGameRecord(record);
  record.InitialPosition = pos;
  record.StartIndex = record.PlyCount = side;
}

void BM_Perft(benchmark::State& state) {
  GameRecord record;
  Position pos;
  SetUp("startpos", record, pos);
  std::uint64_t leaves = 0;
  for (auto _ : state) {
    leaves = Perft(record, pos, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(leaves);
  }
  state.counters["leaves"] = static_cast<double>(leaves);
  state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Perft)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);

const char* const kPositions[] = {
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
    "8l/1l+R2P3/p2pBG1pp/kps1p4/Nn1P2G2/P1P1P2PP/1PS6/1KSG3+r1/LN2+p3L w Sbgn3p 124",
    // Many drops: every piece type in hand on a nearly empty board.
    "4k4/9/9/9/9/9/9/9/4K4 b RBGSNLP 1",
};

void BM_LegalMoves(benchmark::State& state) {
  GameRecord record;
  Position pos;
  SetUp(kPositions[state.range(0)], record, pos);
  static LegalMoveList list;
  int n = 0;
  for (auto _ : state) {
    n = LegalMoves(record, pos, list);
    benchmark::DoNotOptimize(n);
  }
  state.counters["moves"] = n;
  state.counters["moves/s"] = benchmark::Counter(static_cast<double>(n) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LegalMoves)->DenseRange(0, 2);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
