// Whole games through the driver with scripted persons and computers.
#include "shell/game_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "shell/board_setup.h"
#include "shell/game_clock.h"
#include "shell/navigation.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

using test::ScriptedComputer;
using test::ScriptedUserInterface;

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

// Games between persons that go round in a cycle three times: the fourth occurrence of a
// position with the same side to move and the same hands ends the game at a known ply.
TEST_F(GameDriverTest, FourthRepetitionEndsTheGameAtItsPly) {
  struct Case {
    const char* name;
    const char* sfen;
    const char* cycle;
    int end_ply;  // 0: the game goes on
  } cases[] = {
      {"kings", "startpos", "5i4h 5a4b 4h5i 4b5a", 12},
      // The second player moves first: the record starts at ply 1.
      {"second player first", "1r6k/9/9/9/9/9/9/9/K8 w - 1", "8a9a 9i8i 9a8a 8i9i", 13},
      // Golds dropped, taken and dropped again inside the cycle.
      {"drops inside the cycle", "8k/9/9/9/9/9/8r/1K7/9 w Gg 1",
       "G*7g 8h9h 1g1h G*8h 7g8h 9h9g 1h1g 9g8h", 25},
      // The board comes back, but a pawn goes from one hand to the other each time.
      {"other hands", "8k/9/9/4g4/9/9/9/9/K8 b 8P 1", "P*5e 5d5e 9i9h 5e5d P*5e 5d5e 9h9i 5e5d", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    LoadSfen(c.sfen);
    StartWith(0, 0, false);
    for (int round = 0; round < 3; ++round) PersonMoves(c.cycle);
    if (c.end_ply == 0) {
      EXPECT_EQ(state.InteractionState, kStateGame);
      EXPECT_TRUE(ui.Messages.empty());
      continue;
    }
    EXPECT_EQ(state.Record.PlyCount, c.end_ply);
    EXPECT_EQ(state.Record.ResultCode, kResultRepetition);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.LastMessage(), "千日手です。");
    EXPECT_EQ(ResultText(state.Record), " 千日手です。");
  }
}

TEST_F(GameDriverTest, RepetitionCheckOffLetsTheGameGoOnUntilSwitchedOn) {
  state.Settings.RepetitionCheck = false;
  StartWith(0, 0, false);
  for (int round = 0; round < 3; ++round) PersonMoves("5i4h 5a4b 4h5i 4b5a");
  EXPECT_EQ(state.InteractionState, kStateGame);
  EXPECT_TRUE(ui.Messages.empty());
  // Switching the check on during the game runs the end checks at once.
  ToggleRepetitionCheck(ctx);
  EXPECT_EQ(state.Record.ResultCode, kResultRepetition);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(ui.LastMessage(), "千日手です。");
  EXPECT_EQ(state.Record.PlyCount, 12);
}

