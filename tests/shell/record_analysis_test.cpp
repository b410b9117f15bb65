// 棋譜解析: the marks of lost centipawns, the scores of "#評価値=" comments, the analysis
// written into the tree and read back from a KIF file, and the polled run (progress, stop,
// failures) with the stand-in engine and with the in-process player.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/cp932.h"
#include "records/kif.h"
#include "players/analysis_run.h"
#include "shell/record_analysis_commands.h"
#include "tests/players/fake_engine.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

constexpr FirstScore Cp(int cp) {
  return FirstScore{FirstScore::Kind::kCp, cp, 0, false};
}
constexpr FirstScore Mate(bool first_mates, int plies = 0) {
  return FirstScore{FirstScore::Kind::kMate, 0, plies, first_mates};
}

RecordScores ScoresOf(const std::vector<FirstScore>& by_ply) {
  RecordScores s;
  for (std::size_t i = 0; i < by_ply.size(); ++i) s.Set(static_cast<int>(i)).Score = by_ply[i];
  return s;
}

TEST(RecordAnalysisTest, MarksTheMoverOfWhatItLost) {
  struct Row {
    FirstScore before, after;
    int ply;  // even: the first player moved
    MoveMark mark;
  };
  const Row rows[] = {
      {Cp(100), Cp(-150), 0, MoveMark::kNone},      // 250 lost
      {Cp(100), Cp(-200), 0, MoveMark::kDoubtful},  // 300
      {Cp(100), Cp(-499), 0, MoveMark::kDoubtful},
      {Cp(100), Cp(-500), 0, MoveMark::kBad},   // 600
      {Cp(100), Cp(-500), 1, MoveMark::kNone},  // the second player gained it
      {Cp(-100), Cp(300), 1, MoveMark::kDoubtful},
      {Cp(2900), Cp(1000), 0, MoveMark::kBad},
      {Mate(true, 5), Cp(2800), 0, MoveMark::kNone},  // a mate counts as the cap
      {Mate(true), Mate(false, 3), 0, MoveMark::kBad},
      {Cp(5000), Cp(3200), 0, MoveMark::kNone},  // both beyond the cap
      {FirstScore{}, Cp(-900), 0, MoveMark::kNone},
  };
  for (const Row& r : rows) {
    RecordScores s;
    s.Set(r.ply).Score = r.before;
    s.Set(r.ply + 1).Score = r.after;
    EXPECT_EQ(MarkOfMove(s, r.ply, {}), r.mark) << r.before.Cp << " " << r.after.Cp;
  }
  RecordScores s = ScoresOf({Cp(0), Cp(-350)});
  EXPECT_EQ(MarkOfMove(s, 0, {400, 800}), MoveMark::kNone);  // thresholds are settable
  EXPECT_EQ(MarkOfMove(s, 0, {100, 300}), MoveMark::kBad);
}

// The thresholds as the window and the tool take them: "疑問手,悪手", sensible together.
TEST(RecordAnalysisTest, ThresholdsAreReadOnlyWhenTheyMakeSense) {
  const struct {
    const char* text;
    bool taken;
  } cases[] = {{"200,400", true}, {"1,1", true},      {"0,400", false}, {"500,400", false},
               {"300,3001", false}, {"300", false},   {"300,", false},  {",600", false},
               {"-1,600", false},  {"3 00,600", false}, {"300,600,900", false}};
  for (const auto& c : cases) {
    MarkThresholds t;
    EXPECT_EQ(ParseMarkThresholds(c.text, t), c.taken) << c.text;
    EXPECT_EQ(MarkThresholdsText(t), c.taken ? c.text : "300,600") << c.text;
  }
}

