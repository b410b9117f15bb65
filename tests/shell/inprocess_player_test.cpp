// The in-process computer player behind the game driver, and matches through the driver:
// games between levels end by the rules with legal moves only, the answer lists, the
// player names and the Elo estimate.
#include <gtest/gtest.h>

#include <cmath>

#include "players/inprocess_player.h"
#include "players/jsk_player_book.h"
#include "players/match.h"
#include "rules/move_rules.h"
#include "shell/match_game.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

class InProcessGameTest : public ShellFixture {
 protected:
  InProcessPlayer player{&state.AbortFlag};
  void SetUp() override {
    ShellFixture::SetUp();
    player.SetBudgetCap(0.05);
    ctx.InProcess = &player;
  }
};

// Replays the record and checks every move against the rules.
void ExpectLegalGame(const GameRecord& record) {
  GameRecord replay = record;
  Position pos = record.InitialPosition;
  for (int ply = record.StartIndex; ply < record.PlyCount; ++ply) {
    replay.PlyCount = ply;
    LegalMoveList legal;
    const int n = LegalMoves(replay, pos, legal);
    bool found = false;
    for (int i = 0; i < n && !found; ++i) found = legal.Move(i) == record.MoveList[ply];
    ASSERT_TRUE(found) << "ply " << ply << ": " << FormatUsiMove(record.MoveList[ply]);
    ApplyMove(pos, record.MoveList[ply], SideOfPly(ply));
  }
}

TEST_F(InProcessGameTest, LevelsPlayAGameToItsEndThroughTheDriver) {
  struct Row {
    int first, second;
    const char* sfen;
  };
  const Row rows[] = {
      {1, 2, "startpos"},
      {3, 1, "startpos"},
      // A 香落ち game: the second player (上手) moves first.
      {2, 3, "lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1"},
  };
  for (const Row& r : rows) {
    SetUp();
    LoadSfen(r.sfen);
    StartWith(r.first, r.second);
    EXPECT_EQ(state.InteractionState, kStateIdle) << r.first << "-" << r.second;
    EXPECT_GT(state.Record.PlyCount, state.Record.StartIndex + 20);
    EXPECT_TRUE(state.Record.ResultCode != kResultNone || state.Record.PlyCount >= kGamePlyLimit)
        << Moves();
    ExpectLegalGame(state.Record);
  }
}

TEST_F(InProcessGameTest, AnswersDropsWithoutPromotionAndRefusesBrokenRequests) {
  // Mate with a gold drop: the answer is the drop, promotion 0.
  LoadSfen("4k4/9/4P4/9/9/9/9/9/4K4 b G 1");
  ThinkRequest request;
  request.Strength = 3;
  request.Shown = state.Shown;
  request.Initial = state.Record.InitialPosition;
  request.MoveList = state.Record.MoveList;
  request.PlyCount = state.Record.PlyCount;
  ComputerAnswer answer;
  answer.Promote[0] = 7;
  ASSERT_EQ(player.Think(request, answer), 1);
  EXPECT_EQ(answer.Origin[0], DropOrigin(kGold));
  EXPECT_EQ(answer.Destination[0], SquareOf(5, 2));
  EXPECT_EQ(answer.Promote[0], 0);
  EXPECT_EQ(player.LastOutcome().source, player::MoveSource::kMate);
  request.PlyCount = kMaxMoves;
  EXPECT_EQ(player.Think(request, answer), 0);
  request.PlyCount = 0;
  request.MoveList = nullptr;
  EXPECT_EQ(player.Think(request, answer), 0);
}

TEST(MatchTest, PlayersAreNamedAsTheToolTakesThem) {
  struct Row {
    const char* text;
    bool ok;
    MatchPlayer::Kind kind;
    int level;
    const char* command;
  };
  const Row rows[] = {
      {"level:1", true, MatchPlayer::Kind::kLevel, 1, ""},
      {"level:9", true, MatchPlayer::Kind::kLevel, 9, ""},
      {"sikou", true, MatchPlayer::Kind::kSikou, 1, ""},
      {"usi:fairy-stockfish --x", true, MatchPlayer::Kind::kUsi, 1, "fairy-stockfish --x"},
      {"level:0", false, MatchPlayer::Kind::kLevel, 1, ""},
      {"level:10", false, MatchPlayer::Kind::kLevel, 1, ""},
      {"usi:", false, MatchPlayer::Kind::kLevel, 1, ""},
      {"gnu", false, MatchPlayer::Kind::kLevel, 1, ""},
  };
  for (const Row& r : rows) {
    MatchPlayer p;
    std::string message;
    EXPECT_EQ(ParseMatchPlayer(r.text, p, message) == 0, r.ok) << r.text;
    if (!r.ok) {
      EXPECT_FALSE(message.empty());
      continue;
    }
    EXPECT_EQ(p.Type, r.kind) << r.text;
    EXPECT_EQ(p.Level, r.level) << r.text;
    EXPECT_EQ(p.Command, r.command) << r.text;
    EXPECT_EQ(p.Label(), r.text);
  }
}

