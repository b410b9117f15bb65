// 棋譜解析 in the window with fairy-stockfish (0.1 s a position): the graph filled, a click on
// it stepping the record, the marks, the analysis written into the comments; and the view
// fitting its window from 650 x 480 to 1600 x 1000 with a click-click move at each size.
#include <wx/stopwatch.h>

#include <cstdlib>

#include "platform/cp932.h"
#include "players/engine_list.h"
#include "players/engine_player.h"
#include "shell/navigation.h"
#include "shell/record_analysis_commands.h"
#include "shell/record_notes.h"
#include "shell/score_graph.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class AnalysisWindowTest : public GuiFixture {
 protected:
  // Pumps until `done` holds or `seconds` are over.
  template <typename F>
  bool PumpUntil(F done, double seconds) {
    wxStopWatch watch;
    while (!done()) {
      if (watch.Time() > seconds * 1000) return false;
      Pump();
      wxMilliSleep(10);
    }
    return true;
  }
  // The layout with its graph drawn whole inside the view, and not much smaller than that.
  void ExpectLayoutFits() {
    const wxSize client = view->GetClientSize();
    const GraphPlace place = view->GraphPlacement();
    EXPECT_NE(place, GraphPlace::kNone);
    const ViewScale& s = view->Scale();
    EXPECT_LE(s.Px(LayoutWidth(place)), client.x);
    EXPECT_LE(s.Px(LayoutHeight(place)), client.y);
    const ViewScale larger{s.Percent + 2};
    EXPECT_TRUE(larger.Px(LayoutWidth(place)) > client.x ||
                larger.Px(LayoutHeight(place)) > client.y);
    // Centred: as much room left of the picture as right of it, above it as below.
    const wxPoint o = view->Origin();
    EXPECT_LE(std::abs(2 * o.x + s.Px(LayoutWidth(place)) - client.x), 1);
    EXPECT_LE(std::abs(2 * o.y + s.Px(LayoutHeight(place)) - client.y), 1);
  }
  // The frame's client area made `width` x `height` and the view fitted to it.
  void ResizeFrame(int width, int height) {
    frame->SetSize(width, height);
    PumpUntil([&] { return frame->GetSize() == wxSize(width, height); }, 2);
    // The platform may widen the frame for its menu bar once it is laid out.
    for (int i = 0; i < 10; ++i) {
      Pump();
      wxMilliSleep(20);
    }
    view->Redraw();
    Pump();
  }
};

TEST_F(AnalysisWindowTest, FairyStockfishFillsTheGraphAndAClickStepsTheRecord) {
  const std::string path = "/usr/games/fairy-stockfish";
  if (!wxFileExists(path)) GTEST_SKIP() << "fairy-stockfish is not installed";
  EngineEntry engine;
  std::string message;
  ASSERT_EQ(ProbeEngine(QuoteCommandWord(path), {10, 5}, engine, message), 0) << message;
  engine.Values = {{"USI_Hash", "16"}};
  view->Engines().SetList({engine});
  // A short game with a blunder: the bishop exchange, then 銀 left hanging.
  LoadRecord("7g7f 3c3d 8h2b+ 3a2b B*4e 2b3c 4e3d 8c8d 3d2c+");
  ProgramState& s = view->State();
  ui.ListAnswers.push_back(0);                   // fairy-stockfish, not the in-process one
  ui.TextAnswers.push_back(std::string("0.1"));  // seconds a position
  ui.TextAnswers.push_back(std::string("0-9"));  // every position
  ui.TextAnswers.push_back(std::string("200,400"));  // the losses of a 疑問手 and a 悪手
  view->RunCommand(kCmdRecordAnalysis);
  ASSERT_TRUE(s.RecordAnalysing);
  EXPECT_EQ(MarkThresholdsText(s.Marks), "200,400");
  EXPECT_EQ(MarkThresholdsText(LoadMarkThresholds(profile)), "200,400");
  EXPECT_TRUE(s.Display.ScoreGraph);
  ui.MessageAnswers.push_back(MessageAnswer::kYes);  // write it into the record
  ASSERT_TRUE(PumpUntil([&] { return !s.RecordAnalysing; }, 20));
  ASSERT_TRUE(ScoresFitRecord(s));
  for (int ply = 0; ply <= 9; ++ply) EXPECT_TRUE(s.Scores.Has(ply)) << ply;
  ASSERT_EQ(view->GraphPlacement(), GraphPlace::kBelow);
  const ScoreGraph graph = BuildScoreGraph(s, GraphPlace::kBelow);
  EXPECT_EQ(graph.Points.size(), 10u);
  // The comments carry the scores.
  SyncNotes(s);
  EXPECT_FALSE(ScoresFromComments(s.Notes.Tree, s.Record).Empty());
  EXPECT_TRUE(s.Notes.Changed);
  // A click on the graph's point of ply 4 shows it.
  const GraphPoint& p4 = graph.Points[4];
  Click(wxPoint(p4.X, p4.Y));
  EXPECT_EQ(s.Record.PlyCount, 4);
  Click(wxPoint(graph.Points[9].X, kGraphBelowRect.Y + 5));
  EXPECT_EQ(s.Record.PlyCount, 9);
  Pump();
  SavePicture("score_graph");
  // Resting on a move of the list shows the engine's score and best move there.
  std::string tips;
  for (int line = 0; line < kMoveListLines; ++line) {
    const Rect r = MoveLineRect(line);
    Send(wxEVT_MOTION, OnScreen(wxPoint(r.X + r.Width / 2, r.Y + r.Height / 2)));
    tips += view->GetToolTipText().utf8_string();
  }
  EXPECT_NE(tips.find("評価値 "), std::string::npos) << tips;
  EXPECT_NE(tips.find("最善手 "), std::string::npos) << tips;
  Send(wxEVT_MOTION, OnScreen(wxPoint(kBoardPanelRect.X + 5, kBoardPanelRect.Y + 5)));
  EXPECT_TRUE(view->GetToolTipText().empty());
  // Marks in the move list follow the scores (any 悪手 leaves a variation in the tree).
  bool marked = false;
  for (int ply = 0; ply < 9; ++ply) marked |= MarkOfMove(s.Scores, ply, s.Marks) != MoveMark::kNone;
  if (marked) {
    EXPECT_NE(TreeListing(s.Record, s.Notes.Tree).find("line 1"), std::string::npos);
  }
}

