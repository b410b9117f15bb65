// 検討: the score from the first player's view, the principal variation in Japanese (its
// untrusted moves checked), and the search restarted on another position and stopped.
#include "players/engine_analysis.h"

#include <gtest/gtest.h>

#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

TEST(EngineAnalysisTest, ScoresFromTheFirstPlayersView) {
  struct Row {
    const char* info;
    bool first_to_move;
    const char* usi;
    const char* japanese;
  };
  const Row rows[] = {
      {"info score cp 120", true, "cp 120", "+120"},
      {"info score cp 120", false, "cp -120", "-120"},
      {"info score cp 0", false, "cp 0", "0"},
      {"info score mate 7", true, "mate 7", "先手勝ち 7手詰"},
      {"info score mate 7", false, "mate -7", "後手勝ち 7手詰"},
      {"info score mate -4", false, "mate 4", "先手勝ち 4手詰"},
      {"info score mate +", false, "mate -", "後手勝ち 詰み"},
      {"info depth 3", true, "", ""},
  };
  for (const Row& r : rows) {
    UsiInfo info;
    ASSERT_TRUE(ParseUsiInfo(r.info, info));
    EXPECT_EQ(UsiScoreForFirst(info, r.first_to_move), r.usi) << r.info;
    EXPECT_EQ(JapaneseScoreForFirst(info, r.first_to_move), r.japanese) << r.info;
  }
}

TEST(EngineAnalysisTest, PrincipalVariationInJapaneseStopsAtAnIllegalMove) {
  const GameRecord record = test::MakeRecord("startpos", "7g7f 3c3d");
  struct Row {
    int ply;
    std::vector<std::string> pv;
    int max;
    const char* expected;
  };
  const Row rows[] = {
      {2, {"8h2b+", "3a2b", "B*4e"}, 8, "▲２二角成 △同　銀 ▲４五角"},
      {2, {"8h2b+", "3a2b", "B*4e"}, 2, "▲２二角成 △同　銀"},
      {1, {"8c8d", "2g2f"}, 8, "△８四歩 ▲２六歩"},
      {2, {"2g2f", "5i5g", "3a3b"}, 8, "▲２六歩"},  // the king cannot jump: the rest is dropped
      {2, {"junk"}, 8, ""},
      {9, {"2g2f"}, 8, ""},  // beyond the record
  };
  for (const Row& r : rows) {
    EXPECT_EQ(JapanesePv(record, r.ply, r.pv, r.max), r.expected) << r.ply;
  }
}

TEST(EngineAnalysisTest, RestartsOnAnotherPositionAndStops) {
  test::TempFolder dir;
  const std::string log = dir.Path() + "engine.log";
  EngineEntry entry;
  entry.Name = "Fake Engine";
  entry.Command = std::string(SHOGI_FAKE_USI_ENGINE) + " good " + log;
  EngineAnalysis analysis;
  analysis.SetLimits({2, 1});
  std::string message;
  GameRecord record = test::MakeRecord("startpos", "7g7f 3c3d");
  EXPECT_NE(analysis.Analyse(record, 0, message), 0);  // not started
  ASSERT_EQ(analysis.Start(entry, message), 0) << message;
  ASSERT_EQ(analysis.Analyse(record, 1, message), 0) << message;
  AnalysisView view;
  for (int i = 0; i < 200 && view.Pv.empty(); ++i) {
    ASSERT_EQ(analysis.Poll(message), 0) << message;
    view = analysis.View();
  }
  EXPECT_EQ(view.Engine, "Fake Engine");
  EXPECT_EQ(view.Position, "1手目 後手番");
  EXPECT_EQ(view.Score, "-42");  // +42 for the second player to move
  EXPECT_EQ(view.Depth, 1);
  EXPECT_EQ(view.Nodes, 1000);
  EXPECT_EQ(view.Pv.rfind("△", 0), 0u) << view.Pv;
  ASSERT_EQ(analysis.Analyse(record, 2, message), 0) << message;
  EXPECT_NE(analysis.Analyse(record, 3, message), 0);  // past the record's end
  analysis.Finish();
  EXPECT_FALSE(analysis.Running());
  EXPECT_EQ(test::FileBytes(log),
            "usi\nisready\nposition startpos moves 7g7f\ngo infinite\nstop\n"
            "position startpos moves 7g7f 3c3d\ngo infinite\nstop\nquit\n");
}

}  // namespace
}  // namespace shogi
