// The mate-solver commands, whole, through the scripted person: messages, the record, the
// dialogs of 詰将棋３ and 実戦詰将棋, the memory question and the stop.
#include "shell/mate_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "analysis/mate_movegen.h"
#include "analysis/mate_solver.h"
#include "rules/move_rules.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

// The scripted person, with answers for the two mate dialogs.
class MateUi : public test::ScriptedUserInterface {
 public:
  std::deque<std::optional<MateStartSettings>> StartAnswers;  // nullopt: "中止"
  std::deque<MateAttackerChoice> AttackerAnswers;
  std::vector<MateStartSettings> StartShown;

  bool EditMateStart(MateStartSettings& settings) override {
    StartShown.push_back(settings);
    std::optional<MateStartSettings> answer;
    if (!test::TakeAnswer(StartAnswers, "詰将棋３ dialog", answer) || !answer) return false;
    settings = *answer;
    return true;
  }
  MateAttackerChoice ChooseMateAttacker() override {
    MateAttackerChoice answer = MateAttackerChoice::kCancel;
    test::TakeAnswer(AttackerAnswers, "実戦詰将棋 dialog", answer);
    return answer;
  }
};

constexpr const char* kMateIn3 = "1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1";
constexpr const char* kMateIn3Solution = "R*8c 8a9b 7c8b+";
// Its search at depth 9 stores about 12 000 positions: more than a 4 096-entry table holds.
constexpr const char* kMateIn11 = "7k1/6l2/4g4/6Pb+B/9/9/9/9/9 b 2RN2P3g4s3n3l15p 1";
constexpr const char* kMateIn13 = "7k1/4GGgss/6L2/4bN3/5G3/9/9/9/9 b SN2LP2rbs2nl17p 1";

class MateCommandTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    // Every message-area text the search shows, as seen from inside the search.
    ui.OnPump = [this] {
      ++pumps;
      busy_seen = busy_seen || IsBusyState(state.InteractionState);
      if (shown.empty() || shown.back() != state.Message.Lines[0]) {
        shown.push_back(state.Message.Lines[0]);
      }
      if (on_pump) on_pump();
    };
    mate_ui.OnPump = ui.OnPump;
  }
  void TearDown() override {
    MateCommandTable().Free();  // the next test allocates afresh
  }

  // A 4 096-entry table, as on a machine short of memory.
  static void UseSmallTable() {
    MateCommandTable().Free();
    ASSERT_EQ(MateCommandTable().Allocate([](std::size_t n) -> MateTableEntry* {
      return n > 4096 ? nullptr : new (std::nothrow) MateTableEntry[n];
    }),
              4096);
  }

  int LegalMoveCount() {
    static LegalMoveList list;
    return LegalMoves(state.Record, state.Shown, list);
  }

  MateUi mate_ui;
  ShellContext mate_ctx{state, mate_ui, nullptr, nullptr};
  int pumps = 0;
  bool busy_seen = false;
  std::vector<std::string> shown;
  std::function<void()> on_pump;
};

TEST_F(MateCommandTest, BothSolversPlayTheMateIntoTheRecordAndMarkTheWinner) {
  for (int solver : {kSolver2, kSolver1}) {
    LoadSfen(kMateIn3);
    shown.clear();
    SolveMateProblem(mate_ctx, solver);
    // The play-out's searches pump as well, under the found message.
    EXPECT_EQ(shown, (std::vector<std::string>{"1手詰解析中", "3手詰解析中", "詰みました(^_^)"}));
    EXPECT_TRUE(busy_seen);
    EXPECT_EQ(state.Message.Lines[0], "詰みました(^_^)");
    EXPECT_EQ(Moves(), kMateIn3Solution);
    EXPECT_EQ(state.Record.PlyCount, 3);
    EXPECT_EQ(state.Record.ResultCode, kResultFirstWins);
    EXPECT_EQ(LegalMoveCount(), 0);  // the mate is on the board
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(state.Clock.RunningSide, kNoRunningClock);
    EXPECT_TRUE(mate_ui.Messages.empty());
  }
}

