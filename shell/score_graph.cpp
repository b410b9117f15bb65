// The score graph's geometry.
#include "shell/score_graph.h"

#include <algorithm>

#include "shell/record_analysis_commands.h"

namespace shogi {
namespace {

// The plot inside the frame of the graph.
constexpr Rect Plot(GraphPlace place) {
  const Rect r = ScoreGraphRect(place);
  return RectFromTo(r.X + 6, r.Y + 4, r.Right() - 6, r.Bottom() - 4);
}

int PlyX(const Rect& plot, int ply, int first, int last) {
  if (last <= first) return plot.X;
  return plot.X + (plot.Width - 1) * (ply - first) / (last - first);
}

int ScoreY(const Rect& plot, int cp) {
  const int held = std::clamp(cp, -kGraphScoreLimit, kGraphScoreLimit);
  const int half = (plot.Height - 1) / 2;
  return plot.Y + half - held * half / kGraphScoreLimit;
}

}  // namespace

ScoreGraph BuildScoreGraph(const ProgramState& state, GraphPlace place) {
  ScoreGraph g;
  const Rect plot = Plot(place);
  const GameRecord& r = state.Record;
  g.FirstPly = r.StartIndex;
  g.LastPly = std::max(RecordEndPly(r), r.StartIndex + 1);
  g.ZeroY = ScoreY(plot, 0);
  g.ShownX = PlyX(plot, r.PlyCount, g.FirstPly, g.LastPly);
  if (!ScoresFitRecord(state)) return g;
  for (int ply = g.FirstPly; ply <= g.LastPly; ++ply) {
    if (!state.Scores.Has(ply)) continue;
    const FirstScore& s = state.Scores.At(ply).Score;
    const bool mate = s.Type == FirstScore::Kind::kMate;
    const int cp = mate ? (s.FirstMates ? kGraphScoreLimit : -kGraphScoreLimit) : s.Cp;
    g.Points.push_back({ply, PlyX(plot, ply, g.FirstPly, g.LastPly), ScoreY(plot, cp), mate});
  }
  return g;
}

int GraphPlyAt(const ProgramState& state, GraphPlace place, int x, int y) {
  if (!ScoreGraphRect(place).Contains(x, y)) return -1;
  const Rect plot = Plot(place);
  const GameRecord& r = state.Record;
  const int first = r.StartIndex, last = std::max(RecordEndPly(r), first + 1);
  const int span = std::max(plot.Width - 1, 1);
  const int ply =
      first +
      ((std::clamp(x, plot.X, plot.Right() - 1) - plot.X) * (last - first) + span / 2) / span;
  return std::min(ply, RecordEndPly(r));
}

}  // namespace shogi
