// The dialogs of the whole-database items in the window: each shown with its texts, a
// refused field selected for typing over while the dialog stays, and the struct it fills.
// Each leaves a picture in build/gui-pictures/ and runs as a program of its own.
#include <gtest/gtest.h>

#include "shell/gui/maintenance_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

TEST_F(DialogPictureTest, SortOffersBothDirections) {
  CSort dialog(frame);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "日付ソート");
  EXPECT_EQ(dialog.Choice(), SortOrderChoice::kAscending);
  SaveDialogPicture(dialog, "sort");
  dialog.Descending()->SetValue(true);
  EXPECT_EQ(dialog.Choice(), SortOrderChoice::kDescending);
}

TEST_F(DialogPictureTest, SwapRefusesABadNumberAndReturnsTheTwo) {
  CIrekae dialog(frame, SwapRequest{30, "", ""}, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "順番入れ換え");
  dialog.FirstField()->ChangeValue("12");
  dialog.SecondField()->ChangeValue("31");
  SaveDialogPicture(dialog, "swap");
  EXPECT_FALSE(dialog.PressOk());
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "入れ換え");
  EXPECT_EQ(ui.Messages[0].Text, "番号が登録データ数を超してます。");
  EXPECT_EQ(dialog.SecondField()->GetStringSelection(), "31");
  EXPECT_EQ(dialog.FirstField()->GetStringSelection(), "");
  dialog.SecondField()->ChangeValue("3");
  ASSERT_TRUE(dialog.PressOk());
  EXPECT_EQ(dialog.Request().First, 12);
  EXPECT_EQ(dialog.Request().Second, 3);
}

TEST_F(DialogPictureTest, BulkNumbersRefuseOutOfRangeAndReturnTheTwo) {
  CIkkatsuBango dialog(frame, RenameNumbersRequest{"棋戦番号一括変更", 99, "棋泉", "5", "100"}, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "棋戦番号一括変更");
  SaveDialogPicture(dialog, "bulk_numbers");
  EXPECT_FALSE(dialog.PressOk());
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "変更後番号");
  EXPECT_EQ(ui.Messages[0].Text, "0～99の範囲の数を入力してください。");
  EXPECT_EQ(dialog.NewField()->GetStringSelection(), "100");
  dialog.NewField()->ChangeValue("7");
  ASSERT_TRUE(dialog.PressOk());
  EXPECT_EQ(dialog.Request().Old, 5);
  EXPECT_EQ(dialog.Request().New, 7);
}

TEST_F(DialogPictureTest, PlayerNamesOfferTheList) {
  CKishi_name dialog(frame, RenameNamesRequest{{"羽生善治", "升田幸三"}, "", ""});
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "棋士名一括変更");
  ASSERT_EQ(dialog.OldBox()->GetCount(), 2u);
  EXPECT_EQ(dialog.NewBox()->GetString(1).utf8_string(), "升田幸三");
  dialog.OldBox()->SetSelection(0);
  dialog.NewBox()->SetValue(wxString::FromUTF8("大山康晴"));
  SaveDialogPicture(dialog, "player_names");
  EXPECT_EQ(dialog.Request().Old, "羽生善治");
  EXPECT_EQ(dialog.Request().New, "大山康晴");
}

TEST_F(DialogPictureTest, YearbookWaitsForEveryNameAndBrowses) {
  CNenkan dialog(frame, YearbookFiles{"a.dat", "b.dat", "c.dat", ""}, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "将棋年鑑");
  const int ids[] = {1103, 1104, 1105, 1021};  // the three input files, the Tarvel file
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog.FindWindow(ids[i]), dialog.Field(i));
  SaveDialogPicture(dialog, "yearbook");
  EXPECT_FALSE(dialog.PressOk());  // no Tarvel file yet: nothing happens
  EXPECT_TRUE(ui.Messages.empty());
  ui.FileAnswers = {{true, "/data/year", 0}};
  dialog.Browse(dialog.Field(3), true);
  ASSERT_TRUE(dialog.PressOk());
  const YearbookFiles files = dialog.Files();
  EXPECT_EQ(files.MoveData, "c.dat");
  EXPECT_EQ(files.Database, "/data/year.mix");
}

}  // namespace
}  // namespace shogi::gui
