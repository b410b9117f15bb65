// The score graph under the board: where each position's score is drawn (the first
// player's view upward, a fixed scale, mates at its top or bottom), the shown ply's mark,
// and the ply a click on it asks for.
#pragma once

#include <vector>

#include "shell/program_state.h"
#include "shell/view_layout.h"

namespace shogi {

// The graph's place in the layout, under the board panel and the hands; the layout is this
// much taller while it is shown.
constexpr Rect kScoreGraphRect = RectFromTo(8, 388, 632, 470);
constexpr int kViewHeightWithGraph = 476;
// The scores at the graph's top and bottom edges (centipawns); beyond them and mates are
// drawn on the edge.
constexpr int kGraphScoreLimit = 2000;

// The layout's height with or without the graph.
constexpr int LayoutHeight(bool graph) {
  return graph ? kViewHeightWithGraph : kViewHeight;
}

struct GraphPoint {
  int Ply = 0;
  int X = 0, Y = 0;
  bool Mate = false;
};
// What the graph shows of `state`: a point per scored position of the record from its
// start to its end (none when the scores belong to another record), the x of the shown ply.
struct ScoreGraph {
  std::vector<GraphPoint> Points;
  int ShownX = 0;
  int ZeroY = 0;
  int FirstPly = 0, LastPly = 0;
};
ScoreGraph BuildScoreGraph(const ProgramState& state);

// The ply of the record nearest to layout point (x, y) on the graph, -1 off it.
int GraphPlyAt(const ProgramState& state, int x, int y);

}  // namespace shogi