TEST(RecordAnalysisTest, ReadsScoreComments) {
  struct Row {
    const char* line;
    bool ok;
    FirstScore score;
  };
  const Row rows[] = {
      {"#評価値=123", true, Cp(123)},     {"#評価値=-40", true, Cp(-40)},
      {"#評価値=+7", true, Cp(7)},        {"#評価値=+詰7", true, Mate(true, 7)},
      {"#評価値=-詰", true, Mate(false)}, {"#評価値=", false, {}},
      {"#評価値=12a", false, {}},         {"#評価値=99999999999999", false, {}},
      {"評価値=12", false, {}},           {"#評価値=詰x", false, {}},
  };
  for (const Row& r : rows) {
    FirstScore score;
    EXPECT_EQ(ParseScoreComment(Cp932(r.line), score), r.ok) << r.line;
    if (r.ok) {
      EXPECT_EQ(score, r.score) << r.line;
    }
  }
}

// Writes the analysis into the tree, through a KIF file and back: the scores come back from
// the comments, the 悪手 has the engine's line as a variation, and a second pass replaces
// its own lines.
TEST(RecordAnalysisTest, AnnotatedRecordKeepsItsScoresThroughKif) {
  GameRecord record = test::MakeRecord("startpos", "7g7f 3c3d 2g2f 2b8h+");
  RecordScores scores = ScoresOf({Cp(40), Cp(60), Cp(50), Cp(-900), Mate(false, 3)});
  scores.Set(2).Pv = {"8h2b+", "3a2b", "B*4e"};  // before the 悪手 2g2f
  scores.Set(2).Best = "8h2b+";
  RecordTree tree;
  ASSERT_TRUE(AnnotateTree(tree, record, scores, {}));
  ASSERT_TRUE(AnnotateTree(tree, record, scores, {}));
  const std::string kif = FormatKif(record, tree, false);
  test::TempFolder dir;
  test::PutFileBytes(dir.Path() + "a.kif", kif);
  GameRecord read;
  RecordTree read_tree;
  std::string message;
  FileByteStream stream;
  ASSERT_TRUE(stream.Open(dir.Path() + "a.kif"));
  ASSERT_EQ(ReadKif(stream, false, read, read_tree, message), 0) << message;
  const RecordScores back = ScoresFromComments(read_tree, read);
  for (int ply = 0; ply <= 4; ++ply) {
    ASSERT_TRUE(back.Has(ply)) << ply;
    EXPECT_EQ(back.At(ply).Score, scores.At(ply).Score) << ply;
  }
  const std::string listing = TreeListing(read, read_tree);
  EXPECT_NE(listing.find("line 1: 7g7f 3c3d 8h2b+ 3a2b B*4e"), std::string::npos) << listing;
  const std::string text = Utf8(kif);
  EXPECT_NE(text.find("*#最善手=▲２二角成"), std::string::npos) << text;
  EXPECT_NE(text.find("*#読み筋=▲２二角成 △同　銀 ▲４五角"), std::string::npos) << text;
  EXPECT_NE(text.find("*#解析=悪手"), std::string::npos) << text;
  // Twice annotated, each line once.
  EXPECT_EQ(text.find("*#評価値=40"), text.rfind("*#評価値=40")) << text;
  EXPECT_EQ(text.find("*#解析=悪手"), text.rfind("*#解析=悪手")) << text;
}

