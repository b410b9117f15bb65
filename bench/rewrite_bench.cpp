// Sorting by date and checking for duplicates a Kisen database of 1 000 000 games. The
// database is written once into the temporary folder (kept there between runs, so that a
// second run measures the commands alone) from games of random legal moves: a pool of 10 000
// games of 120 plies, each cut after every length from 21 to 120 plies, so that almost every
// game of the database ends on a board of its own. Dates are spread over 1950..2019 in a random
// order, or sorted with the oldest tenth appended at the end (a sorted database after a merge of
// older games, the sort's hardest order). The peak resident size of the process is reported.
//
// The duplicate check also runs on two databases in which many games end on one board: every
// tenth game (100 000 games, 4 999 950 000 pairs: more than a search list can count, so the
// check ends with its refusal) or every hundredth (10 000 games, 49 995 000 pairs and the
// few the random games add, written into the list file) holds one other random game. They
// are shared100000.idx and shared10000.idx in the folder, where `shogi-tool db --folder DIR
// dupes DIR/shared100000.idx` can be measured too.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "database/date_sort.h"
#include "database/duplicates.h"
#include "fixtures/synthetic_database.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr int kGames = 1000000;
constexpr int kPool = 10000;
constexpr int kLengths = 100;
constexpr int kShortest = 21;

std::string Folder() {
  return (std::filesystem::temp_directory_path() / "shogi_rewrite_bench").string() + "/";
}

// The database `name` with its dates in one of the two orders, written unless it is there;
// with `shared` games (every kGames / shared-th) ending on one board of their own.
DatabasePaths Database(const std::string& name, bool appended_older, int shared = 0) {
  DatabasePaths paths;
  std::string message;
  if (DatabasePathsOf(Folder() + name + ".idx", paths, message) != 0) std::abort();
  const std::string index_path = paths.Index(kKisenFormat), moves_path = paths.Moves(kKisenFormat);
  std::error_code error;
  if (std::filesystem::file_size(moves_path, error) == std::uint64_t{512} * kGames) return paths;
  std::filesystem::create_directories(Folder());

  std::mt19937 random(12345);
  std::vector<int> days(kGames);
  for (int& d : days) d = static_cast<int>(random() % (70 * 372));
  if (appended_older) {
    std::sort(days.begin(), days.end());
    std::rotate(days.begin(), days.begin() + kGames / 10, days.end());
  }
  std::ofstream index(index_path, std::ios::binary), moves(moves_path, std::ios::binary);
  std::uint8_t record[kMaxIndexRecordBytes] = {}, block[kMoveBlockBytes];
  const std::uint32_t count = kGames;
  for (int i = 0; i < 4; ++i) record[i] = static_cast<std::uint8_t>(count >> (8 * i));
  index.write(reinterpret_cast<const char*>(record), 32);
  static GameRecord game;
  const DatabaseNames names;
  std::uint8_t shared_block[kMoveBlockBytes];
  if (shared > 0) {
    std::mt19937 other(777);
    test::RandomGame(Handicap::kEven, kShortest + kLengths - 1, other, game);
    kKisenFormat.EncodeBlock(game.MoveList, Handicap::kEven, 0, shared_block);
  }
  for (int pool = 0; pool < kPool; ++pool) {
    test::RandomGame(Handicap::kEven, kShortest + kLengths - 1, random, game);
    for (int length = kShortest; length < kShortest + kLengths; ++length) {
      const int n = pool * kLengths + length - kShortest;
      GameRecord cut = game;
      if (length < kMaxMoves) cut.MoveList[length] = MoveCode{};
      cut.Year = 1950 + days[n] / 372;
      cut.Month = 1 + days[n] / 31 % 12;
      cut.Day = 1 + days[n] % 31;
      std::fill(std::begin(record), std::end(record), 0);
      kKisenFormat.WriteIndex(cut, 0, 0, names, record);
      kKisenFormat.EncodeBlock(cut.MoveList, Handicap::kEven, 0, block);
      const bool on_shared_board = shared > 0 && n % (kGames / shared) == 0;
      index.write(reinterpret_cast<const char*>(record), 32);
      moves.write(reinterpret_cast<const char*>(on_shared_board ? shared_block : block),
                  kMoveBlockBytes);
    }
  }
  if (!index || !moves) std::abort();
  return paths;
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// ソート of a fresh copy of the database (the copy is not timed).
void BM_SortDatabase(benchmark::State& state) {
  const bool appended = state.range(0) != 0;
  const DatabasePaths master = Database(appended ? "appended" : "random", appended);
  DatabasePaths work;
  std::string message;
  if (DatabasePathsOf(Folder() + "work.idx", work, message) != 0) std::abort();
  for (auto _ : state) {
    state.PauseTiming();
    for (const auto& [from, to] : {std::pair{master.Index(kKisenFormat), work.Index(kKisenFormat)},
                                   std::pair{master.Moves(kKisenFormat), work.Moves(kKisenFormat)}})
      std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    if (SortDatabase(kKisenFormat, work, false, {}, message) != 0)
      state.SkipWithError("sort failed");
  }
  state.SetItemsProcessed(state.iterations() * kGames);
  ReportPeakMemory(state);
}

// 重複ﾁｪｯｸ as the menu runs it, the pairs written into the folder's search list: on the
// random database the few games whose random moves met the same board, on the others also
// the games `shared` of them end on. The check ends with the pairs, or with its refusal when
// the list cannot count them.
void BM_FindDuplicates(benchmark::State& state) {
  const int shared = static_cast<int>(state.range(0));
  const DatabasePaths paths = shared == 0
                                  ? Database("random", false)
                                  : Database("shared" + std::to_string(shared), false, shared);
  int pairs = 0;
  std::string message;
  for (auto _ : state) {
    if (FindDuplicates(kKisenFormat, paths, Folder() + "KENSAKU.DAT", {}, pairs, message) != 0 &&
        message != kMessageNoMemoryToCheck)
      state.SkipWithError(message.c_str());
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  state.SetItemsProcessed(state.iterations() * kGames);
  ReportPeakMemory(state);
}

BENCHMARK(BM_SortDatabase)
    ->ArgName("appended_older")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_FindDuplicates)
    ->ArgName("shared")
    ->Arg(0)
    ->Arg(100000)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