TEST_F(MateCommandTest, ASecondPlayerAttackerWinsAsTheSecondPlayer) {
  LoadSfen(kMateIn3);
  LoadSfen(ToSfen(TurnPosition(state.Shown), kSecond));  // the colours exchanged
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(Moves(), "R*2g 2i1h 3g2h+");
  EXPECT_EQ(state.Record.ResultCode, kResultSecondWins);
  EXPECT_EQ(state.Record.PlyCount, 4);  // plies 1..3
  EXPECT_EQ(LegalMoveCount(), 0);
}

TEST_F(MateCommandTest, PositionsThatCannotBeSolvedAreRefusedWithTheirCaption) {
  struct Case {
    const char* sfen;
    const char* message;
  } cases[] = {
      {"9/9/9/9/9/9/9/9/4K4 b G 1", "敵玉がありません。"},
      {"4k4/9/4P4/9/9/9/4P4/9/9 b G 1", "駒配置に異常があります。"},
  };
  for (const Case& c : cases) {
    LoadSfen(c.sfen);
    mate_ui.Messages.clear();
    SolveMateProblem(mate_ctx, kSolver2);
    mate_ui.AttackerAnswers.push_back(MateAttackerChoice::kFirstPlayer);
    FindMateInGame(mate_ctx);
    ASSERT_EQ(mate_ui.Messages.size(), 2u) << c.sfen;
    EXPECT_EQ(mate_ui.Messages[0].Caption, "詰将棋");
    EXPECT_EQ(mate_ui.Messages[0].Text, c.message);
    EXPECT_EQ(mate_ui.Messages[1].Caption, "実戦詰将棋");
    EXPECT_EQ(mate_ui.Messages[1].Text, c.message);
    EXPECT_EQ(pumps, 0) << "no search ran";
    EXPECT_EQ(Moves(), "");
  }
}

TEST_F(MateCommandTest, NoCheckIsNoMateAndTheRecordStaysAsItWas) {
  LoadSfen("4k4/9/9/9/9/9/9/9/9 b - 1");
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(state.Message.Lines[0], "詰みません。");
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(state.Record.ResultCode, kResultNone);
}

TEST_F(MateCommandTest, AnEndlessChaseGivesUpAtFortyNine) {
  LoadSfen("8k/7g1/9/7N1/9/9/9/9/9 b G2r2b3g4s3n4l18p 1");
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(state.Message.Lines[0], "49手詰まで解析。");
  EXPECT_EQ(state.Message.Lines[1], "解析断念します。");
  EXPECT_EQ(shown.back(), "49手詰解析中");
  EXPECT_EQ(Moves(), "");
}

TEST_F(MateCommandTest, TheStartDialogRefusesEvenAndOutOfRangeDepths) {
  LoadSfen(kMateIn3);
  for (const char* bad : {"2", "50", "0", "", "abc", "7a", "-1"}) {
    MateStartSettings s;
    s.StartDepth = bad;
    mate_ui.StartAnswers.push_back(s);
  }
  mate_ui.StartAnswers.push_back(std::nullopt);  // "中止"
  SolveMateProblemFrom(mate_ctx);
  ASSERT_EQ(mate_ui.Messages.size(), 7u);
  for (const auto& m : mate_ui.Messages) {
    EXPECT_EQ(m.Caption, "開始手数");
    EXPECT_EQ(m.Text, "1～49の範囲の奇数を入力してください。");
  }
  // The dialog opens again with what was entered; the first time with its defaults.
  EXPECT_EQ(mate_ui.StartShown[0].StartDepth, "1");
  EXPECT_FALSE(mate_ui.StartShown[0].Multitask);
  EXPECT_FALSE(mate_ui.StartShown[0].MemoryCheck);
  EXPECT_EQ(mate_ui.StartShown[1].StartDepth, "2");
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(Moves(), "");

  int depth = 0;
  std::string message;
  EXPECT_EQ(ParseMateStartDepth("49", depth, message), 0);
  EXPECT_EQ(depth, 49);
  EXPECT_EQ(ParseMateStartDepth("１３", depth, message), 0);  // full-width digits
  EXPECT_EQ(depth, 13);
  EXPECT_NE(ParseMateStartDepth("51", depth, message), 0);
}

