// The window's redraw after a move, the view fitted to a frame of 1600 x 1000 with every
// display option on (score graph, move list, clocks): the time from the position changing to
// the screen showing it, paints included. Needs a display (the test command's Xvfb, or
// `xvfb-run bench/view_bench`).
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "platform/profile.h"
#include "rules/sfen.h"
#include "shell/command_ids.h"
#include "shell/display_options.h"
#include "shell/gui/main_frame.h"
#include "shell/navigation.h"

namespace shogi::gui {
namespace {

constexpr const char* kGame =
    "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b4b 5i6h 5a6b 6h7h 6b7b 5g5f 7b8b 4h5g 3a3b "
    "9g9f 9c9d 1g1f 1c1d 6i5h 4a5b 8h7g 7a7b 7i8h 6c6d 3g3f 5c5d 2i3g 4b4a 4g4f 4d4e";

// Runs pending events, paints included, until none is left.
void Pump() {
  for (int i = 0; i < 20; ++i) wxTheApp->Yield(true);
}

void BM_RedrawAfterMove(benchmark::State& bench) {
  MemoryProfile profile;
  SaveDisplayOptions(profile, DisplayOptions{true, true, true, true, true, 100});
  ViewOptions options;
  options.Settings = &profile;
  options.BindLibrary = false;
  auto* frame = new CMainFrame(options);
  frame->Show();
  frame->SetSize(1600, 1000);
  Pump();
  CShogiView* view = frame->View();
  view->RunCommand(kCmdScaleFit);
  view->RunCommand(kCmdShowScoreGraph);
  ProgramState& state = view->State();
  Position start;
  Side side = kFirst;
  int number = 0;
  std::string message;
  if (ParseSfen("startpos", start, side, number, message) != 0) {
    bench.SkipWithError(message.c_str());
    return;
  }
  ResetGameRecord(state.Record);
  state.Record.InitialPosition = start;
  std::istringstream moves(kGame);
  int plies = 0;
  for (std::string word; moves >> word && ParseUsiMove(word, state.Record.MoveList[plies]);) {
    ++plies;
  }
  view->ApplyUpdate(ShowPly(state, 0));
  Pump();
  long total_us = 0;
  int ply = 0;
  for (auto _ : bench) {
    // One ply on, to the end of the game and back to its start.
    ply = ply < plies ? ply + 1 : 0;
    view->ApplyUpdate(ShowPly(state, ply));
    total_us += view->LastApplyMicroseconds();
  }
  const wxSize client = view->GetClientSize();
  bench.counters["width"] = client.x;
  bench.counters["height"] = client.y;
  bench.counters["scale%"] = view->Scale().Percent;
  bench.counters["apply_us"] =
      static_cast<double>(total_us) / static_cast<double>(bench.iterations());
  frame->Destroy();
  Pump();
}
BENCHMARK(BM_RedrawAfterMove)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace shogi::gui

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "wxWidgets could not start (is there a display?)\n");
    return 1;
  }
  wxInitAllImageHandlers();
  benchmark::RunSpecifiedBenchmarks();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
