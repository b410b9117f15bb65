// Whole games through the driver with scripted persons and computers.
#include "shell/game_driver.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "shell/game_clock.h"
#include "shell/navigation.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

using test_support::ScriptedComputer;
using test_support::ScriptedUserInterface;

class GameDriverTest : public ShellFixture {
 protected:
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) GameClockTick(state);
  }
  // The person answers the next question with はい or いいえ.
  void Answer(bool yes) {
    ui.MessageAnswers.push_back(yes ? MessageAnswer::kYes : MessageAnswer::kNo);
  }
};

constexpr const char* kMateInOne = "4k4/9/4G4/9/9/9/9/9/4K4 b G 1";  // G*5b mates

TEST_F(GameDriverTest, MateAndStalemateEndTheGameWithTheWinner) {
  struct Case {
    const char* sfen;
    const char* move;
    int result;
    const char* message;
  } cases[] = {
      {kMateInOne, "G*5b", kResultFirstWins, "先手が勝ちました。"},
      {"4k4/9/9/9/9/9/4g4/9/4K4 w g 1", "G*5h", kResultSecondWins, "後手が勝ちました。"},
      // The second player's king on 1一 is not in check but cannot move.
      {"8k/9/7L1/8+P/9/9/9/9/4K4 b - 1", "1d1c", kResultFirstWins, "先手が勝ちました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sfen);
    SetUp();
    ui = ScriptedUserInterface{};
    LoadSfen(c.sfen);
    StartWith(0, 0, false);
    ASSERT_EQ(state.InteractionState, kStateGame);
    PersonMove(c.move);
    EXPECT_EQ(state.Record.ResultCode, c.result);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    ASSERT_FALSE(ui.Messages.empty());
    EXPECT_EQ(ui.Messages.back().Caption, "対局");
    EXPECT_EQ(ui.LastMessage(), c.message);
    EXPECT_EQ(Moves(), c.move);
    EXPECT_EQ(state.Message.Lines[0], "");
  }
}

TEST_F(GameDriverTest, FourthRepetitionEndsTheGameUnlessTheCheckIsOff) {
  const char* cycle[] = {"5i4h", "5a4b", "4h5i", "4b5a"};
  for (bool check : {true, false}) {
    SCOPED_TRACE(check);
    SetUp();
    ui = ScriptedUserInterface{};
    state.Settings.RepetitionCheck = check;
    StartWith(0, 0, false);
    for (int i = 0; i < 12; ++i) PersonMove(cycle[i % 4]);
    if (check) {
      EXPECT_EQ(state.Record.ResultCode, kResultRepetition);
      EXPECT_EQ(state.InteractionState, kStateIdle);
      EXPECT_EQ(ui.LastMessage(), "千日手です。");
      EXPECT_EQ(ResultText(state.Record), " 千日手です。");
    } else {
      EXPECT_EQ(state.InteractionState, kStateGame);
      EXPECT_TRUE(ui.Messages.empty());
      // Switching the check on during the game runs the end checks at once.
      ToggleRepetitionCheck(ctx);
      EXPECT_EQ(state.Record.ResultCode, kResultRepetition);
      EXPECT_EQ(state.InteractionState, kStateIdle);
      EXPECT_EQ(ui.LastMessage(), "千日手です。");
    }
    EXPECT_EQ(state.Record.PlyCount, 12);
  }
}

TEST_F(GameDriverTest, TwoComputersPlayUpToThePlyLimit) {
  state.Settings.RepetitionCheck = false;
  const char* first[] = {"5i4h", "4h5i"};
  const char* second[] = {"5a4b", "4b5a"};
  for (int i = 0; i < 128; ++i) {
    computer.Replies.push_back(ScriptedComputer::Move(first[i % 2]));
    library.Replies.push_back(ScriptedComputer::Move(second[i % 2]));
  }
  StartWith(3, -1);
  EXPECT_EQ(state.Record.PlyCount, 256);
  EXPECT_EQ(state.Record.ResultCode, kResultNone);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(ui.LastMessage(), "手数制限で、これ以上対局出来ません。");
  EXPECT_EQ(ResultText(state.Record), "指し掛けです。");
  // The library hears of the start once and of the end once, after its own last move.
  EXPECT_EQ(library.Count("begin"), 1);
  EXPECT_EQ(library.Count("end"), 1);
  EXPECT_EQ(library.Events.back(), "end");
  EXPECT_EQ(computer.Events.front(), "prepare 0");
  EXPECT_EQ(library.Requests.front().PlyCount, 1);

  // The game cannot be continued from ply 256.
  Answer(false);
  StartGame(ctx, false);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(state.Record.PlyCount, 256);
  EXPECT_EQ(ui.LastMessage(), "手数制限で、これ以上対局出来ません。");
}

TEST_F(GameDriverTest, PersonsResignWithTheirMenuCommand) {
  for (int moves_before : {0, 1}) {
    SetUp();
    ui = ScriptedUserInterface{};
    StartWith(0, 0, false);
    if (moves_before) PersonMove("7g7f");
    ResignGame(ctx);
    EXPECT_EQ(state.Record.ResultCode, moves_before ? kResultFirstWins : kResultSecondWins);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_EQ(state.Message.Lines[0], "");
  }
}

TEST_F(GameDriverTest, ComputersResignWithAnAnswerOfZero) {
  struct Case {
    int first_kind, second_kind;
    int result;
    const char* line;
    int library_ends;
  } cases[] = {
      {3, 0, kResultSecondWins, "後手の勝ちです", 0},
      {0, -1, kResultFirstWins, "先手の勝ちです", 1},
  };
  for (const Case& c : cases) {
    SetUp();
    ui = ScriptedUserInterface{};
    computer = ScriptedComputer{};
    library = ScriptedComputer{};
    (c.first_kind > 0 ? computer : library).Replies.push_back(ScriptedComputer::Resign());
    library.Replies.push_back(ScriptedComputer::Resign());
    StartWith(c.first_kind, c.second_kind);
    if (c.first_kind == 0) PersonMove("7g7f");
    EXPECT_EQ(state.Record.ResultCode, c.result);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(state.Message.Lines[0], c.line);
    EXPECT_EQ(ui.LastMessage(), "参りました。");
    EXPECT_EQ(ui.Messages.back().Caption, "対局");
    EXPECT_EQ(library.Count("end"), c.library_ends);
    EXPECT_TRUE(IsEndMarker(state.Record.MoveList[state.Record.PlyCount]));
  }
}

TEST_F(GameDriverTest, SuspensionKeepsThePositionAndTheClockOfTheSideToMove) {
  library.Replies.push_back(ScriptedComputer::Move("3c3d", [&] { Ticks(25); }));
  StartWith(0, -1);
  Ticks(30);
  PersonMove("7g7f");
  Ticks(15);
  SuspendGame(ctx);
  const GameRecord& r = state.Record;
  EXPECT_EQ(Moves(), "7g7f 3c3d");
  EXPECT_EQ(r.ResultCode, kResultNone);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(r.Clocks[0], 4);  // 3 s before the move, 1.5 s after the reply
  EXPECT_EQ(r.Clocks[1], 2);  // 2.5 s of thinking minus the first 100 ms
  EXPECT_EQ(r.MoveTimes[2], 4);
  EXPECT_EQ(library.Count("end"), 1);
}

TEST_F(GameDriverTest, StopRequestLeavesTheGameSuspendedBeforeTheComputersMove) {
  computer.Replies.push_back(ScriptedComputer::Move("3c3d", [&] {
    Ticks(12);
    Answer(true);
    RequestStop(ctx);
  }));
  StartWith(0, 2);
  PersonMove("7g7f");
  EXPECT_EQ(state.AbortFlag, kAbortStop);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(Moves(), "7g7f");
  EXPECT_EQ(state.Record.MoveTimes[1], 1);
  EXPECT_EQ(state.Message.Lines[0], "");
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Text, "思考を中断しますか？");
  EXPECT_EQ(ui.Messages[0].Caption, "コンピュータ");
}

