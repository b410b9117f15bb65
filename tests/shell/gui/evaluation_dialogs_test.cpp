// The Bonanza menu's evaluation dialogs in the window: "駒の価値" refusing a bad field and
// returning the values, "Bonanza 最善手 検索" filled from the ranking, and a menu click that
// reaches a handler. Both dialogs leave a picture in build/gui-pictures/.
#include <gtest/gtest.h>
#include <wx/menu.h>

#include "shell/command_table.h"
#include "shell/gui/evaluation_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

TEST_F(DialogPictureTest, BestMovesFillTheirPairsInOrder) {
  std::vector<BestMoveRow> rows;
  for (int i = 0; i < 40; ++i) rows.push_back({i % 2 ? "△同　歩" : "▲７六歩", 500 - 10 * i});
  CSaizenshu dialog(frame, rows);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "Bonanza 最善手 検索");
  EXPECT_EQ(dialog.MoveField(0)->GetValue().utf8_string(), "▲７六歩");
  EXPECT_EQ(dialog.ScoreField(0)->GetValue(), "500");
  EXPECT_EQ(dialog.MoveField(39)->GetValue().utf8_string(), "△同　歩");
  EXPECT_EQ(dialog.ScoreField(39)->GetValue(), "110");
  EXPECT_EQ(dialog.MoveField(40)->GetValue(), "");
  EXPECT_EQ(dialog.ScoreField(63)->GetValue(), "");
  SaveDialogPicture(dialog, "best_moves");
}

TEST_F(DialogPictureTest, PieceValuesRefuseABadFieldAndReturnTheValues) {
  CKomaKachi dialog(frame, kDefaultPieceValues, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "駒の価値");
  EXPECT_EQ(dialog.Field(0)->GetValue(), "87");
  EXPECT_EQ(dialog.Field(12)->GetValue(), "945");
  SaveDialogPicture(dialog, "piece_values");
  dialog.Field(3)->ChangeValue("40000");
  EXPECT_FALSE(dialog.PressOk());
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "駒の価値");
  EXPECT_EQ(ui.Messages[0].Text, "0～32767の範囲の整数を入力してください。");
  EXPECT_EQ(dialog.Field(3)->GetStringSelection(), "40000");  // selected, to be typed over
  dialog.Field(3)->ChangeValue("0");
  dialog.Field(12)->ChangeValue("32767");
  ASSERT_TRUE(dialog.PressOk());
  PieceValueTable expected = kDefaultPieceValues;
  expected[kSilver] = 0;
  expected[kDragon] = 32767;
  EXPECT_EQ(dialog.Values(), expected);
}

// The menu stands before ヘルプ; its items reach their handlers.
TEST_F(GuiFixture, TheBonanzaMenuRunsTheCommands) {
  wxMenuBar* bar = frame->GetMenuBar();
  const int index = bar->FindMenu("Bonanza");
  ASSERT_NE(index, wxNOT_FOUND);
  EXPECT_EQ(bar->GetMenuLabel(static_cast<std::size_t>(index) + 1).utf8_string(), "ヘルプ(&H)");
  wxCommandEvent click(wxEVT_MENU, kCmdMaterial);
  click.SetEventObject(frame);
  frame->ProcessWindowEvent(click);
  Pump();
  EXPECT_EQ(ui.LastMessage(), "駒の損得は、0点でした。");
}

}  // namespace
}  // namespace shogi::gui
