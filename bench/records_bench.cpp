// Reading and writing KIF, KI2 and CSA records of a 120-move game, in moves per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "records/csa.h"
#include "records/ki2.h"
#include "records/ki2_notation.h"
#include "records/kif.h"
#include "records/notation.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr int kGameMoves = 120;

// A game of legal moves chosen by a fixed pseudo-random sequence, with times, long enough
// to have kGameMoves moves (the first seed whose game lasts that long).
GameRecord MakeGame() {
  static LegalMoveList legal;
  for (unsigned seed = 1;; ++seed) {
    GameRecord r;
    ResetGameRecord(r);
    Position pos = r.InitialPosition;
    unsigned state = seed;
    int ply = 0;
    for (; ply < kGameMoves; ++ply) {
      r.PlyCount = ply;
      int n = LegalMoves(r, pos, legal);
      if (n == 0) break;
      state = state * 1103515245u + 12345u;
      const MoveCode m = legal.Move(static_cast<int>((state >> 8) % static_cast<unsigned>(n)));
      r.MoveList[ply] = m;
      r.MoveTimes[ply] = (ply >= 2 ? r.MoveTimes[ply - 2] : 0) + static_cast<int>(state % 97);
      ApplyMove(pos, m, SideOfPly(ply));
    }
    if (ply == kGameMoves) {
      r.PlyCount = 0;
      r.ResultCode = kResultFirstWins;
      return r;
    }
  }
}

const GameRecord& Game() {
  static const GameRecord game = MakeGame();
  return game;
}

std::string Ki2Text(const GameRecord& r) {
  std::string text = Cp932("先手：a\r\n後手：b\r\n");
  const NotationTables& t = Notation();
  for (int i = 0; i < kGameMoves; ++i) {
    text += FormatKi2Move(r, i, (i & 1) ? t.gote_mark : t.sente_mark);
    if (i % 6 == 5) text += "\r\n";
  }
  return text + "\r\n";
}

void BM_WriteKif(benchmark::State& state) {
  const GameRecord& r = Game();
  for (auto _ : state) benchmark::DoNotOptimize(FormatKif(r, true));
  state.SetItemsProcessed(state.iterations() * kGameMoves);
}

void BM_ReadKif(benchmark::State& state) {
  const std::string text = FormatKif(Game(), true);
  static GameRecord r;
  std::string message;
  for (auto _ : state) {
    MemoryByteStream stream(text);
    if (ReadKif(stream, r, message) != 0) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * kGameMoves);
}

void BM_ReadKifFile(benchmark::State& state) {
  const std::string path = "/tmp/records_bench.kif";
  std::string message;
  if (WriteKif(path, Game(), true, message) != 0) state.SkipWithError("write failed");
  static GameRecord r;
  for (auto _ : state) {
    if (ReadKif(path, r, message) != 0) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * kGameMoves);
  std::remove(path.c_str());
}

void BM_WriteCsa(benchmark::State& state) {
  const GameRecord& r = Game();
  std::string bytes, message;
  for (auto _ : state) {
    if (FormatCsa(r, true, bytes, message) != 0) state.SkipWithError("format failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kGameMoves);
}

void BM_ReadCsa(benchmark::State& state) {
  std::string text, message;
  if (FormatCsa(Game(), true, text, message) != 0) state.SkipWithError("format failed");
  static GameRecord r;
  for (auto _ : state) {
    MemoryByteStream stream(text);
    if (ReadCsa(stream, r, message) != 0) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * kGameMoves);
}

void BM_ReadKi2(benchmark::State& state) {
  const std::string text = Ki2Text(Game());
  static GameRecord r;
  std::string message;
  for (auto _ : state) {
    MemoryByteStream stream(text);
    if (ReadKi2(stream, r, message) != 0 || RecordMoveCount(r) != kGameMoves)
      state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * kGameMoves);
}

BENCHMARK(BM_WriteKif);
BENCHMARK(BM_ReadKif);
BENCHMARK(BM_ReadKifFile);
BENCHMARK(BM_WriteCsa);
BENCHMARK(BM_ReadCsa);
BENCHMARK(BM_ReadKi2);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