TEST_F(GameDriverTest, ClosingDuringThinkingEndsTheProgram) {
  computer.Replies.push_back(ScriptedComputer::Move("7g7f", [&] {
    EXPECT_TRUE(NotifyClosing(state));  // a search is running: the window must wait
  }));
  StartWith(3, -1);
  EXPECT_EQ(ui.EndProgramCalls, std::vector<int>{0});
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(computer.Count("release"), 1);
  EXPECT_EQ(library.Count("end"), 1);
}

TEST_F(GameDriverTest, PromotionChoiceBothWaysAndCancelled) {
  enum Choice { kPromote, kKeep, kCancel };
  for (Choice choice : {kPromote, kKeep, kCancel}) {
    SetUp();
    ui = ScriptedUserInterface{};
    LoadSfen("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
    StartWith(0, 0, false);
    ViewUpdate u = PersonMove("5d5c");
    ASSERT_EQ(state.InteractionState, kStatePromotion);
    EXPECT_TRUE(u.Parts & kViewShowPromotion);
    EXPECT_EQ(state.Promotion.PlainCode, kSilver);
    EXPECT_EQ(state.Promotion.PromotedCode, kPromotedSilver);
    EXPECT_EQ(state.Shown.Board[SquareOf(5, 4)], kSilver);  // back on its square meanwhile
    if (choice == kCancel) {
      CancelPromotion(ctx);
      EXPECT_EQ(Moves(), "");
      EXPECT_EQ(state.Shown.Board[SquareOf(5, 4)], kSilver);
    } else {
      ChoosePromotion(ctx, choice == kPromote);
      EXPECT_EQ(Moves(), choice == kPromote ? "5d5c+" : "5d5c");
      EXPECT_EQ(state.Shown.Board[SquareOf(5, 3)], choice == kPromote ? kPromotedSilver : kSilver);
    }
    EXPECT_EQ(state.InteractionState, kStateGame);
    EXPECT_TRUE(ui.Messages.empty());
  }
}

TEST_F(GameDriverTest, IllegalPutDownIsRefusedSilently) {
  StartWith(0, 0, false);
  PersonMove("5i5g");
  EXPECT_EQ(state.Record.PlyCount, 0);
  EXPECT_EQ(state.Shown, kInitialPosition);
  EXPECT_EQ(state.InteractionState, kStateGame);
  EXPECT_TRUE(ui.Messages.empty());
  // Neither the other side's pieces nor a put-down outside the board do anything.
  GamePickUp(ctx, {BoardArea::kBoard, SquareOf(5, 1)});
  EXPECT_FALSE(state.Held.Active);
  GamePickUp(ctx, {BoardArea::kBoard, SquareOf(7, 7)});
  GameRelease(ctx, {BoardArea::kFirstHand, kPawn});
  EXPECT_EQ(state.Shown, kInitialPosition);
}

TEST_F(GameDriverTest, CommandsDuringADragPutThePieceBack) {
  StartWith(0, 0, false);
  GamePickUp(ctx, {BoardArea::kBoard, SquareOf(7, 7)});
  ASSERT_EQ(state.Shown.Board[SquareOf(7, 7)], 0);
  SuspendGame(ctx);
  EXPECT_FALSE(state.Held.Active);
  EXPECT_EQ(state.Shown, kInitialPosition);
  EXPECT_EQ(state.Record.MoveTimes[0], 0);
}

TEST_F(GameDriverTest, ImpossibleStartPositionsAreRefused) {
  struct Case {
    const char* sfen;
    bool computer_mode;
  } cases[] = {
      {"4k4/4G4/9/9/9/9/9/9/4K4 b - 1", false},  // the side not to move is in check
      {"4k4/9/9/9/9/9/9/9/9 b G 1", true},       // no first-player king, a computer game
  };
  for (const Case& c : cases) {
    SetUp();
    ui = ScriptedUserInterface{};
    LoadSfen(c.sfen);
    StartGame(ctx, c.computer_mode);
    EXPECT_EQ(ui.LastMessage(), "この局面から対局は出来ません。");
    EXPECT_EQ(ui.Messages.back().Caption, "対局");
    EXPECT_TRUE(ui.ConditionsShown.empty());
    EXPECT_EQ(state.InteractionState, kStateIdle);
  }
  // A mate problem is fine between persons.
  SetUp();
  ui = ScriptedUserInterface{};
  LoadSfen("4k4/9/9/9/9/9/9/9/9 b G 1");
  StartWith(0, 0, false);
  EXPECT_EQ(state.InteractionState, kStateGame);
}

TEST_F(GameDriverTest, RestartQuestionAnsweredBothWays) {
  for (bool yes : {true, false}) {
    SetUp();
    ui = ScriptedUserInterface{};
    StartWith(0, 0, false);
    for (const char* m : {"7g7f", "3c3d", "2g2f", "8c8d"}) PersonMove(m);
    SuspendGame(ctx);
    StepBack(ctx);
    StepBack(ctx);
    ASSERT_EQ(state.Record.PlyCount, 2);
    Answer(yes);
    if (yes) ui.ConditionsAnswers.push_back(ScriptedUserInterface::Accept());
    StartGame(ctx, false);
    EXPECT_EQ(ui.Messages.back().Text, "最初からやりなおしますか？");
    EXPECT_EQ(state.InteractionState, kStateGame);
    if (yes) {
      EXPECT_EQ(state.Record.PlyCount, 0);
      EXPECT_EQ(Moves(), "");
      EXPECT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 0);
      EXPECT_EQ(ui.ConditionsShown.size(), 2u);
      EXPECT_EQ(ui.ConditionsShown.back().StartPosition, 1);  // 平手 detected
    } else {
      EXPECT_EQ(state.Record.PlyCount, 2);
      EXPECT_EQ(Moves(), "7g7f 3c3d");  // the later moves are gone
      EXPECT_EQ(ui.ConditionsShown.size(), 1u);
    }
  }
}

