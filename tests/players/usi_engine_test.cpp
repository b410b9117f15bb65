// The USI client against a fake engine of ours: the handshake with options, the position
// command, moves, resignation, and every way an engine can fail - each a clear error within
// the time limits, never a hang. One optional case plays fairy-stockfish when it is there.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include <sys/stat.h>

#include "players/engine_player.h"
#include "players/usi_engine.h"
#include "tests/players/fake_engine.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::FakeEngine;

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
    const GameRecord record = test::MakeRecord(r.sfen, r.moves);
    EXPECT_EQ(UsiPositionCommand(record.InitialPosition, record.StartIndex, record.MoveList,
                                 RecordEndPly(record)),
              r.expected);
  }
}

TEST(UsiEngineTest, HandshakeOptionsAndAMove) {
  test::TempFolder dir;
  const std::string log = dir.Path() + "engine.log";
  UsiEngine engine;
  std::string message;
  ASSERT_EQ(engine.Start(FakeEngine("good", log), {{"Skill", "3"}, {"USI_Hash", "16"}}, message),
            0)
      << message;
  EXPECT_EQ(engine.Name(), "Fake Engine");
  ASSERT_EQ(engine.NewGame(message), 0);
  MoveCode move;
  EXPECT_EQ(engine.Go("position startpos moves 7g7f", 100, move, message), UsiEngine::Answer::kMove)
      << message;
  test::Game game;
  ASSERT_TRUE(game.Play("7g7f"));
  EXPECT_EQ(move, game.LegalMoves()[0]);
  engine.Quit();
  EXPECT_FALSE(engine.Started());
  EXPECT_EQ(test::FileBytes(log),
            "usi\nsetoption name Skill value 3\nsetoption name USI_Hash value 16\nisready\n"
            "usinewgame\nposition startpos moves 7g7f\ngo btime 0 wtime 0 byoyomi 100\nquit\n");
  // The options it offered, every type, names and defaults with spaces.
  ASSERT_EQ(engine.Options().size(), 6u);
  EXPECT_EQ(engine.Options()[4].Name, "Greeting");
  EXPECT_EQ(engine.Options()[4].Default, "hello there");
}

TEST(UsiTextTest, OptionLines) {
  using T = UsiOptionOffer::Type;
  struct Row {
    const char* line;
    bool ok;
    const char* name;
    T type;
    const char* def;
    int min, max;
    std::vector<std::string> choices;
  };
  const Row rows[] = {
      {"option name USI_Hash type spin default 256 min 1 max 4096",
       true,
       "USI_Hash",
       T::kSpin,
       "256",
       1,
       4096,
       {}},
      {"option name Skill Level type spin default -20 min -20 max 20",
       true,
       "Skill Level",
       T::kSpin,
       "-20",
       -20,
       20,
       {}},
      {"option name Ponder type check default false", true, "Ponder", T::kCheck, "false", 0, 0, {}},
      {"option name Style type combo default Normal var Solid var Normal",
       true,
       "Style",
       T::kCombo,
       "Normal",
       0,
       0,
       {"Solid", "Normal"}},
      {"option name EvalDir type filename default <empty>",
       true,
       "EvalDir",
       T::kFilename,
       "",
       0,
       0,
       {}},
      {"option name Clear Hash type button", true, "Clear Hash", T::kButton, "", 0, 0, {}},
      {"option name X type colour default red", false, "X", T::kString, "red", 0, 0, {}},
      {"option type spin default 1", false, "", T::kString, "1", 0, 0, {}},
      {"optional name X type check", false, "", T::kString, "", 0, 0, {}},
  };
  for (const Row& r : rows) {
    UsiOptionOffer offer;
    ASSERT_EQ(ParseUsiOptionLine(r.line, offer), r.ok) << r.line;
    if (!r.ok) continue;
    EXPECT_EQ(offer.Name, r.name) << r.line;
    EXPECT_EQ(offer.Kind, r.type) << r.line;
    EXPECT_EQ(offer.Default, r.def) << r.line;
    EXPECT_EQ(offer.Min, r.min) << r.line;
    EXPECT_EQ(offer.Max, r.max) << r.line;
    EXPECT_EQ(offer.Choices, r.choices) << r.line;
  }
}

