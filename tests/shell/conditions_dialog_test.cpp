// The game-conditions dialog's checks, player kinds and lists.
#include "shell/conditions_dialog.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "shell/game_conditions.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi {
namespace {

using test::ScriptedUserInterface;

class ConditionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameRecord(record);
    c = ConditionsFromRecord(record, true, true, 1, true);
    form = FormFromConditions(c);
  }
  bool Ok() { return AcceptConditions(ui, form, c, focus); }

  GameRecord record;
  GameConditions c;
  ConditionsForm form;
  ScriptedUserInterface ui;
  ConditionsField focus = ConditionsField::kNone;
};

TEST_F(ConditionsDialogTest, EachFieldCheckRefusesWithItsMessageAndFocus) {
  struct Case {
    const char* name;
    std::string ConditionsForm::*field;
    const char* value;
    ConditionsField focus;
    const char* caption;
    const char* message;
  } cases[] = {
      {"two-digit game", &ConditionsForm::GameNumber, "12", ConditionsField::kGameNumber, "局",
       "１文字以内で入力してください。"},
      {"wide digit", &ConditionsForm::GameNumber, "１", ConditionsField::kGameNumber, "局",
       "１文字以内で入力してください。"},
      {"year 0", &ConditionsForm::Year, "0", ConditionsField::kYear, "年",
       "1～9999の範囲で設定してください。"},
      {"year 10000", &ConditionsForm::Year, "10000", ConditionsField::kYear, "年",
       "1～9999の範囲で設定してください。"},
      {"year text", &ConditionsForm::Year, "x", ConditionsField::kYear, "年",
       "整数を入力してください。"},
      {"month 13", &ConditionsForm::Month, "13", ConditionsField::kMonth, "月",
       "1～12の範囲で設定してください。"},
      {"day 0", &ConditionsForm::Day, "0", ConditionsField::kDay, "日",
       "1～31の範囲で設定してください。"},
      {"day empty", &ConditionsForm::Day, "", ConditionsField::kDay, "日",
       "整数を入力してください。"},
      {"comment 33 bytes", &ConditionsForm::Comment, "あいうえおかきくけこさしすせそたa",
       ConditionsField::kComment, "コメント", "32文字以内で入力してください。"},
      {"emoji", &ConditionsForm::Tournament, "名人戦😀", ConditionsField::kTournament, "棋戦名",
       "使用できない文字が含まれています。"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SetUp();
    form.*k.field = k.value;
    const GameConditions before = c;
    EXPECT_FALSE(Ok());
    EXPECT_EQ(focus, k.focus);
    ASSERT_FALSE(ui.Messages.empty());
    EXPECT_EQ(ui.Messages.back().Caption, k.caption);
    EXPECT_EQ(ui.Messages.back().Text, k.message);
    EXPECT_EQ(c.FirstPlayer, before.FirstPlayer);  // nothing is taken over
    ui.Messages.clear();
  }
}

TEST_F(ConditionsDialogTest, ChecksRunInTheirOrder) {
  form.GameNumber = "12";
  form.Month = "13";
  form.Comment = std::string(40, 'x');
  EXPECT_FALSE(Ok());
  EXPECT_EQ(ui.LastMessage(), "１文字以内で入力してください。");
  form.GameNumber = "3";
  EXPECT_FALSE(Ok());
  EXPECT_EQ(ui.LastMessage(), "1～12の範囲で設定してください。");
}

TEST_F(ConditionsDialogTest, AcceptedTextsComeBackAsCp932AndKindsFromTheList) {
  form.FirstPlayer = "CSA将棋(DLL)";
  form.SecondPlayer = "思考ﾚﾍﾞﾙ3";
  form.Tournament = "名人戦";
  form.GameNumber = "7";
  form.Comment = "あいうえおかきくけこさしすせそた";  // 32 bytes: allowed
  form.BoardFlipped = true;
  ASSERT_TRUE(Ok());
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_EQ(c.PlayerKind[0], -1);
  EXPECT_EQ(c.PlayerKind[1], 3);
  EXPECT_EQ(c.Tournament, Cp932("名人戦"));
  EXPECT_EQ(c.SecondPlayer, Cp932("思考ﾚﾍﾞﾙ3"));
  EXPECT_TRUE(c.BoardFlipped);
  ApplyConditions(c, record);
  EXPECT_EQ(record.GameNumber, 7);
  EXPECT_EQ(Utf8(FieldText(record.Comment)), form.Comment);
}

// A record read from a file without a date has none; the game started on it is played today,
// and the dialog's date check passes as it stands.
TEST_F(ConditionsDialogTest, ARecordWithoutADateStartsAGameToday) {
  record.Year = record.Month = record.Day = 0;
  c = ConditionsFromRecord(record, true, true, 1, true);
  int year, month, day;
  TodayInJapan(year, month, day);
  EXPECT_EQ(c.Year * 10000 + c.Month * 100 + c.Day, year * 10000 + month * 100 + day);
  form = FormFromConditions(c);
  EXPECT_TRUE(Ok()) << ui.LastMessage();
}

TEST_F(ConditionsDialogTest, LibraryNeedsTheEvenStart) {
  struct Case {
    int start;
    bool standard_record;
    bool accepted;
  } cases[] = {
      {1, false, true},   // 平手 chosen
      {2, true, false},   // 香落ち chosen
      {0, true, true},    // the current position is the standard one
      {0, false, false},  // the current position is something else
  };
  for (const Case& k : cases) {
    SetUp();
    c.StandardStart = k.standard_record;
    form.FirstPlayer = "CSA将棋(DLL)";
    form.StartPosition = k.start;
    EXPECT_EQ(Ok(), k.accepted) << k.start;
    if (!k.accepted) {
      EXPECT_EQ(ui.LastMessage(), "CSA将棋(DLL)での対局は、平手初期局面である必要があります。");
      EXPECT_EQ(ui.Messages.back().Caption, "対局者");
    }
    ui.Messages.clear();
  }
}

TEST_F(ConditionsDialogTest, KindsAreMatchedOnlyInComputerModeAndOnlyWhenOffered) {
  c.ComputerMode = false;
  form.FirstPlayer = "思考ﾚﾍﾞﾙ3";
  form.SecondPlayer = "CSA将棋(DLL)";
  ASSERT_TRUE(Ok());
  EXPECT_EQ(c.PlayerKind[0], 0);
  EXPECT_EQ(c.PlayerKind[1], 0);

  SetUp();
  c.LibraryOffered = false;
  form.FirstPlayer = "CSA将棋(DLL)";
  form.SecondPlayer = "人間";
  ASSERT_TRUE(Ok());
  EXPECT_EQ(c.PlayerKind[0], 0);
  EXPECT_EQ(ComputerPlayerList(false).size(), 10u);
  EXPECT_EQ(ComputerPlayerList(true).size(), 11u);
  EXPECT_EQ(ComputerPlayerList(true).back(), "CSA将棋(DLL)");
}

// A registered engine is the player of its list entry, whatever its name's length and even
// when two engines share a name; the record's field takes what of the name it can hold.
TEST_F(ConditionsDialogTest, EnginesAreChosenByTheirEntry) {
  const std::string name = "Fairy-Stockfish 14.0.1 LB by the Fairy-Stockfish developers";
  c.Engines = {"思考ﾚﾍﾞﾙ3", name, name};
  const struct {
    std::string text;
    int choice;
    int kind;
  } cases[] = {
      {name, -1, kFirstEnginePlayer + 1},  // typed or pasted whole: the first of that name
      {name, 13, kFirstEnginePlayer + 2},  // the second engine of that name, chosen
      {name, 12, kFirstEnginePlayer + 1},
      {"思考ﾚﾍﾞﾙ3", 11, kFirstEnginePlayer},  // chosen: the engine, not the level
      {"思考ﾚﾍﾞﾙ3", -1, 3},                   // typed: the built-in level
      {name.substr(0, 14), -1, kPersonPlayer},
      {"人間", 12, kPersonPlayer},  // a selection the text no longer is
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text + " " + std::to_string(k.choice));
    form.FirstPlayer = k.text;
    form.FirstChoice = k.choice;
    ASSERT_TRUE(Ok());
    EXPECT_EQ(c.PlayerKind[0], k.kind);
  }
  ApplyConditions(c, record);
  EXPECT_EQ(Utf8(FieldText(record.FirstName)), "人間");
  form.FirstPlayer = name;
  ASSERT_TRUE(Ok());
  ApplyConditions(c, record);
  EXPECT_EQ(FieldText(record.FirstName), name.substr(0, sizeof record.FirstName - 1));
}

TEST_F(ConditionsDialogTest, StartPositionCannotChangeDuringAGame) {
  c.StartEditable = false;
  form.StartPosition = 3;
  ASSERT_TRUE(Ok());
  EXPECT_EQ(ui.LastMessage(), "対局途中ですので、ここを変更しても局面図は変更されません。");
  EXPECT_EQ(ui.Messages.back().Caption, "開始局面");
  EXPECT_EQ(c.StartPosition, 0);
}

TEST_F(ConditionsDialogTest, ListsFollowTheMode) {
  ConditionsLists lists = LoadConditionsLists(c, "/nonexistent-folder/");
  EXPECT_EQ(lists.Players.size(), 11u);
  EXPECT_TRUE(lists.Tournaments.empty());
  ASSERT_EQ(lists.StartPositions.size(), 11u);
  EXPECT_EQ(lists.StartPositions[0], "現在の局面");
  EXPECT_EQ(lists.StartPositions[10], "十枚落ち");
  c.ComputerMode = false;
  EXPECT_TRUE(LoadConditionsLists(c, "/nonexistent-folder/").Players.empty());
}

}  // namespace
}  // namespace shogi
