// The USI client against a fake engine of ours: the handshake with options, the position
// command, moves, resignation, and every way an engine can fail - each a clear error within
// the time limits, never a hang. One optional case plays fairy-stockfish when it is there.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "shell/usi_engine.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

std::string FakeEngine(const std::string& mode, const std::string& log = "") {
  return std::string(SHOGI_FAKE_USI_ENGINE) + " " + mode + (log.empty() ? "" : " " + log);
}

TEST(UsiPositionTest, StartposOrSfenWithTheMoves) {
  struct Row {
    const char* sfen;
    const char* moves;
    const char* expected;
  };
  const Row rows[] = {
      {"startpos", "", "position startpos"},
      {"startpos", "7g7f 3c3d", "position startpos moves 7g7f 3c3d"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", "8c8d",
       "position sfen lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1 moves 8c8d"},
      {"4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b",
       "position sfen 4k4/9/9/9/9/9/9/9/4K4 b G 1 moves G*5b"},
  };
  for (const Row& r : rows) {
    const GameRecord record = test_support::MakeRecord(r.sfen, r.moves);
    EXPECT_EQ(UsiPositionCommand(record.InitialPosition, record.StartIndex, record.MoveList,
                                 RecordEndPly(record)),
              r.expected);
  }
}

TEST(UsiEngineTest, HandshakeOptionsAndAMove) {
  test_support::TempFolder dir;
  const std::string log = dir.Path() + "engine.log";
  UsiEngine engine;
  std::string message;
  ASSERT_TRUE(engine.Start(FakeEngine("good", log), {{"Skill", "3"}, {"USI_Hash", "16"}}, message))
      << message;
  EXPECT_EQ(engine.Name(), "Fake Engine");
  ASSERT_TRUE(engine.NewGame(message));
  MoveCode move;
  EXPECT_EQ(engine.Go("position startpos moves 7g7f", 100, move, message), UsiEngine::Answer::kMove)
      << message;
  test_support::Game game;
  ASSERT_TRUE(game.Play("7g7f"));
  EXPECT_EQ(move, game.LegalMoves()[0]);
  engine.Quit();
  EXPECT_FALSE(engine.Started());
  EXPECT_EQ(test_support::FileBytes(log),
            "usi\nsetoption name Skill value 3\nsetoption name USI_Hash value 16\nisready\n"
            "usinewgame\nposition startpos moves 7g7f\ngo byoyomi 100\nquit\n");
}

TEST(UsiEngineTest, FailuresAreErrorsInTime) {
  struct Row {
    const char* mode;
    bool starts;
    UsiEngine::Answer answer;  // of the first "go" when it starts
    const char* message;       // the start of the message
  };
  const Row rows[] = {
      {"mute", false, UsiEngine::Answer::kError, "the engine did not answer 'usiok' in time"},
      // Ended after "usiok": seen when "isready" cannot be written or when reading.
      {"dies", false, UsiEngine::Answer::kError, "the engine "},
      {"silent", true, UsiEngine::Answer::kError, "the engine did not answer 'bestmove' in time"},
      {"resign", true, UsiEngine::Answer::kResign, ""},
      {"/nonexistent/engine", false, UsiEngine::Answer::kError, "the engine ended before 'usiok'"},
  };
  for (const Row& r : rows) {
    const auto begin = std::chrono::steady_clock::now();
    UsiEngine engine;
    engine.SetLimits({0.5, 0.3});
    std::string message;
    const std::string command =
        std::string(r.mode)[0] == '/' ? std::string(r.mode) : FakeEngine(r.mode);
    const bool started = engine.Start(command, {}, message);
    EXPECT_EQ(started, r.starts) << r.mode << ": " << message;
    if (started) {
      MoveCode move;
      message.clear();
      EXPECT_EQ(engine.Go("position startpos", 100, move, message), r.answer) << r.mode;
    }
    EXPECT_EQ(message.rfind(r.message, 0), 0u) << r.mode << ": " << message;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_LT(seconds, 3.0) << r.mode;
  }
}

TEST(UsiPlayerTest, MovesAreCheckedAgainstTheRules) {
  struct Row {
    const char* mode;
    int result;
    const char* error;
  };
  const Row rows[] = {
      {"good", 1, ""},
      {"illegal", 0, "the engine played the illegal move 5i5g"},
      {"resign", 0, ""},
  };
  for (const Row& r : rows) {
    UsiEngine engine;
    std::string message;
    ASSERT_TRUE(engine.Start(FakeEngine(r.mode), {}, message)) << message;
    UsiPlayer player(engine, 50);
    player.BeginGame(nullptr);
    test_support::Game game;
    ASSERT_TRUE(game.Play("2g2f"));
    ThinkRequest request;
    request.Strength = -1;
    request.Shown = game.pos;
    request.Initial = game.record.InitialPosition;
    request.MoveList = game.record.MoveList;
    request.PlyCount = game.record.PlyCount;
    ComputerAnswer answer;
    EXPECT_EQ(player.Think(request, answer), r.result) << r.mode;
    EXPECT_EQ(player.Error(), r.error) << r.mode;
    if (r.result > 0) {
      EXPECT_TRUE(
          game.IsLegal(EncodeMove(answer.Origin[0], answer.Destination[0], answer.Promote[0])));
    }
  }
}

// Optional: Debian's fairy-stockfish, when installed, answers a legal move at its weakest.
TEST(UsiEngineTest, FairyStockfishWhenPresent) {
  const char* path = "/usr/games/fairy-stockfish";
  if (!std::ifstream(path)) GTEST_SKIP() << "fairy-stockfish is not installed";
  UsiEngine engine;
  std::string message;
  ASSERT_TRUE(engine.Start(path, {{"Skill Level", "-20"}}, message)) << message;
  MoveCode move;
  ASSERT_EQ(engine.Go("position startpos", 100, move, message), UsiEngine::Answer::kMove)
      << message;
  EXPECT_TRUE(test_support::Game().IsLegal(move)) << FormatUsiMove(move);
}

}  // namespace
}  // namespace shogi