TEST(UsiTextTest, InfoLinesMergeIntoTheSearchState) {
  UsiInfo info;
  EXPECT_FALSE(ParseUsiInfo("bestmove 7g7f", info));
  ASSERT_TRUE(
      ParseUsiInfo("info depth 7 seldepth 12 score cp -35 nodes 123456 nps 98765 pv "
                   "7g7f 3c3d",
                   info));
  EXPECT_EQ(info.Depth, 7);
  EXPECT_EQ(info.SelDepth, 12);
  EXPECT_TRUE(info.HasScore);
  EXPECT_FALSE(info.Mate);
  EXPECT_EQ(info.Score, -35);
  EXPECT_EQ(info.Nodes, 123456);
  EXPECT_EQ(info.Nps, 98765);
  EXPECT_EQ(info.Pv, (std::vector<std::string>{"7g7f", "3c3d"}));
  // A line with only some fields keeps the others; a string ends the line's fields.
  ASSERT_TRUE(ParseUsiInfo("info nodes 200000 string depth 99", info));
  EXPECT_EQ(info.Depth, 7);
  EXPECT_EQ(info.Nodes, 200000);
  struct Mate {
    const char* line;
    int score, sign;
  };
  for (const Mate& m : {Mate{"info score mate 5 pv 2b3c", 5, 1}, Mate{"info score mate -4", -4, -1},
                        Mate{"info score mate +", 0, 1}, Mate{"info score mate -", 0, -1}}) {
    ASSERT_TRUE(ParseUsiInfo(m.line, info));
    EXPECT_TRUE(info.Mate) << m.line;
    EXPECT_EQ(info.Score, m.score) << m.line;
    EXPECT_EQ(info.MateSign, m.sign) << m.line;
  }
  // Nonsense numbers change nothing.
  info = UsiInfo{};
  ASSERT_TRUE(ParseUsiInfo("info depth x nodes 99999999999999999999 score cp zz", info));
  EXPECT_EQ(info.Depth, 0);
  EXPECT_EQ(info.Nodes, 0);
  EXPECT_FALSE(info.HasScore);
}

TEST(UsiTextTest, GoCommandsAndTheirTime) {
  UsiGo clock;
  clock.FirstMs = 60000;
  clock.SecondMs = 30000;
  clock.ByoyomiMs = 5000;
  UsiGo movetime;
  movetime.Kind = UsiGo::Mode::kMoveTime;
  movetime.MoveTimeMs = 1500;
  UsiGo infinite;
  infinite.Kind = UsiGo::Mode::kInfinite;
  EXPECT_EQ(UsiGoCommand(clock), "go btime 60000 wtime 30000 byoyomi 5000");
  EXPECT_EQ(UsiGoCommand(movetime), "go movetime 1500");
  EXPECT_EQ(UsiGoCommand(infinite), "go infinite");
  EXPECT_DOUBLE_EQ(UsiGoSeconds(clock, true, 2), 67);
  EXPECT_DOUBLE_EQ(UsiGoSeconds(clock, false, 2), 37);
  EXPECT_DOUBLE_EQ(UsiGoSeconds(movetime, true, 2), 3.5);
  EXPECT_DOUBLE_EQ(UsiGoSeconds(infinite, true, 2), 0);
}

// A search polled without blocking: pending while the engine thinks, its info kept, "stop"
// brings the bestmove; an engine that ignores the time is an error after the margin.
TEST(UsiEngineTest, PolledSearchStopsOnRequest) {
  UsiEngine engine;
  engine.SetLimits({2, 0.5});
  std::string message;
  ASSERT_EQ(engine.Start(FakeEngine("think"), {}, message), 0) << message;
  UsiGo go;
  go.Kind = UsiGo::Mode::kInfinite;
  ASSERT_EQ(engine.BeginGo("position startpos", go, true, message), 0);
  MoveCode move;
  int pending = 0;
  for (int i = 0; i < 5; ++i) {
    if (engine.Poll(0.02, move, message) == UsiEngine::Answer::kPending) ++pending;
  }
  EXPECT_EQ(pending, 5);
  EXPECT_EQ(engine.Info().Score, 42);
  EXPECT_EQ(engine.Info().Pv.size(), 1u);
  engine.Stop();
  UsiEngine::Answer a;
  while ((a = engine.Poll(0.02, move, message)) == UsiEngine::Answer::kPending) {
  }
  EXPECT_EQ(a, UsiEngine::Answer::kMove) << message;
  EXPECT_FALSE(engine.Searching());

  UsiEngine silent;
  silent.SetLimits({2, 0.3});
  ASSERT_EQ(silent.Start(FakeEngine("silent"), {}, message), 0) << message;
  go.Kind = UsiGo::Mode::kMoveTime;
  go.MoveTimeMs = 100;
  ASSERT_EQ(silent.BeginGo("position startpos", go, true, message), 0);
  while ((a = silent.Poll(0.05, move, message)) == UsiEngine::Answer::kPending) {
  }
  EXPECT_EQ(a, UsiEngine::Answer::kError);
  EXPECT_EQ(message, "エンジンが時間内に bestmove を返しませんでした。");
}