TEST_F(GameDriverTest, TogglingTheRepetitionCheckDropsAnOpenPromotionChoice) {
  LoadSfen("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
  StartWith(0, 0, false);
  PersonMove("5d5c");
  ASSERT_EQ(state.InteractionState, kStatePromotion);
  ToggleRepetitionCheck(ctx);
  EXPECT_FALSE(state.Settings.RepetitionCheck);
  EXPECT_EQ(state.InteractionState, kStateGame);  // the game goes on without the move
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(state.Shown, state.Record.InitialPosition);
  PersonMove("5d4e");
  EXPECT_EQ(Moves(), "5d4e");
}

// The squares round a block of the board (files left..right, ranks top..bottom), in order.
std::vector<Square> Ring(int left, int right, int top, int bottom) {
  std::vector<Square> ring;
  for (int f = left; f < right; ++f) ring.push_back(SquareOf(f, top));
  for (int r = top; r < bottom; ++r) ring.push_back(SquareOf(right, r));
  for (int f = right; f > left; --f) ring.push_back(SquareOf(f, bottom));
  for (int r = bottom; r > top; --r) ring.push_back(SquareOf(left, r));
  return ring;
}

// 256 plies from kKingsOnRings: each king walks round its own ring (18 and 16 squares, so no
// position comes back within 244 plies), then both step inwards and back three times, so the
// position of ply 244 is on the board for the fourth time at ply 256 and never before.
constexpr const char* kKingsOnRings = "7k1/9/9/9/9/7K1/9/9/9 b - 1";
std::vector<std::string> RingWalk() {
  const std::vector<Square> first = Ring(2, 8, 6, 9), second = Ring(2, 7, 1, 4);
  std::vector<std::string> moves;
  for (std::size_t t = 0; t < 122; ++t) {
    for (const std::vector<Square>* ring : {&first, &second}) {
      const std::vector<Square>& r = *ring;
      moves.push_back(FormatUsiMove(EncodeMove(r[t % r.size()], r[(t + 1) % r.size()], 0)));
    }
  }
  EXPECT_EQ(moves.back(), "6d5d");  // the first king is on 3九, the second on 5四
  for (int i = 0; i < 3; ++i) moves.insert(moves.end(), {"3i3h", "5d5c", "3h3i", "5c5d"});
  return moves;
}

TEST_F(GameDriverTest, PlyLimitEndsTheGameUnlessItsLastMoveRepeats) {
  struct Case {
    bool repetition_check;
    int result;
    const char* message;
    const char* replayed;  // the text at the record's end
  } cases[] = {
      {true, kResultRepetition, "千日手です。", " 千日手です。"},  // checked first
      {false, kResultNone, "手数制限で、これ以上対局出来ません。", "指し掛けです。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.repetition_check);
    SetUp();
    state.Settings.RepetitionCheck = c.repetition_check;
    LoadSfen(kKingsOnRings);
    const std::vector<std::string> moves = RingWalk();
    for (std::size_t i = 0; i < moves.size(); ++i) {
      (i % 2 ? library : computer).Replies.push_back(ScriptedComputer::Move(moves[i]));
    }
    StartWith(3, -1);
    EXPECT_EQ(state.Record.PlyCount, 256);
    EXPECT_EQ(state.Record.ResultCode, c.result);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.LastMessage(), c.message);
    EXPECT_EQ(ResultText(state.Record), c.replayed);
    // The library hears of the start once and of the end once, after its own last move.
    EXPECT_EQ(library.Count("begin"), 1);
    EXPECT_EQ(library.Count("end"), 1);
    EXPECT_EQ(library.Events.back(), "end");
    EXPECT_EQ(computer.Events.front(), "prepare 0");
    EXPECT_EQ(library.Requests.front().PlyCount, 1);
  }
  // The game cannot be continued from ply 256.
  Answer(false);
  StartGame(ctx, false);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(state.Record.PlyCount, 256);
  EXPECT_EQ(ui.LastMessage(), "手数制限で、これ以上対局出来ません。");
}

// The commands that end a game where it stands, each with nothing pending, with a piece
// being dragged and with the promotion choice open: the pending move is not played, the piece
// is back, the clock of the side to move is stored and the game is over.
TEST_F(GameDriverTest, CommandsThatEndAGameDropWhatIsPending) {
  struct Command {
    const char* name;
    std::function<void()> run;
    int result;
    int library_ends;  // 再現中断 and 勝敗結果 do not tell the library
    const char* line;
  } commands[] = {
      {"対局中断", [this] { SuspendGame(ctx); }, kResultNone, 1, ""},
      {"投了", [this] { ResignGame(ctx); }, kResultSecondWins, 1, ""},
      {"再現中断", [this] { StopReplayCommand(state); }, kResultNone, 0, ""},
      {"以下先手勝ち", [this] { ChooseResult(state, kResultFirstWinsLater); },
       kResultFirstWinsLater, 0, "以下先手勝ち。"},
  };
  enum Pending { kNothing, kDrag, kPromotionChoice };
  for (const Command& c : commands) {
    for (Pending pending : {kNothing, kDrag, kPromotionChoice}) {
      SCOPED_TRACE(std::string(c.name) + " " + std::to_string(pending));
      SetUp();
      LoadSfen("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
      StartWith(0, -1);
      Ticks(15);
      if (pending == kDrag) GamePickUp(ctx, {BoardArea::kBoard, SquareOf(5, 4)});
      if (pending == kPromotionChoice) {
        PersonMove("5d5c");
        ASSERT_EQ(state.InteractionState, kStatePromotion);
      }
      c.run();
      EXPECT_EQ(state.InteractionState, kStateIdle);
      EXPECT_FALSE(state.Held.Active);
      EXPECT_EQ(state.Shown, state.Record.InitialPosition);
      EXPECT_EQ(Moves(), "");
      EXPECT_EQ(state.Record.MoveTimes[0], 1);
      EXPECT_EQ(state.Record.ResultCode, c.result);
      EXPECT_EQ(library.Count("end"), c.library_ends);
      EXPECT_EQ(state.Message.Lines[0], c.line);
      EXPECT_TRUE(ui.Messages.empty());
      GamePickUp(ctx, {BoardArea::kBoard, SquareOf(5, 4)});
      EXPECT_FALSE(state.Held.Active);
    }
  }
}

TEST_F(GameDriverTest, ComputersResignWithAnAnswerOfZero) {
  struct Case {
    int first_kind, second_kind;
    int result;
    const char* line;
  } cases[] = {
      {3, 0, kResultSecondWins, "後手の勝ちです"},
      {0, -1, kResultFirstWins, "先手の勝ちです"},
  };
  for (const Case& c : cases) {
    SetUp();
    (c.first_kind > 0 ? computer : library).Replies.push_back(ScriptedComputer::Resign());
    library.Replies.push_back(ScriptedComputer::Resign());
    StartWith(c.first_kind, c.second_kind);
    if (c.first_kind == 0) PersonMove("7g7f");
    EXPECT_EQ(state.Record.ResultCode, c.result);
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(state.Message.Lines[0], c.line);
    EXPECT_EQ(ui.LastMessage(), "参りました。");
    EXPECT_EQ(ui.Messages.back().Caption, "対局");
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
  // A put-down outside the board does nothing either.
  GamePickUp(ctx, {BoardArea::kBoard, SquareOf(7, 7)});
  GameRelease(ctx, {BoardArea::kFirstHand, kPawn});
  EXPECT_EQ(state.Shown, kInitialPosition);
}

TEST_F(GameDriverTest, OnlyTheSideToMoveTakesUpItsOwnPieces) {
  struct Case {
    BoardSpot spot;
    bool taken;
  } cases[] = {
      {{BoardArea::kBoard, SquareOf(5, 9)}, true},   // the own king
      {{BoardArea::kFirstHand, kGold}, true},        // a gold in the own hand
      {{BoardArea::kFirstHand, kPawn}, false},       // none in the own hand
      {{BoardArea::kSecondHand, kPawn}, false},      // the other side's hand
      {{BoardArea::kBoard, SquareOf(5, 5)}, false},  // the other side's pawn
      {{BoardArea::kBoard, SquareOf(4, 4)}, false},  // an empty square
      {{BoardArea::kPieceBox, kPawn}, false},
  };
  LoadSfen("4k4/9/9/9/4p4/9/9/9/4K4 b Gp 1");
  StartWith(0, 0, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.spot.Area) * 100 + c.spot.Index);
    GamePickUp(ctx, c.spot);
    EXPECT_EQ(state.Held.Active, c.taken);
    GameRelease(ctx, {BoardArea::kNone, 0});
    EXPECT_EQ(state.Shown, state.Record.InitialPosition);
  }
  // Nor may a person take up the pieces of a computer whose turn it is.
  state.Record.PlayerKind[kFirst] = 3;
  GamePickUp(ctx, {BoardArea::kBoard, SquareOf(5, 9)});
  EXPECT_FALSE(state.Held.Active);
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
    LoadSfen(c.sfen);
    StartGame(ctx, c.computer_mode);
    EXPECT_EQ(ui.LastMessage(), "この局面から対局は出来ません。");
    EXPECT_EQ(ui.Messages.back().Caption, "対局");
    EXPECT_TRUE(ui.ConditionsShown.empty());
    EXPECT_EQ(state.InteractionState, kStateIdle);
  }
  // A mate problem is fine between persons.
  SetUp();
  LoadSfen("4k4/9/9/9/9/9/9/9/9 b G 1");
  StartWith(0, 0, false);
  EXPECT_EQ(state.InteractionState, kStateGame);
}