TEST_F(GameDriverTest, TakeBackAgainstTheComputerMakesItReplyAgain) {
  computer.Replies.push_back(ScriptedComputer::Move("3c3d"));
  computer.Replies.push_back(ScriptedComputer::Move("8c8d"));
  StartWith(0, 2);
  PersonMove("7g7f");
  ASSERT_EQ(Moves(), "7g7f 3c3d");
  StepBack(ctx);
  EXPECT_EQ(Moves(), "7g7f 8c8d");
  ASSERT_EQ(computer.Requests.size(), 2u);
  EXPECT_EQ(computer.Requests[1].PlyCount, 1);
  EXPECT_EQ(state.InteractionState, kStateGame);
  // Two moves back: the person is to move again at the start.
  ContinuousBack(ctx);
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(state.Shown, kInitialPosition);
  EXPECT_EQ(state.Clock.RunningSide, kFirst);
  EXPECT_EQ(state.Message.Lines[0], "あなたの番です。");
}

TEST_F(GameDriverTest, ClockCountsWholeSecondsAndSkipsTheFirstTenthAfterAMove) {
  StartWith(0, 0, false);
  Ticks(9);
  EXPECT_EQ(state.Record.Clocks[0], 0);
  Ticks(1);
  EXPECT_EQ(state.Record.Clocks[0], 1);
  PersonMove("7g7f");
  EXPECT_EQ(state.Record.MoveTimes[0], 1);
  Ticks(10);
  EXPECT_EQ(state.Record.Clocks[1], 0);
  Ticks(1);
  EXPECT_EQ(state.Record.Clocks[1], 1);
  EXPECT_EQ(state.Record.Clocks[0], 1);
  // Once the game is over the next tick stops the clock and its timer.
  SuspendGame(ctx);
  ViewUpdate u = GameClockTick(state);
  EXPECT_TRUE(u.StopTimers & kTimerClock);
  EXPECT_EQ(state.Clock.RunningSide, kNoRunningClock);
}