TEST_F(MateCommandTest, StartDepthSevenOnAMateInThreePlaysTheMateInThree) {
  LoadSfen(kMateIn3);
  MateStartSettings s;
  s.StartDepth = "7";
  s.Multitask = true;
  mate_ui.StartAnswers.push_back(s);
  SolveMateProblemFrom(mate_ctx);
  // Found at once at 7, shortened through 5 to 3 without showing those depths.
  EXPECT_EQ(shown, (std::vector<std::string>{"7手詰解析中", "詰みました(^_^)"}));
  EXPECT_EQ(Moves(), kMateIn3Solution);
  EXPECT_EQ(state.Record.ResultCode, kResultFirstWins);
}

TEST_F(MateCommandTest, WithoutMultitaskTheSearchDispatchesNothing) {
  LoadSfen(kMateIn3);
  mate_ui.StartAnswers.push_back(MateStartSettings{});
  SolveMateProblemFrom(mate_ctx);
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(Moves(), kMateIn3Solution);
}

TEST_F(MateCommandTest, AFullTableAsksOnceWhetherToGoOn) {
  UseSmallTable();
  LoadSfen(kMateIn11);
  mate_ui.MessageAnswers.push_back(MessageAnswer::kNo);
  SolveMateProblem(mate_ctx, kSolver2);
  ASSERT_EQ(mate_ui.Messages.size(), 1u);
  EXPECT_EQ(mate_ui.Messages[0].Caption, "詰将棋");
  EXPECT_EQ(mate_ui.Messages[0].Text, "メモリが不足してます。\n解析を続けますか？");
  EXPECT_EQ(mate_ui.Messages[0].Buttons, MessageButtons::kYesNo);
  EXPECT_EQ(state.Message.Lines[0], "");  // "いいえ" clears the message and ends
  EXPECT_EQ(Moves(), "");

  mate_ui.Messages.clear();
  mate_ui.MessageAnswers.push_back(MessageAnswer::kYes);
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(mate_ui.Messages.size(), 1u);  // not asked again after "はい"
  EXPECT_EQ(state.Record.PlyCount, 11);
  EXPECT_EQ(state.Record.ResultCode, kResultFirstWins);

  // 詰将棋３ without ﾒﾓﾘﾁｪｯｸ goes on without asking.
  LoadSfen(kMateIn11);
  mate_ui.Messages.clear();
  MateStartSettings s;
  mate_ui.StartAnswers.push_back(s);
  SolveMateProblemFrom(mate_ctx);
  EXPECT_TRUE(mate_ui.Messages.empty());
  EXPECT_EQ(state.Record.PlyCount, 11);
}

TEST_F(MateCommandTest, InGameAnalysisStopsOnAFullTable) {
  UseSmallTable();
  LoadSfen(kMateIn11);
  mate_ui.AttackerAnswers.push_back(MateAttackerChoice::kFirstPlayer);
  FindMateInGame(mate_ctx);
  EXPECT_TRUE(mate_ui.Messages.empty());
  EXPECT_EQ(state.Message.Lines[0], "9手詰まで解析。");
  EXPECT_EQ(state.Message.Lines[1], "解析断念します。");
}

