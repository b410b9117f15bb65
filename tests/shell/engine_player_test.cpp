// Outside engines as players through the game driver, against the scripted stand-in engine:
// moves, resignation, and every failure (timeout, crash, illegal move, a declared win) a
// suspended game with the record kept and the engine ended; the stop request sends "stop"
// while the messages are pumped. Optionally a whole game against fairy-stockfish.
#include "players/engine_player.h"

#include <gtest/gtest.h>

#include <fstream>

#include "shell/conditions_dialog.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

class EnginePlayerTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    engines.SetLimits({2, 0.5});
    ctx.Engines = &engines;
  }

  // Registers the stand-in engine in `mode`, logging to the test's folder; returns its kind.
  int AddEngine(const std::string& mode, int byoyomi = 1) {
    EngineEntry e;
    e.Name = "Fake " + mode;
    e.Command = std::string(SHOGI_FAKE_USI_ENGINE) + " " + mode + " " + LogPath(mode);
    e.ByoyomiSeconds = byoyomi;
    list.push_back(e);
    engines.SetList(list);
    return kFirstEnginePlayer + static_cast<int>(list.size()) - 1;
  }
  std::string LogPath(const std::string& mode) { return dir.Path() + mode + ".log"; }
  std::string Log(const std::string& mode) { return test::FileBytes(LogPath(mode)); }

  test::TempFolder dir;
  EngineList list;
  EnginePlayer engines{&state.AbortFlag};
};

TEST_F(EnginePlayerTest, ConditionsDialogListsTheEnginesAfterTheBuiltInPlayers) {
  AddEngine("good");
  AddEngine("resign");
  StartWith(0, 0);
  ASSERT_EQ(ui.ConditionsShown.size(), 1u);
  const std::vector<std::string> players = ComputerPlayerList(false, ui.ConditionsShown[0].Engines);
  ASSERT_EQ(players.size(), 12u);
  EXPECT_EQ(players[10], "Fake good");
  EXPECT_EQ(PlayerKindOfText("Fake resign", false, {"Fake good", "Fake resign"}),
            kFirstEnginePlayer + 1);
  EXPECT_EQ(PlayerKindOfText("思考ﾚﾍﾞﾙ3", false, {"思考ﾚﾍﾞﾙ3"}), 3);  // built-in wins
  EXPECT_EQ(PlayerKindOfText("Nobody", false, {"Fake good"}), kPersonPlayer);
}

TEST_F(EnginePlayerTest, EngineAnswersThePersonAndPlaysOnItsByoyomi) {
  const int kind = AddEngine("good", 3);
  StartWith(kPersonPlayer, kind);
  PersonMove("7g7f");
  ASSERT_EQ(state.InteractionState, kStateGame) << ui.LastMessage();
  EXPECT_EQ(state.Message.Lines[0], kYourTurnMessage);
  PersonMove("2g2f");
  EXPECT_EQ(test::SplitUsi(Moves()).size(), 4u);
  EXPECT_EQ(engines.LastInfo().Score, 42);
  const std::string log = Log("good");
  EXPECT_EQ(log.rfind("usi\nisready\nusinewgame\nposition startpos moves 7g7f\n"
                      "go btime 0 wtime 0 byoyomi 3000\n",
                      0),
            0u)
      << log;
}

TEST_F(EnginePlayerTest, FailuresSuspendTheGameKeepTheMovesAndEndTheEngine) {
  struct Row {
    const char* mode;
    const char* detail;  // in the message after the prefix
    bool told_to_quit;   // the engine still read "quit" (it had not ended on its own)
  };
  const Row rows[] = {
      {"silent", "エンジンが時間内に bestmove を返しませんでした。", true},
      {"crash", "エンジンが bestmove の前に終了しました。", false},
      {"illegal", "エンジンが反則手 5i5g を指しました。", true},
      {"win", "エンジンが入玉勝ちを宣言しました", true},
      // Killed without a word after its silence at the start.
      {"mute", "エンジンが時間内に usiok を返しませんでした。", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.mode);
    SetUp();
    list.clear();
    engines.SetList(list);
    const int kind = AddEngine(r.mode);
    StartWith(kPersonPlayer, kind);
    // "crash" answers its first "go" and ends at the second.
    PersonMove("7g7f");
    if (std::string(r.mode) == "crash") {
      ASSERT_EQ(state.InteractionState, kStateGame);
      PersonMove("2g2f");
    }
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(state.Record.ResultCode, kResultNone);
    const std::string message = ui.LastMessage();
    EXPECT_EQ(message.rfind(kEngineFailurePrefix, 0), 0u) << message;
    EXPECT_NE(message.find(r.detail), std::string::npos) << message;
    const std::vector<std::string> moves = test::SplitUsi(Moves());
    EXPECT_EQ(moves.back(), std::string(r.mode) == "crash" ? "2g2f" : "7g7f");
    const std::string log = Log(r.mode);
    EXPECT_EQ(log.size() >= 5 && log.compare(log.size() - 5, 5, "quit\n") == 0, r.told_to_quit)
        << log;
  }
}

TEST_F(EnginePlayerTest, ResignationEndsTheGameForThePerson) {
  const int kind = AddEngine("resign");
  StartWith(kind, kPersonPlayer);
  EXPECT_EQ(state.Record.ResultCode, kResultSecondWins);
  EXPECT_EQ(ui.LastMessage(), kComputerResignsMessage);
}

// The right-click stop while the engine thinks: the pump runs while it waits, the request
// sends "stop", and the game is suspended before the engine's move.
TEST_F(EnginePlayerTest, StopRequestSendsStopAndSuspends) {
  const int kind = AddEngine("think", 30);
  int pumps = 0;
  ui.OnPump = [&] {
    if (++pumps == 10) {
      ui.MessageAnswers.push_back(MessageAnswer::kYes);
      RequestStop(ctx);
    }
  };
  StartWith(kind, kPersonPlayer);
  EXPECT_GE(pumps, 10);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(Moves(), "");
  EXPECT_NE(Log("think").find("go btime 0 wtime 0 byoyomi 30000\nstop\n"), std::string::npos)
      << Log("think");
  // The engine is kept for the next game and still answers.
  ui.OnPump = nullptr;
  engines.SetByoyomiCap(1000);
  StartWith(kind, kPersonPlayer);
  EXPECT_EQ(test::SplitUsi(Moves()).size(), 1u) << ui.LastMessage();
}

// Optional: a whole game of two fairy-stockfish engines through the driver, when installed.
TEST_F(EnginePlayerTest, WholeGameAgainstFairyStockfish) {
  const char* path = "/usr/games/fairy-stockfish";
  if (!std::ifstream(path)) GTEST_SKIP() << "fairy-stockfish is not installed";
  EngineEntry e;
  e.Name = "fairy-stockfish";
  e.Command = path;
  e.ByoyomiSeconds = 1;
  e.Values = {{"Skill Level", "-20"}, {"USI_Hash", "16"}};
  list.push_back(e);
  engines.SetList(list);
  engines.SetLimits({10, 5});
  engines.SetByoyomiCap(100);
  // Its strength is kept low and its time short; the game ends by the rules (a mate, a
  // repetition or the ply limit), never by a failure.
  StartWith(kFirstEnginePlayer, kFirstEnginePlayer);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_GT(test::SplitUsi(Moves()).size(), 10u);
  EXPECT_EQ(ui.LastMessage().find(kEngineFailurePrefix), std::string::npos) << ui.LastMessage();
}

}  // namespace
}  // namespace shogi
