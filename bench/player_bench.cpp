// The computer player's move times level by level at their own time budgets (10 s at
// level 1 up to 240 s at level 9), on three fixed positions: an opening, a middle game and
// an attack. The node count of each move doubles as a determinism signature.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/player_think.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace {

using namespace shogi;

struct Scene {
  const char* name;
  const char* moves;  // USI moves from the standard initial position
};
constexpr Scene kScenes[] = {
    {"opening", "7g7f 3c3d 2g2f 4c4d"},
    {"middle", "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b4b 5i6h 5a6b 6h7h 6b7b 5g5f 3a3b 4i5h 7b8b"},
    {"attack",
     "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d 8e8f 8g8f 8b8f 2d3d 2b8h+ 7i8h "
     "P*2h 3i2h B*2d"},
};

std::unique_ptr<GameRecord> RecordOf(const char* moves) {
  auto record = std::make_unique<GameRecord>();
  ResetGameRecord(*record);
  std::string text = moves, word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != ' ') {
      word += text[i];
      continue;
    }
    MoveCode m;
    if (!word.empty() && ParseUsiMove(word, m)) record->MoveList[record->PlyCount++] = m;
    word.clear();
  }
  return record;
}

void LevelMove(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  const Scene& scene = kScenes[state.range(1)];
  const auto record = RecordOf(scene.moves);
  const Position pos = PositionAt(*record, record->PlyCount);
  static MateTable table;
  table.Allocate();
  player::ThinkOutcome out;
  for (auto _ : state) {
    player::Thinker thinker;
    player::ThinkEnvironment env;
    env.mate_table = &table;
    out = thinker.Think(level, *record, pos, env);
    benchmark::DoNotOptimize(out);
  }
  state.counters["nodes"] = static_cast<double>(out.polls);
  state.counters["deep_scored"] = out.deep_scored;
  state.counters["second_tests"] = out.second_tests;
  state.SetLabel(std::string(scene.name) + " " + (out.result ? FormatUsiMove(out.move) : "resign"));
}

BENCHMARK(LevelMove)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