TEST_F(GameDriverTest, RestartQuestionAnsweredBothWays) {
  for (bool yes : {true, false}) {
    SetUp();
    LoadSfen("startpos", "7g7f 3c3d 2g2f 8c8d", {10, 20, 30, 40});
    state.Record.ResultCode = kResultFirstWins;
    StepForward(state);
    StepForward(state);
    Answer(yes);
    // The dialog offers 平手 and is answered with "現在の局面".
    if (yes) ui.ConditionsAnswers.push_back(ScriptedUserInterface::AcceptPlayers(0, 0));
    StartGame(ctx, false);
    EXPECT_EQ(ui.Messages.back().Text, "最初からやりなおしますか？");
    EXPECT_EQ(state.InteractionState, kStateGame);
    EXPECT_EQ(state.Record.ResultCode, kResultNone);
    if (yes) {
      EXPECT_EQ(state.Record.PlyCount, 0);
      EXPECT_EQ(state.Shown, kInitialPosition);
      EXPECT_EQ(Moves(), "");
      EXPECT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 0);
      EXPECT_EQ(ui.ConditionsShown.size(), 1u);
      EXPECT_EQ(ui.ConditionsShown.back().StartPosition, 1);  // 平手 detected
    } else {
      EXPECT_EQ(state.Record.PlyCount, 2);
      EXPECT_EQ(Moves(), "7g7f 3c3d");  // the later moves are gone
      EXPECT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 30);
      EXPECT_TRUE(ui.ConditionsShown.empty());
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
}

