// The score graph's geometry.
#include "shell/score_graph.h"

#include <algorithm>

#include "shell/record_analysis_commands.h"

namespace shogi {
namespace {

// The plot inside the frame of the graph.
constexpr Rect kPlot = RectFromTo(kScoreGraphRect.X + 6, kScoreGraphRect.Y + 4,
                                  kScoreGraphRect.Right() - 6, kScoreGraphRect.Bottom() - 4);

int PlyX(int ply, int first, int last) {
  if (last <= first) return kPlot.X;
  return kPlot.X + (kPlot.Width - 1) * (ply - first) / (last - first);
}

int ScoreY(int cp) {
  const int held = std::clamp(cp, -kGraphScoreLimit, kGraphScoreLimit);
  const int half = (kPlot.Height - 1) / 2;
  return kPlot.Y + half - held * half / kGraphScoreLimit;
}

}  // namespace

ScoreGraph BuildScoreGraph(const ProgramState& state) {
  ScoreGraph g;
  const GameRecord& r = state.Record;
  g.FirstPly = r.StartIndex;
  g.LastPly = std::max(RecordEndPly(r), r.StartIndex + 1);
  g.ZeroY = ScoreY(0);
  g.ShownX = PlyX(r.PlyCount, g.FirstPly, g.LastPly);
  if (!ScoresFitRecord(state)) return g;
  for (int ply = g.FirstPly; ply <= g.LastPly; ++ply) {
    if (!state.Scores.Has(ply)) continue;
    const FirstScore& s = state.Scores.At(ply).Score;
    const bool mate = s.Type == FirstScore::Kind::kMate;
    const int cp = mate ? (s.FirstMates ? kGraphScoreLimit : -kGraphScoreLimit) : s.Cp;
    g.Points.push_back({ply, PlyX(ply, g.FirstPly, g.LastPly), ScoreY(cp), mate});
  }
  return g;
}

int GraphPlyAt(const ProgramState& state, int x, int y) {
  if (!state.Display.ScoreGraph || !kScoreGraphRect.Contains(x, y)) return -1;
  const GameRecord& r = state.Record;
  const int first = r.StartIndex, last = std::max(RecordEndPly(r), first + 1);
  const int span = std::max(kPlot.Width - 1, 1);
  const int ply =
      first +
      ((std::clamp(x, kPlot.X, kPlot.Right() - 1) - kPlot.X) * (last - first) + span / 2) / span;
  return std::min(ply, RecordEndPly(r));
}

}  // namespace shogi
