// Registering games into, and reading games from, Kisen and Tarvel databases of 100 000
// games, in games per second. The databases are written once, in a temporary folder with a
// player list of 1000 names; every registration reaches the disk (it syncs its files).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "database/game_database.h"
#include "platform/cp932.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr int kGames = 100000;

// A game of 100 legal moves: at each ply the move that the ply number picks from the legal
// moves (the first 100-move game of such picks, so every game of the database is the same).
GameRecord MakeGame() {
  static LegalMoveList legal;
  for (int step = 3;; step += 2) {
    GameRecord r;
    ResetGameRecord(r);
    Position pos = r.InitialPosition;
    int ply = 0;
    for (; ply < 100; ++ply) {
      r.PlyCount = ply;
      if (LegalMoves(r, pos, legal) == 0) break;
      r.MoveList[ply] = legal.Move((ply * step) % legal.count);
      ApplyMove(pos, r.MoveList[ply], SideOfPly(ply));
    }
    if (ply < 100) continue;
    r.PlyCount = 0;
    r.ResultCode = kResultFirstWins;
    CopyCp932Field(r.FirstName, Cp932("棋士500段"));
    CopyCp932Field(r.SecondName, Cp932("棋士999段"));
    return r;
  }
}

// The folder with the lists and the two databases, removed at the end of the run.
struct BenchFolder {
  std::string Path;
  GameRecord Game;
  DatabasePaths Kisen, Tarvel;

  BenchFolder() {
    Path = (std::filesystem::temp_directory_path() /
            ("shogi_database_bench_" + std::to_string(getpid())))
               .string() +
           "/";
    std::filesystem::create_directories(Path);
    std::string players;
    for (int n = 1; n <= 999; ++n) {
      std::string number = std::to_string(n);
      players += number + std::string(6 - number.size(), ' ') + Cp932("棋士") + number +
                 Cp932("段") + "\r\n";
    }
    std::ofstream(Path + "KSNAME.DAT", std::ios::binary) << players;
    Game = MakeGame();
    std::string message;
    if (DatabasePathsOf(Path + "games.idx", Kisen, message) != 0 ||
        DatabasePathsOf(Path + "games.mix", Tarvel, message) != 0)
      std::abort();
    Write(kKisenFormat, Kisen);
    Write(kTarvelFormat, Tarvel);
  }
  ~BenchFolder() { std::filesystem::remove_all(Path); }

  // kGames copies of the game, each with a date of its own, written at once.
  void Write(const DatabaseFormat& format, const DatabasePaths& paths) {
    DatabaseNames names;
    LoadDatabaseNames(format, Path, names);
    std::uint8_t block[kMoveBlockBytes];
    const int code = 0;
    format.EncodeBlock(Game.MoveList, Handicap::kEven, code, block);
    const std::size_t bytes = format.IndexRecordBytes;
    std::string index(bytes * (kGames + 1), '\0'), moves;
    moves.reserve(kMoveBlockBytes * kGames);
    const std::uint32_t count = kGames;
    for (int i = 0; i < 4; ++i) index[i] = static_cast<char>(count >> (8 * i));
    for (int n = 1; n <= kGames; ++n) {
      GameRecord dated = Game;
      dated.Year = 1950 + n % 70;
      format.WriteIndex(dated, code, Game.ResultCode, names,
                        reinterpret_cast<std::uint8_t*>(index.data() + bytes * n));
      moves.append(reinterpret_cast<const char*>(block), kMoveBlockBytes);
    }
    std::ofstream(paths.Index(format), std::ios::binary) << index;
    std::ofstream(paths.Moves(format), std::ios::binary) << moves;
  }
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

const DatabaseFormat& FormatOfRange(const benchmark::State& state) {
  return state.range(0) == 0 ? kKisenFormat : kTarvelFormat;
}
const DatabasePaths& PathsOfRange(const benchmark::State& state) {
  return state.range(0) == 0 ? Folder().Kisen : Folder().Tarvel;
}

// 新規登録 (one new game per iteration; the database grows from 100 000 games) or 修正登録
// over a game in the middle.
void BM_Register(benchmark::State& state) {
  const DatabaseFormat& format = FormatOfRange(state);
  const bool over = state.range(1) != 0;
  DatabaseNames names;
  LoadDatabaseNames(format, Folder().Path, names);
  std::string message;
  for (auto _ : state) {
    int number = over ? kGames / 2 : 0;
    if (RegisterGame(format, PathsOfRange(state), names, Folder().Game, number, message) != 0)
      state.SkipWithError("registration failed");
  }
  state.SetItemsProcessed(state.iterations());
}

// Reading games spread over the database, with the name tables loaded once (a listing) or
// loaded for every game (a game chosen from the list, `db get`).
void BM_ReadGame(benchmark::State& state) {
  const DatabaseFormat& format = FormatOfRange(state);
  const bool load_lists = state.range(1) != 0;
  DatabaseNames names;
  LoadDatabaseNames(format, Folder().Path, names);
  static GameRecord r;
  std::string message;
  int n = 0;
  for (auto _ : state) {
    n = (n + 7919) % kGames + 1;
    const int read = load_lists
                         ? ReadGame(format, PathsOfRange(state), Folder().Path, n, r, message)
                         : ReadGame(format, PathsOfRange(state), names, n, r, message);
    if (read != n || RecordMoveCount(r) != 100) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations());
}

// Rates by the clock on the wall: a registration mostly waits for the disk.
BENCHMARK(BM_Register)->ArgNames({"tarvel", "over"})->ArgsProduct({{0, 1}, {0, 1}})->UseRealTime();
BENCHMARK(BM_ReadGame)->ArgNames({"tarvel", "lists"})->ArgsProduct({{0, 1}, {0, 1}})->UseRealTime();

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