TEST_F(GameDriverTest, LibraryHearsOfTheGameAtItsStartAndAfterItsOwnEndingMove) {
  // The library mates: sikou_end follows. A person mates: it does not.
  for (bool library_first : {true, false}) {
    SetUp();
    ui = ScriptedUserInterface{};
    library = ScriptedComputer{};
    LoadSfen(kMateInOne);
    if (library_first) library.Replies.push_back(ScriptedComputer::Move("G*5b"));
    StartWith(library_first ? -1 : 0, library_first ? 0 : -1);
    if (!library_first) PersonMove("G*5b");
    EXPECT_EQ(state.Record.ResultCode, kResultFirstWins);
    EXPECT_EQ(library.Count("begin"), 1);
    EXPECT_EQ(library.AbortFlagAddress, &state.AbortFlag);
    EXPECT_EQ(library.Count("end"), library_first ? 1 : 0);
  }
  // A game over at its start never reaches the library.
  SetUp();
  library = ScriptedComputer{};
  LoadSfen("4k4/4G4/4G4/9/9/9/9/9/4K4 w - 1");
  StartWith(0, -1);
  EXPECT_EQ(ui.LastMessage(), "先手が勝ちました。");
  EXPECT_TRUE(library.Events.empty());
}

TEST_F(GameDriverTest, LibraryGetsTheClockAndThePlyOfTheMover) {
  library.Replies.push_back(ScriptedComputer::Move("7g7f"));
  StartWith(-1, 0);
  ASSERT_EQ(library.Requests.size(), 1u);
  EXPECT_EQ(library.Requests[0].PlyCount, 0);
  EXPECT_EQ(library.Requests[0].MoverClock, &state.Record.Clocks[0]);
  EXPECT_EQ(library.Requests[0].MoveList, state.Record.MoveList);
  EXPECT_EQ(library.Events[0], "begin");
  EXPECT_EQ(state.Message.Lines[0], "あなたの番です。");
}