// Ten ticks of the clock timer in each state of a game's clock: it counts while the game
// waits (with or without the promotion choice) and while the computer thinks, stands still
// while a database command runs, and stops with its timer otherwise.
TEST_F(GameDriverTest, ClockFollowsTheInteractionState) {
  struct Case {
    int interaction;
    int seconds;
    bool stops;
  } cases[] = {
      {kStateGame, 1, false},     {kStatePromotion, 1, false}, {kStateThinking, 1, false},
      {kStateDatabase, 0, false}, {kStateIdle, 0, true},       {kStateReplaying, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interaction);
    InitProgramState(state);
    RunClock(state, kSecond, 0);
    state.Record.Clocks[kSecond] = 7;
    state.InteractionState = c.interaction;
    unsigned stopped = 0;
    for (int i = 0; i < 10; ++i) stopped |= GameClockTick(state).StopTimers;
    EXPECT_EQ(state.Record.Clocks[kSecond], 7 + c.seconds);
    EXPECT_EQ(state.Record.Clocks[kFirst], 0);
    EXPECT_EQ((stopped & kTimerClock) != 0, c.stops);
    EXPECT_EQ(state.Clock.RunningSide, c.stops ? kNoRunningClock : kSecond);
  }
}

TEST_F(GameDriverTest, UnplayableComputerAnswersSuspendTheGame) {
  const ScriptedComputer::Reply bad[] = {
      ScriptedComputer::Raw(1, 7, 95, 0),                              // no such square
      ScriptedComputer::Raw(1, 6, SquareOf(4, 2), 1),                  // a gold cannot promote
      ScriptedComputer::Raw(1, DropOrigin(kKing), SquareOf(5, 5), 0),  // no king drops
  };
  for (const ScriptedComputer::Reply& reply : bad) {
    SetUp();
    computer.Replies.push_back(reply);
    StartWith(0, 2);
    PersonMove("7g7f");
    EXPECT_EQ(Moves(), "7g7f");
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(ui.LastMessage(), "コンピュータの指し手に異常があります。");
  }
}

// 対局条件 during a game makes both sides persons; ｺﾝﾋﾟｭｰﾀ対局条件 lets a computer chosen for the
// side to move play at once. Neither changes the position, whatever start the dialog returns.
TEST_F(GameDriverTest, ConditionsDuringAGameChangeThePlayersNotThePosition) {
  computer.Replies.push_back(ScriptedComputer::Move("3c3d"));
  StartWith(0, 2);
  PersonMove("7g7f");
  ASSERT_EQ(Moves(), "7g7f 3c3d");

  ui.ConditionsAnswers.push_back([](GameConditions& c) {
    c.PlayerKind[0] = c.PlayerKind[1] = 4;
    c.StartPosition = kPresetLance;
    c.Tournament = "cup";
    return true;
  });
  EditConditions(ctx, false);
  EXPECT_FALSE(ui.ConditionsShown.back().ComputerMode);
  EXPECT_FALSE(ui.ConditionsShown.back().StartEditable);
  EXPECT_EQ(FieldText(state.Record.Tournament), "cup");
  PersonMove("2g2f");
  PersonMove("8c8d");  // the person now plays the second player too
  EXPECT_EQ(computer.Requests.size(), 1u);

  PersonMove("2f2e");
  computer.Replies.push_back(ScriptedComputer::Move("8d8e"));
  ui.ConditionsAnswers.push_back(ScriptedUserInterface::AcceptPlayers(0, 5, kPresetLance));
  EditConditions(ctx, true);
  EXPECT_TRUE(ui.ConditionsShown.back().ComputerMode);
  ASSERT_EQ(computer.Requests.size(), 2u);
  EXPECT_EQ(computer.Requests[1].Strength, 5);
  EXPECT_EQ(Moves(), "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e");
  EXPECT_EQ(state.InteractionState, kStateGame);
  EXPECT_EQ(state.Message.Lines[0], "あなたの番です。");
  EXPECT_EQ(state.Record.StartIndex, 0);
  EXPECT_EQ(state.Record.InitialPosition, kInitialPosition);
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
