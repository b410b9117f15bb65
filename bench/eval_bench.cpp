// The evaluation with a full-size evaluation file of synthetic numbers, written to a
// temporary folder and mapped as the program maps fv.bin: static evaluations per second over
// positions of random games, the move ranking, and the resident size before loading, after
// loading and after the evaluations (a mapping grows with the pages the evaluations touch).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/move_ranking.h"
#include "rules/move_rules.h"

namespace {

using namespace shogi;

// Resident size of this process in MB, from /proc (0 where there is none).
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb / 1024;
    }
  }
  return 0;
}

struct Fixture {
  std::filesystem::path path;
  FvTable table;
  double resident_before = 0, resident_loaded = 0;
  std::vector<GameRecord> records;  // a position each: the record shown at its end
  std::vector<Position> positions;

  Fixture() {
    path = std::filesystem::temp_directory_path() / "shogi_eval_bench_fv.bin";
    // Synthetic numbers, -300..300, written once in large blocks.
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      std::mt19937 random(4242);
      std::vector<std::int16_t> block(1 << 20);
      for (std::size_t done = 0; done < kFvElements; done += block.size()) {
        const std::size_t n = std::min(block.size(), kFvElements - done);
        for (std::size_t i = 0; i < n; ++i)
          block[i] = static_cast<std::int16_t>(random() % 601) - 300;
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(n * sizeof(std::int16_t)));
      }
    }
    resident_before = ResidentMegabytes();
    std::string message;
    if (table.Load(path.string(), message) != 0) std::fprintf(stderr, "%s\n", message.c_str());
    resident_loaded = ResidentMegabytes();
    // 2 000 positions from random games, every fifth ply up to 150.
    std::mt19937 random(15);
    LegalMoveList moves;
    for (int game = 0; game < 80 && positions.size() < 2000; ++game) {
      GameRecord r;
      ResetGameRecord(r);
      Position pos = r.InitialPosition;
      for (int ply = 0; ply < 150; ++ply) {
        r.PlyCount = ply;
        const int n = LegalMoves(r, pos, moves);
        if (n == 0) break;
        const int i = static_cast<int>(random() % n);
        r.MoveList[ply] = moves.Move(i);
        r.MoveList[ply + 1] = MoveCode{};
        ApplyMove(pos, moves.origin[i], SideOfPly(ply), moves.destination[i], moves.promote[i]);
        if (ply % 5 == 4) {
          r.PlyCount = ply + 1;
          records.push_back(r);
          positions.push_back(pos);
        }
      }
    }
  }
  ~Fixture() {
    table.Unload();
    std::filesystem::remove(path);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void StaticEvaluations(benchmark::State& state) {
  Fixture& f = Shared();
  long long sum = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    sum += Evaluate(f.table, kDefaultPieceValues, f.positions[i]).Static();
    if (++i == f.positions.size()) i = 0;
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
  state.counters["positions"] = static_cast<double>(f.positions.size());
  state.counters["rss_before_load_MB"] = f.resident_before;
  state.counters["rss_loaded_MB"] = f.resident_loaded;
  state.counters["rss_after_MB"] = ResidentMegabytes();
}
BENCHMARK(StaticEvaluations)->MinTime(2.0);

// The 最善手検索 command: every legal move evaluated, the 64 best kept.
void RankingOfOnePosition(benchmark::State& state) {
  Fixture& f = Shared();
  std::size_t i = 0;
  MoveRanking ranking;
  std::string message;
  long long moves = 0;
  for (auto _ : state) {
    if (RankMoves(f.records[i], f.positions[i], f.table, kDefaultPieceValues, ranking, message) !=
        0)
      state.SkipWithError(message.c_str());
    moves += ranking.Count;
    if (++i == f.positions.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["rows"] =
      benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(RankingOfOnePosition)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
