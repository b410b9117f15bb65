// The game driver's own cost per move: the end checks and whole games between two
// computers that answer at once.
#include <benchmark/benchmark.h>

#include <string>

#include "rules/move_rules.h"
#include "shell/game_driver.h"
#include "shell/headless_user_interface.h"

namespace shogi {
namespace {

// A computer that plays a fixed pick among the legal moves, so that the game is the same on
// every run and the time measured is the driver's.
class PickingComputer : public ComputerPlayer {
 public:
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override {
    GameRecord record;
    record.InitialPosition = request.Shown;
    record.StartIndex = record.PlyCount = request.PlyCount & 1;
    LegalMoveList moves;
    int n = LegalMoves(record, request.Shown, moves);
    if (n == 0) return 0;
    int pick = (request.PlyCount * 31 + 7) % n;
    answer.Origin[0] = moves.origin[pick];
    answer.Destination[0] = moves.destination[pick];
    answer.Promote[0] = moves.promote[pick];
    return n;
  }
};

// A whole computer-against-computer game from the standard position, repetition check on.
void BM_ComputerGame(benchmark::State& bench) {
  ProgramState state;
  HeadlessUserInterface ui(1, 1);
  PickingComputer computer;
  ShellContext ctx{state, ui, &computer, nullptr};
  int plies = 0;
  for (auto _ : bench) {
    InitProgramState(state);
    StartGame(ctx, true);
    plies = state.Record.PlyCount;
  }
  bench.counters["plies"] = plies;
  bench.counters["result"] = state.Record.ResultCode;
  bench.SetItemsProcessed(bench.iterations() * plies);
}
BENCHMARK(BM_ComputerGame)->Unit(benchmark::kMillisecond);

// The end checks after the last move of a long game (kings walking to and fro with the
// repetition check on: RepetitionCount replays the whole record).
void BM_EndChecksAtPly(benchmark::State& bench) {
  const int plies = static_cast<int>(bench.range(0));
  ProgramState state;
  InitProgramState(state);
  const MoveCode walk[4] = {EncodeMove(77, 68, 0), EncodeMove(5, 14, 0), EncodeMove(68, 77, 0),
                            EncodeMove(14, 5, 0)};
  for (int i = 0; i < plies; ++i) state.Record.MoveList[i] = walk[i % 4];
  state.Record.PlyCount = plies;
  RebuildShown(state);
  for (auto _ : bench) {
    ProgramState copy = state;
    copy.InteractionState = kStateGame;
    std::string message;
    benchmark::DoNotOptimize(RunEndChecks(copy, message));
  }
}
BENCHMARK(BM_EndChecksAtPly)->Arg(2)->Arg(64)->Arg(255);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
