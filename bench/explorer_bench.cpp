// The position explorer on a Kisen database of 1 000 000 games: the pass over every game
// without an index (in games per second), building the position index of the first 60 moves
// (its seconds, positions and bytes per position) and answering from it (milliseconds).
//
// The games imitate a real collection: distinct games of random moves that, through their
// openings, keep to the few favourite continuations of each position (the first of three
// four times in five), straying more and more often as the game goes on, so that the early
// positions are shared by many games and most later ones belong to one game; 3 % start from
// a handicap. They are written once into $TMPDIR/shogi_explorer_bench (else /tmp) and
// reused while the files have the right sizes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "database/game_database.h"
#include "database/position_index.h"
#include "database/position_key.h"
#include "rules/game_record.h"
#include "rules/handicap.h"
#include "rules/movegen.h"

namespace shogi {
namespace {

constexpr int kGames = 1000000;
constexpr const DatabaseFormat& kFormat = kKisenFormat;

std::string BenchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/shogi_explorer_bench/";
}

// The chance that ply `ply` keeps to the position's favourites.
double FollowChance(int ply) {
  if (ply < 8) return 0.98;
  return ply < 48 ? 0.98 - 0.02 * (ply - 8) : 0.18;
}

// One game: moves the generator lists (never a capture of a king) until `length` moves.
void MakeGame(std::mt19937_64& rng, Handicap start, int length, GameRecord& game) {
  ResetGameRecord(game);
  game.InitialPosition = HandicapPosition(start);
  game.StartIndex = HandicapStartIndex(start);
  Position pos = game.InitialPosition;
  static MoveBuffer buffer;
  std::uniform_real_distribution<double> chance(0, 1);
  int ply = game.StartIndex;
  for (; ply < game.StartIndex + length && ply < kMaxMoves - 1; ++ply) {
    const Side side = SideOfPly(ply);
    buffer.count = 0;
    GeneratePseudoLegal(pos, side, buffer);
    int kept = 0;
    for (int i = 0; i < buffer.count; ++i) {
      if (TypeOf(pos.Board[DestinationOf(buffer.moves[i])]) != kKing)
        buffer.moves[kept++] = buffer.moves[i];
    }
    if (kept == 0) break;
    std::uint64_t pick = rng();
    if (chance(rng) < FollowChance(ply - game.StartIndex)) {
      const double which = chance(rng);
      const int favourite = which < 0.8 ? 0 : which < 0.95 ? 1 : 2;
      pick = KeyOf(pos, side).Primary >> (16 * favourite);
    }
    const MoveCode m = buffer.moves[pick % static_cast<std::uint64_t>(kept)];
    game.MoveList[ply] = m;
    ApplyMove(pos, m, side);
  }
  game.MoveList[ply] = MoveCode{};
}

bool HasRightSize(const DatabasePaths& paths) {
  std::error_code error;
  const auto index = std::filesystem::file_size(paths.Index(kFormat), error);
  if (error) return false;
  const auto moves = std::filesystem::file_size(paths.Moves(kFormat), error);
  return !error && index == (kGames + 1ull) * kFormat.IndexRecordBytes &&
         moves == kGames * static_cast<unsigned long long>(kMoveBlockBytes);
}

void WriteDatabase(const DatabasePaths& paths) {
  std::ofstream index(paths.Index(kFormat), std::ios::binary | std::ios::trunc);
  std::ofstream moves(paths.Moves(kFormat), std::ios::binary | std::ios::trunc);
  std::string header(kFormat.IndexRecordBytes, '\0');
  for (int i = 0; i < 4; ++i) header[i] = static_cast<char>(kGames >> (8 * i));
  index << header;
  std::mt19937_64 rng(2024);
  static GameRecord game;
  const DatabaseNames names;
  for (int n = 1; n <= kGames; ++n) {
    const Handicap start = rng() % 100 < 3 ? static_cast<Handicap>(1 + rng() % 7) : Handicap::kEven;
    MakeGame(rng, start, 40 + static_cast<int>(rng() % 121), game);
    game.Year = 1950 + static_cast<int>(rng() % 75);
    game.Month = 1 + static_cast<int>(rng() % 12);
    game.Day = 1 + static_cast<int>(rng() % 28);
    const int result = static_cast<int>(rng() % 20);
    game.ResultCode = result < 9 ? 1 : result < 18 ? 2 : result - 15;
    std::uint8_t record[kMaxIndexRecordBytes] = {}, block[kMoveBlockBytes];
    const int code = HandicapNumber(start, kFormat.Scheme);
    kFormat.EncodeBlock(game.MoveList, start, code, block);
    kFormat.WriteIndex(game, code, game.ResultCode, names, record);
    index.write(reinterpret_cast<const char*>(record), kFormat.IndexRecordBytes);
    moves.write(reinterpret_cast<const char*>(block), kMoveBlockBytes);
  }
}

const DatabasePaths& Database() {
  static DatabasePaths paths;
  if (!paths.Base.empty()) return paths;
  const std::string folder = BenchFolder();
  std::filesystem::create_directories(folder);
  std::string message;
  if (DatabasePathsOf(folder + "games.idx", paths, message) != 0) std::abort();
  if (!HasRightSize(paths)) WriteDatabase(paths);
  return paths;
}

// The positions asked: the start (every even game reaches it), the main line after 10
// moves, and the positions of game 4321 after 20, 40 and 60 moves.
enum Asked : int { kStart, kTen, kTwenty, kForty, kSixty };
ExplorerQuery QueryOf(int asked) {
  (void)Database();  // written before anything is timed
  ExplorerQuery query;
  if (asked == kStart || asked == kTen) {
    std::mt19937_64 rng(1);
    static GameRecord main_line;
    MakeGame(rng, Handicap::kEven, 10, main_line);
    query.Target = PositionAt(main_line, asked == kStart ? 0 : 10);
    return query;
  }
  static GameRecord game;
  std::string message;
  if (ReadGame(kFormat, Database(), DatabaseNames{}, 4321, game, message) != 4321) std::abort();
  const int ply = std::min(RecordEndPly(game), asked == kTwenty ? 20 : asked == kForty ? 40 : 60);
  query.Target = PositionAt(game, ply);
  query.ToMove = SideOfPly(ply);
  return query;
}

void Report(benchmark::State& state, const ExplorerAnswer& answer) {
  state.counters["games_found"] = answer.Games;
  state.counters["moves"] = static_cast<double>(answer.Moves.size());
}

// The pass over every game, without an index.
void BM_Scan(benchmark::State& state) {
  const ExplorerQuery query = QueryOf(static_cast<int>(state.range(0)));
  ExplorerAnswer answer;
  std::string message;
  for (auto _ : state) {
    if (ExploreByScan(kFormat, Database(), query, {}, answer, message) != 0)
      state.SkipWithError(message.c_str());
  }
  Report(state, answer);
  state.SetItemsProcessed(state.iterations() * kGames);
}

// The index of the first 60 moves, written anew.
void BM_IndexBuild(benchmark::State& state) {
  IndexBuildReport report;
  std::string message;
  for (auto _ : state) {
    if (BuildPositionIndex(kFormat, Database(), kDefaultExplorerPlies, {}, report, message) != 0)
      state.SkipWithError(message.c_str());
  }
  state.counters["positions"] = static_cast<double>(report.Positions);
  state.counters["distinct"] = static_cast<double>(report.Distinct);
  state.counters["MB"] = static_cast<double>(report.Bytes) / 1e6;
  state.counters["bytes_per_position"] =
      static_cast<double>(report.Bytes) / static_cast<double>(report.Positions);
}

// The answer from the index (built first when it is not current).
void BM_IndexQuery(benchmark::State& state) {
  const ExplorerQuery query = QueryOf(static_cast<int>(state.range(0)));
  ExplorerAnswer answer;
  std::string message;
  if (ExploreFromIndex(kFormat, Database(), query, answer) != IndexUse::kUsed) {
    IndexBuildReport report;
    if (BuildPositionIndex(kFormat, Database(), kDefaultExplorerPlies, {}, report, message) != 0)
      state.SkipWithError(message.c_str());
  }
  for (auto _ : state) {
    if (ExploreFromIndex(kFormat, Database(), query, answer) != IndexUse::kUsed)
      state.SkipWithError("the index did not answer");
  }
  Report(state, answer);
}

BENCHMARK(BM_Scan)
    ->ArgName("asked")
    ->Arg(kStart)
    ->Arg(kForty)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_IndexQuery)
    ->ArgName("asked")
    ->DenseRange(kStart, kSixty)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