// A right click stops a run of the in-process player at once; the scores so far stay.
TEST_F(AnalysisWindowTest, RightClickStopsTheRun) {
  LoadRecord("7g7f 3c3d 2g2f 8c8d 2f2e 8d8e");
  ProgramState& s = view->State();
  ui.TextAnswers.push_back(std::string("1"));  // level (no engine: the in-process player)
  ui.TextAnswers.push_back(std::string("1"));  // seconds a position
  ui.TextAnswers.push_back(std::string("2-6"));
  ui.TextAnswers.push_back(std::string("300,600"));
  view->RunCommand(kCmdRecordAnalysis);
  ASSERT_TRUE(s.RecordAnalysing);
  ASSERT_TRUE(PumpUntil([&] { return s.Scores.Has(2); }, 10));
  Send(wxEVT_RIGHT_DOWN, wxPoint(10, 10));
  Send(wxEVT_RIGHT_UP, wxPoint(10, 10));
  EXPECT_FALSE(s.RecordAnalysing);
  EXPECT_FALSE(s.Scores.Has(0));  // outside the range
  EXPECT_TRUE(s.Scores.Has(2));
}

// "ウィンドウに合わせる": the view follows the frame from 650 x 480 to 1600 x 1000, drawn at
// its size, and a click-click move lands on the square drawn at each size (bench/view_bench
// times the redraw after a move at 1600 x 1000).
TEST_F(AnalysisWindowTest, TheViewFitsItsWindowAndTheHitTestFollows) {
  view->RunCommand(kCmdScaleFit);
  view->RunCommand(kCmdShowScoreGraph);
  ResizeFrame(650, 480);
  ExpectLayoutFits();
  const int small = view->Scale().Percent;
  SavePicture("fit_650x480");
  StartPersonsGame();
  Click(SquarePoint(SquareOf(7, 7)));
  Click(SquarePoint(SquareOf(7, 6)));
  EXPECT_EQ(Moves(), "7g7f");

  ResizeFrame(1600, 1000);
  ExpectLayoutFits();
  const int large = view->Scale().Percent;
  EXPECT_GT(large, small * 3 / 2) << small;
  // Pieces drawn at the size they are shown, not stretched.
  EXPECT_EQ(view->Art().Image(PieceImageId(kPawn)).GetWidth(), view->Scale().Px(kPieceWidth));
  Click(SquarePoint(SquareOf(3, 3)));
  Click(SquarePoint(SquareOf(3, 4)));
  EXPECT_EQ(Moves(), "7g7f 3c3d");
  Pump();
  SavePicture("fit_1600x1000");
  frame->Close(true);
  EXPECT_EQ(profile.GetInt(kSectionSettings, "FrameWidth", 0), 1600);
  frame = nullptr;
}

}  // namespace
}  // namespace shogi::gui