TEST(MatchTest, EloFromTheScore) {
  struct Row {
    int wins, losses, draws;
    bool defined;
    double difference, margin;
  };
  const Row rows[] = {
      {20, 20, 0, true, 0, 112}, {30, 10, 0, true, 190.8, 135.6}, {10, 30, 0, true, -190.8, 135.6},
      {0, 0, 40, true, 0, 0},    {40, 0, 0, false, 0, 0},         {0, 3, 0, false, 0, 0},
      {0, 0, 0, false, 0, 0},
  };
  for (const Row& r : rows) {
    const EloEstimate e = EstimateElo({r.wins, r.losses, r.draws});
    EXPECT_EQ(e.Defined, r.defined) << r.wins << "-" << r.losses << "-" << r.draws;
    if (!r.defined) continue;
    EXPECT_NEAR(e.Difference, r.difference, 0.5);
    EXPECT_NEAR(e.Margin, r.margin, 1.0);
  }
}

TEST(MatchTest, GamesAlternateColoursAndOpeningsAreReplayed) {
  MatchPlayer a, b;
  std::string message;
  ASSERT_EQ(ParseMatchPlayer("level:2", a, message), 0);
  ASSERT_EQ(ParseMatchPlayer("level:1", b, message), 0);
  MatchOptions options;
  options.Games = 4;
  options.Seconds = 0.05;
  options.Openings = {{"7g7f", "3c3d"}, {"2g2f"}};
  options.PlayGame = PlayMatchGame;
  std::vector<GameSummary> games;
  options.OnGame = [&](const GameSummary& g) { games.push_back(g); };
  MatchTally tally;
  ASSERT_EQ(RunMatch(a, b, options, tally, message), 0) << message;
  ASSERT_EQ(games.size(), 4u);
  EXPECT_EQ(tally.Games(), 4);
  const char* starts[] = {"7g7f 3c3d ", "7g7f 3c3d ", "2g2f ", "2g2f "};
  int a_score = 0;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(games[i].Number, i + 1);
    EXPECT_EQ(games[i].AFirst, i % 2 == 0);
    EXPECT_EQ(games[i].Moves.rfind(starts[i], 0), 0u) << games[i].Moves;
    a_score += games[i].AScore;
  }
  EXPECT_EQ(a_score, tally.Wins - tally.Losses);

  options.Openings = {{"7g7f", "7g7f"}};
  EXPECT_NE(RunMatch(a, b, options, tally, message), 0);
  EXPECT_EQ(message, "opening move 2 '7g7f' is not playable");
}

// The player's book is the file the settings name, read again when it changes: a file that is
// shorter than its records holds none, a missing one none, and the records come unscrambled.
TEST(JskPlayerBook, FollowsTheFileTheSettingsName) {
  const test::TempFolder folder;
  const std::string golden =
      test::FileBytes(std::string(SHOGI_TEST_DATA) + "/jsk/two_games.jsk");
  std::string path = folder.Path() + "book.jsk";
  JskPlayerBook book(&path);
  EXPECT_EQ(book.RecordCount(), 0);
  test::PutFileBytes(path, golden);
  ASSERT_EQ(book.RecordCount(), 2);
  player::BookRecord r;
  ASSERT_TRUE(book.ReadRecord(1, r));
  EXPECT_EQ(r.Slots[0], (MoveCode{player::kBookHandicapMark, 1}));
  EXPECT_FALSE(book.ReadRecord(2, r));
  test::PutFileBytes(path, golden.substr(0, 128 * 2));  // the header and one record
  EXPECT_EQ(book.RecordCount(), 1);
  path = folder.Path() + "other.jsk";
  EXPECT_EQ(book.RecordCount(), 0);
  EXPECT_FALSE(book.ReadRecord(0, r));
}

}  // namespace
}  // namespace shogi
