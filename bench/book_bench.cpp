// Building a Bonanza book from a Tarvel database of 100 000 games with TESU 30, and looking
// its positions up again, in lookups per second. The games are real, replayable games of 40
// random legal moves (a fixed seed), written once to a temporary folder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/book_builder.h"
#include "analysis/book_lookup.h"
#include "database_files/tarvel.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr int kGames = 100000;
constexpr int kPlies = 40;
constexpr int kBookPlies = 30;

// The positions looked up: one per game and ply, from the first games.
struct Probe {
  Position Pos;
  Side ToMove;
};

struct BenchFolder {
  std::string Path;
  std::vector<Probe> Probes;

  BenchFolder() {
    Path =
        (std::filesystem::temp_directory_path() / ("shogi_book_bench_" + std::to_string(getpid())))
            .string() +
        "/";
    std::filesystem::create_directories(Path);
    std::ofstream index(Path + "games.mix", std::ios::binary);
    std::ofstream moves(Path + "games.mkf", std::ios::binary);
    TarvelHeader header{};
    header.Count.Set(kGames);
    index.write(reinterpret_cast<const char*>(&header), sizeof header);
    std::mt19937 random(20240601u);
    static LegalMoveList legal;
    for (int n = 0; n < kGames; ++n) {
      GameRecord r;
      ResetGameRecord(r);
      Position pos = r.InitialPosition;
      for (int ply = 0; ply < kPlies; ++ply) {
        r.PlyCount = ply;
        if (LegalMoves(r, pos, legal) == 0) break;
        r.MoveList[ply] = legal.Move(static_cast<int>(random() % legal.count));
        if (n < 1000 && ply < kBookPlies) Probes.push_back({pos, SideOfPly(ply)});
        ApplyMove(pos, r.MoveList[ply], SideOfPly(ply));
      }
      TarvelIndexRecord record{};
      record.Result.Set(n % 3);
      TarvelMoveBlock block;
      EncodeTarvelBlock(r.MoveList, Handicap::kEven, 0, block);
      index.write(reinterpret_cast<const char*>(&record), sizeof record);
      moves.write(reinterpret_cast<const char*>(&block), sizeof block);
    }
  }
  ~BenchFolder() { std::filesystem::remove_all(Path); }
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

BookBuildOptions Options() {
  BookBuildOptions options;
  options.Input = Folder().Path + "games.mix";
  options.Output = Folder().Path + "book.bin";
  options.Plies = kBookPlies;
  return options;
}

void BM_BuildBook(benchmark::State& state) {
  const BookBuildOptions options = Options();
  BookBuildResult result;
  for (auto _ : state) {
    std::string message;
    if (BuildBook(options, result, message) != 0) state.SkipWithError(message.c_str());
  }
  state.counters["positions"] = result.Positions;
  state.counters["collisions"] = result.Collisions;
  state.counters["games/s"] = benchmark::Counter(static_cast<double>(kGames) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildBook)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LookUpBook(benchmark::State& state) {
  BookBuildResult result;
  std::string message;
  if (BuildBook(Options(), result, message) != 0) state.SkipWithError(message.c_str());
  const std::vector<Probe>& probes = Folder().Probes;
  const std::string book = Folder().Path + "book.bin";
  std::size_t i = 0, found = 0;
  std::vector<BookMoveShare> moves;
  for (auto _ : state) {
    const Probe& p = probes[i++ % probes.size()];
    found += LookUpBook(book, p.Pos, p.ToMove, moves, message) == 0;
  }
  state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookUpBook);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