TEST_F(GameDriverTest, UnplayableComputerAnswersSuspendTheGame) {
  const ScriptedComputer::Reply bad[] = {
      ScriptedComputer::Raw(1, 7, 95, 0),                              // no such square
      ScriptedComputer::Raw(1, 6, SquareOf(4, 2), 1),                  // a gold cannot promote
      ScriptedComputer::Raw(1, DropOrigin(kKing), SquareOf(5, 5), 0),  // no king drops
  };
  for (const ScriptedComputer::Reply& reply : bad) {
    SetUp();
    ui = ScriptedUserInterface{};
    computer = ScriptedComputer{};
    computer.Replies.push_back(reply);
    StartWith(0, 2);
    PersonMove("7g7f");
    EXPECT_EQ(Moves(), "7g7f");
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.LastMessage(), "コンピュータの指し手に異常があります。");
  }
}

TEST_F(GameDriverTest, HandicapFromTheDialogLetsTheGiverMoveFirst) {
  computer.Replies.push_back(ScriptedComputer::Move("5a4b"));
  ui.ConditionsAnswers.push_back([](GameConditions& c) {
    c.PlayerKind[0] = 0;
    c.PlayerKind[1] = 5;
    c.StartPosition = 2;  // 香落ち
    c.FirstPlayer = Cp932("下手");
    c.GameNumber = "3";
    return true;
  });
  StartGame(ctx, true);
  EXPECT_EQ(state.Record.StartIndex, 1);
  EXPECT_EQ(state.Record.InitialPosition.Board[1], 0);
  EXPECT_EQ(computer.Events.front(), "prepare 1");
  ASSERT_EQ(computer.Requests.size(), 1u);
  EXPECT_EQ(computer.Requests[0].PlyCount, 1);
  EXPECT_EQ(computer.Requests[0].Strength, 5);
  EXPECT_EQ(Moves(), "5a4b");
  EXPECT_EQ(Utf8(FieldText(state.Record.FirstName)), "下手");
  EXPECT_EQ(state.Record.GameNumber, 3);
  EXPECT_TRUE(ui.ConditionsShown[0].ComputerMode);
  EXPECT_TRUE(ui.ConditionsShown[0].StandardStart);
}

}  // namespace
}  // namespace shogi
