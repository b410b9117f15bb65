// The "詰将棋（df-pn）" command through the scripted person: the solution played into the
// record, 不詰, 時間切れ, the stop, the dialog's checks and kept values, the status bar.
#include "shell/dfpn_command.h"

#include <gtest/gtest.h>

#include "analysis/dfpn_solver.h"
#include "rules/move_rules.h"
#include "shell/mate_commands.h"
#include "shell/settings.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

// 寿: the proof alone takes longer than a second.
constexpr const char* kLongMate =
    "g3p3+r/3lPG3/1s4ppp/1l1B4P/L2b1kPl1/3+p3+R+p/3+p2+s1S/+NP+p1gS3/1g+p2P3 b 4P3n 1";

class DfpnCommandTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    ui.OnPump = [this] {
      ++pumps;
      busy_seen = busy_seen || IsBusyState(state.InteractionState);
      if (on_pump) on_pump();
    };
  }

  // Answers the dialog with `seconds` and `megabytes` as typed.
  void Answer(const std::string& seconds, const std::string& megabytes) {
    ui.DfpnDialog.Answers.push_back([=](DfpnSettings& s) {
      s.Seconds = seconds;
      s.TableMegabytes = megabytes;
      return true;
    });
  }

  MemoryProfile profile;
  int pumps = 0;
  bool busy_seen = false;
  std::function<void()> on_pump;
};

TEST_F(DfpnCommandTest, PlaysTheSolutionIntoTheRecordAndKeepsTheDialogsValues) {
  LoadSfen("1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1");
  Answer("30", "8");
  SolveMateByDfpn(ctx, profile);
  EXPECT_EQ(state.Message.Lines[0], "詰みました(^_^)");
  EXPECT_EQ(state.Message.Lines[1], "3手で詰みます。");
  EXPECT_EQ(Moves(), "R*8c 8a9b 7c8b+");
  EXPECT_EQ(state.Record.ResultCode, kResultFirstWins);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  ASSERT_FALSE(ui.StatusTexts.empty());
  EXPECT_EQ(ui.StatusTexts.back().rfind("df-pn ", 0), 0u) << ui.StatusTexts.back();
  // The dialog showed the defaults; the values typed are kept for the next time.
  EXPECT_EQ(ui.DfpnDialog.Shown[0].Seconds, std::to_string(kDefaultDfpnSeconds));
  EXPECT_EQ(ui.DfpnDialog.Shown[0].TableMegabytes, std::to_string(kDefaultDfpnTableMegabytes));
  EXPECT_EQ(profile.GetInt(kSectionSettings, kKeyDfpnSeconds, 0), 30);
  EXPECT_EQ(profile.GetInt(kSectionSettings, kKeyDfpnTable, 0), 8);
}

TEST_F(DfpnCommandTest, NoMateTimeUpAndStopLeaveTheRecordAlone) {
  struct Case {
    const char* sfen;
    bool stop;
    const char* message;
  } cases[] = {
      {"9/5n1Lg/6S1k/7N1/5g1p1/9/9/9/9 b 2r2b2g3s2n3l17p 1", false, "不詰"},
      {kLongMate, false, "時間切れ"},
      {kLongMate, true, "　 解析中止。"},
  };
  for (const Case& c : cases) {
    LoadSfen(c.sfen);
    busy_seen = false;
    on_pump = [&] { state.AbortFlag = c.stop ? kAbortStop : kAbortNone; };
    Answer("1", "16");
    SolveMateByDfpn(ctx, profile);
    EXPECT_EQ(state.Message.Lines[0], c.message) << c.sfen;
    EXPECT_EQ(Moves(), "");
    EXPECT_EQ(state.Record.ResultCode, kResultNone);
    EXPECT_EQ(state.InteractionState, kStateIdle);
  }
  EXPECT_TRUE(busy_seen);  // the long searches pumped while the program was busy
}

TEST_F(DfpnCommandTest, TheDialogRefusesBadFieldsAndOpensAgain) {
  LoadSfen("1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1");
  Answer("0", "256");
  Answer("86401", "256");
  Answer("60", "x");
  Answer("60", "16385");
  ui.DfpnDialog.Answers.push_back([](DfpnSettings&) { return false; });  // "中止"
  SolveMateByDfpn(ctx, profile);
  ASSERT_EQ(ui.Messages.size(), 4u);
  EXPECT_EQ(ui.Messages[0].Caption, "時間制限");
  EXPECT_EQ(ui.Messages[0].Text, "1～86400の範囲の数を入力してください。");
  EXPECT_EQ(ui.Messages[2].Caption, "置換表");
  EXPECT_EQ(ui.Messages[3].Text, "1～16384の範囲の数を入力してください。");
  EXPECT_EQ(ui.DfpnDialog.Shown[1].Seconds, "0");  // again with what was typed
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(Moves(), "");

  DfpnChoice choice;
  std::string caption, message;
  EXPECT_EQ(CheckDfpnSettings({" 600 ", "1024"}, choice, caption, message), DfpnField::kNone);
  EXPECT_EQ(choice.Seconds, 600);
  EXPECT_EQ(choice.TableMegabytes, 1024);
  EXPECT_EQ(DfpnProgressText(1234567, 12.34), "df-pn 1,234,567局面 12.3秒");
}

TEST_F(DfpnCommandTest, APositionWithoutTheDefendersKingIsRefusedBeforeTheDialog) {
  LoadSfen("9/9/9/9/9/9/9/9/4K4 b G 1");
  SolveMateByDfpn(ctx, profile);
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "詰将棋");
  EXPECT_EQ(ui.Messages[0].Text, "敵玉がありません。");
  EXPECT_TRUE(ui.DfpnDialog.Shown.empty());
}

}  // namespace
}  // namespace shogi