// The engine is started without a shell: a path with spaces and shell characters is a path,
// never a command line to run.
TEST(UsiEngineTest, StartsFromAPathWithSpacesAndShellCharacters) {
  test::TempFolder folder;
  const std::string dir = folder.Path() + "my engines; touch $HOME";
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  const std::string path = dir + "/engine `touch pwned`";
  test::PutFileBytes(path, test::FileBytes(SHOGI_FAKE_USI_ENGINE));
  ASSERT_EQ(chmod(path.c_str(), 0700), 0);
  UsiEngine engine;
  std::string message;
  ASSERT_EQ(engine.Start(QuoteCommandWord(path) + " good", {}, message), 0) << message;
  EXPECT_EQ(engine.Name(), "Fake Engine");
  engine.Quit();
  EXPECT_FALSE(std::ifstream(folder.Path() + "pwned").good());
  EXPECT_FALSE(std::ifstream("pwned").good());
}

TEST(UsiEngineTest, FailuresAreErrorsInTime) {
  struct Row {
    const char* mode;
    bool starts;
    UsiEngine::Answer answer;  // of the first "go" when it starts
    const char* message;       // the start of the message
  };
  const Row rows[] = {
      {"mute", false, UsiEngine::Answer::kError, "エンジンが時間内に usiok を返しませんでした。"},
      // Ended after "usiok": seen when "isready" cannot be written or when reading.
      {"dies", false, UsiEngine::Answer::kError, "エンジンが"},
      {"silent", true, UsiEngine::Answer::kError,
       "エンジンが時間内に bestmove を返しませんでした。"},
      {"resign", true, UsiEngine::Answer::kResign, ""},
      {"/nonexistent/engine", false, UsiEngine::Answer::kError, "プログラムを起動できません。"},
  };
  for (const Row& r : rows) {
    const auto begin = std::chrono::steady_clock::now();
    UsiEngine engine;
    engine.SetLimits({0.5, 0.3});
    std::string message;
    const std::string command =
        std::string(r.mode)[0] == '/' ? std::string(r.mode) : FakeEngine(r.mode);
    const bool started = engine.Start(command, {}, message) == 0;
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

// The one adapter between an engine and a game: a legal move is the answer; an illegal move
// and a declared win (not a move the game can take) are failures with a message, a
// resignation is none.
TEST(EnginePlayerAnswers, MovesAreCheckedAgainstTheRules) {
  struct Row {
    const char* mode;
    int result;
    const char* error;
  };
  const Row rows[] = {
      {"good", 1, ""},
      {"illegal", 0, "エンジンが反則手 5i5g を指しました。"},
      {"resign", 0, ""},
      {"win", 0, "エンジンが入玉勝ちを宣言しました（bestmove win）。"},
  };
  for (const Row& r : rows) {
    EnginePlayer player(nullptr);
    EngineEntry entry;
    entry.Command = FakeEngine(r.mode);
    entry.ByoyomiSeconds = 1;
    player.SetList({entry});
    player.SetByoyomiCap(50);
    std::string message;
    ASSERT_EQ(player.Start(0, message), 0) << message;
    player.PrepareGame(0);
    test::Game game;
    ASSERT_TRUE(game.Play("2g2f"));
    ThinkRequest request;
    request.Strength = kFirstEnginePlayer;
    request.Shown = game.pos;
    request.Initial = game.record.InitialPosition;
    request.MoveList = game.record.MoveList;
    request.PlyCount = game.record.PlyCount;
    ComputerAnswer answer;
    EXPECT_EQ(player.Think(request, answer), r.result) << r.mode;
    EXPECT_EQ(player.LastError(), r.error) << r.mode;
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
  ASSERT_EQ(engine.Start(path, {{"Skill Level", "-20"}}, message), 0) << message;
  MoveCode move;
  ASSERT_EQ(engine.Go("position startpos", 100, move, message), UsiEngine::Answer::kMove)
      << message;
  EXPECT_TRUE(test::Game().IsLegal(move)) << FormatUsiMove(move);
}

}  // namespace
}  // namespace shogi
