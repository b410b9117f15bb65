// The score graph under the board: where each position's score is drawn (the first
// player's view upward, a fixed scale, mates at its top or bottom), the shown ply's mark,
// and the ply a click on it asks for.
#pragma once

#include <vector>

#include "shell/program_state.h"
#include "shell/view_layout.h"

namespace shogi {

// Where the graph goes: under the board and the panels, or (a wide window) beside them; the
// layout grows by it.
enum class GraphPlace { kNone, kBelow, kBeside };
constexpr Rect kGraphBelowRect = RectFromTo(8, 388, 632, 470);
constexpr Rect kGraphBesideRect = RectFromTo(640, 10, 900, 380);
constexpr Rect ScoreGraphRect(GraphPlace place) {
  return place == GraphPlace::kBelow    ? kGraphBelowRect
         : place == GraphPlace::kBeside ? kGraphBesideRect
                                        : Rect{};
}
constexpr int LayoutWidth(GraphPlace place) {
  return place == GraphPlace::kBeside ? kGraphBesideRect.Right() + 8 : kViewWidth;
}
constexpr int LayoutHeight(GraphPlace place) {
  return place == GraphPlace::kBelow ? kGraphBelowRect.Bottom() + 6 : kViewHeight;
}
// The place of a shown graph in a view of `width` x `height` that fits its window: the one
// that lets the view be drawn larger (below on a tie).
constexpr GraphPlace FitGraphPlace(int width, int height) {
  const auto fit = [&](GraphPlace p) {
    return FitPercent(width, height, LayoutWidth(p), LayoutHeight(p));
  };
  return fit(GraphPlace::kBeside) > fit(GraphPlace::kBelow) ? GraphPlace::kBeside
                                                            : GraphPlace::kBelow;
}
// The scores at the graph's top and bottom edges (centipawns); beyond them and mates are
// drawn on the edge.
constexpr int kGraphScoreLimit = 2000;

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
ScoreGraph BuildScoreGraph(const ProgramState& state, GraphPlace place);

// The ply of the record nearest to layout point (x, y) on the graph at `place`, -1 off it.
int GraphPlyAt(const ProgramState& state, GraphPlace place, int x, int y);

}  // namespace shogi