TEST_F(MateCommandTest, InGameAnalysisAnnouncesTheMateAndLeavesTheRecord) {
  // The first player is to move, but the second player's mate is asked for.
  LoadSfen("9/9/9/9/9/9/4p4/9/4K4 b g 1");
  mate_ui.AttackerAnswers.push_back(MateAttackerChoice::kSecondPlayer);
  FindMateInGame(mate_ctx);
  EXPECT_EQ(state.Message.Lines[0], "△５八金");
  EXPECT_EQ(state.Message.Lines[1], "1手で詰みます。");
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(state.Record.ResultCode, kResultNone);

  LoadSfen(kMateIn3);
  mate_ui.AttackerAnswers.push_back(MateAttackerChoice::kFirstPlayer);
  FindMateInGame(mate_ctx);
  EXPECT_EQ(state.Message.Lines[0], "▲８三飛");
  EXPECT_EQ(state.Message.Lines[1], "3手で詰みます。");
  EXPECT_EQ(Moves(), "");

  mate_ui.AttackerAnswers.push_back(MateAttackerChoice::kCancel);
  pumps = 0;
  FindMateInGame(mate_ctx);
  EXPECT_EQ(pumps, 0);
}

TEST_F(MateCommandTest, TheStopRequestEndsTheAnalysis) {
  LoadSfen(kMateIn13);
  on_pump = [this] {
    if (pumps == 2000) {
      mate_ui.MessageAnswers.push_back(MessageAnswer::kYes);
      RequestStop(mate_ctx);  // the right click while busy
    }
  };
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(state.AbortFlag, kAbortStop);
  EXPECT_EQ(pumps, 2000) << "nothing was searched after the stop";
  EXPECT_EQ(state.Message.Lines[0], "　 解析中止。");
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(Moves(), "");
  EXPECT_TRUE(MateCommandTable().Allocated());  // kept for the next command
}

TEST_F(MateCommandTest, AStopDuringThePlayOutKeepsTheMovesFoundSoFar) {
  LoadSfen(kMateIn3);
  on_pump = [this] {
    if (state.Message.Lines[0] == "詰みました(^_^)") state.AbortFlag = kAbortStop;
  };
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(state.Message.Lines[0], "　 解析中止。");
  EXPECT_EQ(Moves().substr(0, 4), "R*8c");
  EXPECT_EQ(state.Record.ResultCode, kResultNone);  // the mate is not on the board
}

TEST_F(MateCommandTest, ClosingTheWindowFreesTheTableAndEndsTheProgram) {
  LoadSfen(kMateIn13);
  on_pump = [this] {
    if (pumps == 100) {
      EXPECT_TRUE(NotifyClosing(state));
    }
  };
  SolveMateProblem(mate_ctx, kSolver2);
  EXPECT_EQ(mate_ui.EndProgramCalls, std::vector<int>{0});
  EXPECT_FALSE(MateCommandTable().Allocated());
  EXPECT_EQ(state.InteractionState, kStateIdle);
}

TEST_F(MateCommandTest, AFullRecordIsNotWrittenHalfway) {
  LoadSfen(kMateIn3);
  state.Record.PlyCount = 510;  // the shown position at ply 510: three more moves do not fit
  SolveMateProblem(mate_ctx, kSolver2);
  ASSERT_EQ(mate_ui.Messages.size(), 1u);
  EXPECT_EQ(mate_ui.Messages[0].Text, "棋譜が一杯で、詰み手順を書き込めません。");
  EXPECT_EQ(state.Record.PlyCount, 510);
  EXPECT_TRUE(IsEndMarker(state.Record.MoveList[510]));
}

TEST_F(MateCommandTest, NothingRunsOutsideTheIdleState) {
  LoadSfen(kMateIn3);
  state.InteractionState = kStateGame;
  SolveMateProblem(mate_ctx, kSolver2);
  SolveMateProblemFrom(mate_ctx);
  FindMateInGame(mate_ctx);
  EXPECT_EQ(pumps, 0);
  EXPECT_TRUE(mate_ui.StartShown.empty());
  EXPECT_EQ(Moves(), "");
}

}  // namespace
}  // namespace shogi
