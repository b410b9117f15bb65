// The Bonanza menu's dialogs in the window: the lookup list with its rows, the builder's
// fields, its "..." buttons and its refusal of a bad ply count; pictures of both under
// build/gui-pictures/.
#include <gtest/gtest.h>

#include "shell/book_commands.h"
#include "shell/gui/book_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class BookDialogsTest : public GuiFixture {
 protected:
  // Writes the picture of `dialog` at the screen's corner, then hides it again.
  static void SaveDialogPicture(wxDialog& dialog, const std::string& name) {
    dialog.Move(0, 0);
    SaveShownDialogPicture(dialog, name);
    dialog.Hide();
  }
};

TEST_F(BookDialogsTest, TheLookupListShowsEveryRow) {
  const std::vector<BookMoveRow> rows = {
      {"▲２六歩", "  50.0007630"}, {"▲７五歩", "  49.9992370"}, {"▲４八銀", "100"}};
  CBookLookup dialog(frame, rows);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "Bonanza Book 検索");
  ASSERT_EQ(dialog.List()->GetItemCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dialog.List()->GetItemText(i, 0).utf8_string(), rows[i].Move);
    EXPECT_EQ(dialog.List()->GetItemText(i, 1).utf8_string(), rows[i].Share);
  }
  SaveDialogPicture(dialog, "book_lookup");
}

TEST_F(BookDialogsTest, TheBuilderShowsItsInputsAndRefusesABadPlyCount) {
  BookBuildOptions options;
  options.Input = "/data/games.mix";
  options.Output = "book.bin";
  options.Plies = 24;
  options.ResignRule = true;
  options.Condition = kBookLoserBefore100;
  CBookBuild dialog(frame, options, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "Tarvel->Bonanza book");
  EXPECT_EQ(dialog.PliesField()->GetValue(), "24");
  EXPECT_EQ(dialog.ConditionList()->GetCount(), 4u);
  EXPECT_EQ(dialog.ConditionList()->GetString(2).utf8_string(),
            "以降、100手以内で負けた場合は未登録");
  SaveDialogPicture(dialog, "book_build");

  for (const char* bad : {"257", "x", ""}) {
    dialog.PliesField()->ChangeValue(bad);
    ASSERT_FALSE(dialog.PressBuild()) << bad;
    EXPECT_EQ(ui.LastMessage(), "有効手数は0～256の整数で入力してください。");
    EXPECT_EQ(ui.Messages.back().Caption, "Tarvel->Book");
  }
  // The "..." buttons: a cancelled dialog keeps the field, a chosen file fills it.
  ui.FileAnswers = {{}, {true, "/other/new.mix", 0}, {true, "/other/new.bin", 0}};
  dialog.BrowseInput();
  EXPECT_EQ(dialog.InputField()->GetValue(), "/data/games.mix");
  dialog.BrowseInput();
  dialog.BrowseOutput();
  ASSERT_EQ(ui.FileRequests.size(), 3u);
  EXPECT_EQ(ui.FileRequests[0].Title, "SET Tarvel形式ファイル");
  EXPECT_EQ(ui.FileRequests[0].InitialPath, "/data/games.mix");
  EXPECT_EQ(ui.FileRequests[2].Title, "SET 定跡ファイル名");
  EXPECT_EQ(ui.FileRequests[2].InitialPath, "book.bin");

  dialog.PliesField()->ChangeValue("12");
  dialog.ResignBox()->SetValue(false);
  dialog.ConditionList()->SetSelection(1);
  ASSERT_TRUE(dialog.PressBuild());
  const BookBuildOptions got = dialog.Options();
  EXPECT_EQ(got.Input, "/other/new.mix");
  EXPECT_EQ(got.Output, "/other/new.bin");
  EXPECT_EQ(got.Plies, 12);
  EXPECT_FALSE(got.ResignRule);
  EXPECT_EQ(got.Condition, kBookWinnerOnly);
}

}  // namespace
}  // namespace shogi::gui
