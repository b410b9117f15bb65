// The score graph: where a fitted view puts it, its points (mates on the edge, none for
// another record's scores) and the ply a click on it asks for.
#include "shell/score_graph.h"

#include <gtest/gtest.h>

#include "shell/record_analysis_commands.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

TEST(ScoreGraphTest, AFittedViewPutsTheGraphWhereItIsDrawnLarger) {
  struct Row {
    int width, height;
    GraphPlace place;
  } rows[] = {{978, 391, GraphPlace::kBeside},
              {1600, 911, GraphPlace::kBelow},
              {640, 476, GraphPlace::kBelow},
              {1800, 500, GraphPlace::kBeside}};
  for (const Row& r : rows) EXPECT_EQ(FitGraphPlace(r.width, r.height), r.place) << r.width;
}

TEST(ScoreGraphTest, PointsFollowTheScoresAndAClickNamesItsPly) {
  ProgramState state;
  state.Record = test::MakeRecord("startpos", "7g7f 3c3d 2g2f 8c8d");
  RecordScores scores;
  scores.Set(0).Score = {FirstScore::Kind::kCp, 0, 0, false};
  scores.Set(1).Score = {FirstScore::Kind::kCp, 5000, 0, false};
  scores.Set(2).Score = {FirstScore::Kind::kMate, 0, 3, false};
  KeepScores(state, scores);
  for (GraphPlace place : {GraphPlace::kBelow, GraphPlace::kBeside}) {
    const Rect r = ScoreGraphRect(place);
    const ScoreGraph g = BuildScoreGraph(state, place);
    ASSERT_EQ(g.Points.size(), 3u);
    EXPECT_EQ(g.Points[0].Y, g.ZeroY);
    EXPECT_LT(g.Points[1].Y, g.ZeroY);  // held at the top edge
    EXPECT_GT(g.Points[2].Y, g.ZeroY);  // the second player mates: the bottom edge
    EXPECT_TRUE(g.Points[2].Mate);
    EXPECT_EQ(g.Points[1].Y, 2 * g.ZeroY - g.Points[2].Y);
    for (const GraphPoint& p : g.Points) {
      EXPECT_TRUE(r.Contains(p.X, p.Y));
      EXPECT_EQ(GraphPlyAt(state, place, p.X, r.Y + 1), p.Ply);
    }
    EXPECT_EQ(GraphPlyAt(state, place, r.Right() - 1, r.Y + 1), 4);
    EXPECT_EQ(GraphPlyAt(state, place, r.X - 1, r.Y + 1), -1);
  }
  state.Record = test::MakeRecord("startpos", "7g7f 3c3d 2g2f");
  EXPECT_TRUE(BuildScoreGraph(state, GraphPlace::kBelow).Points.empty());
}

}  // namespace
}  // namespace shogi