// A run over the stand-in engine: every position of the range analysed in turn, the
// progress told, and a stop from the callback ending it at once.
TEST(RecordAnalysisTest, RunIsPolledAndStopsWhenAsked) {
  const std::string think = test::FakeEngine("think");
  const std::string good = test::FakeEngine("good");
  const GameRecord record = test::MakeRecord("startpos", "7g7f 3c3d 2g2f 8c8d");
  struct Row {
    std::string engine;
    AnalysisRange range;
    int stop_after;  // finished positions before the callback says stop (-1 never)
    RecordAnalysisRun::State end;
    int done;
  };
  const Row rows[] = {
      {good, {0, 99, 0.05}, -1, RecordAnalysisRun::State::kDone, 5},
      {good, {2, 3, 0.05}, -1, RecordAnalysisRun::State::kDone, 2},
      {think, {0, 4, 0.3}, 1, RecordAnalysisRun::State::kStopped, 1},
      {test::FakeEngine("illegal"), {0, 4, 0.05}, -1, RecordAnalysisRun::State::kFailed, 0},
  };
  for (const Row& r : rows) {
    UsiEngine engine;
    std::string message;
    ASSERT_EQ(engine.Start(r.engine, {}, message), 0) << message;
    UsiPositionAnalyser analyser(engine);
    RecordAnalysisRun run(analyser, record, r.range);
    int polls = 0;
    const auto begun = std::chrono::steady_clock::now();
    const auto progress = [&](const RecordAnalysisRun& rr, bool) {
      ++polls;
      return r.stop_after < 0 || rr.Done() < r.stop_after;
    };
    EXPECT_EQ(RunToEnd(run, progress, message, 0.01), r.end) << r.engine << message;
    EXPECT_EQ(run.Done(), r.done) << r.engine;
    EXPECT_GE(polls, r.done);
    for (int ply = r.range.First; ply < r.range.First + r.done; ++ply) {
      ASSERT_TRUE(run.Scores().Has(ply)) << ply;
      EXPECT_EQ(run.Scores().At(ply).Score, Cp(ply % 2 == 0 ? 42 : -42));
    }
    EXPECT_FALSE(run.Scores().Has(r.range.First + r.done));
    if (r.end == RecordAnalysisRun::State::kStopped) {
      // Stopped within the second position, well before its 0.3 s were over.
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
      EXPECT_LT(seconds, 0.55);
      EXPECT_FALSE(engine.Searching());
    }
  }
}

TEST(RecordAnalysisTest, InProcessPlayerScoresEveryPosition) {
  const GameRecord record = test::MakeRecord("startpos", "7g7f 3c3d 8h2b+");
  int abort = 0;
  InProcessPositionAnalyser analyser(1, &abort);
  RecordAnalysisRun run(analyser, record, {0, 99, 0.2});
  std::string message;
  ASSERT_EQ(RunToEnd(run, nullptr, message), RecordAnalysisRun::State::kDone) << message;
  ASSERT_EQ(run.Done(), 4);
  // After 角成 the second player is a bishop down: its best answer takes it back.
  EXPECT_EQ(run.Scores().At(3).Best, "3a2b");
  for (int ply = 0; ply <= 3; ++ply) EXPECT_TRUE(run.Scores().Has(ply)) << ply;
}

// The in-process player thinks within the window's poll and takes the window's messages
// meanwhile: what the person does then (a stop, the command again, closing the window, the
// timer ticking again) ends the run once the poll has returned, with the scores so far kept.
class RecordAnalysisCommandTest : public ShellFixture {};

TEST_F(RecordAnalysisCommandTest, WhatHappensWhileThePlayerThinksWaitsForIt) {
  MemoryProfile profile;
  const std::function<void()> asks[] = {
      [&] { StopRecordAnalysis(ctx); },
      [&] { ToggleRecordAnalysis(ctx, profile); },
      [&] { EXPECT_TRUE(NotifyClosing(state)); },
  };
  for (const auto& ask : asks) {
    SetUp();
    LoadSfen("startpos", "7g7f 3c3d 2g2f 8c8d");
    RecordAnalysisSession session;
    ctx.RecordRun = &session;
    for (const char* answer : {"1", "0.5", "0-4", "300,600"}) ui.TextAnswers.push_back(answer);
    ToggleRecordAnalysis(ctx, profile);
    ASSERT_TRUE(state.RecordAnalysing);
    int pumps = 0;
    ui.OnPump = [&] {
      ++pumps;
      EXPECT_TRUE(IsBusyState(state.InteractionState));
      EXPECT_EQ(TickRecordAnalysis(ctx).StartTimers, 0);  // the timer again: nothing happens
      if (state.Scores.Has(0) && state.AbortFlag == kAbortNone) ask();  // in the second position
    };
    for (int tick = 0; tick < 10 && state.RecordAnalysing; ++tick) TickRecordAnalysis(ctx);
    EXPECT_FALSE(state.RecordAnalysing);
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_TRUE(state.Scores.Has(0));
    EXPECT_FALSE(state.Scores.Has(1));
    EXPECT_TRUE(ui.Messages.empty()) << ui.Messages.front().Text;
    EXPECT_EQ(session.Run, nullptr);
  }
}

}  // namespace
}  // namespace shogi
