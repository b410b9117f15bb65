// The record's comments and variations in the window: the notes window follows the shown
// position, its list and ↑/↓ follow a variation, its comment box edits the comment, and a
// game at a past position keeps the old moves; each saved and read back. Pictures go to
// build/gui-pictures/.
#include <gtest/gtest.h>

#include "records/record_format.h"
#include "shell/gui/notes_window.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/test_files.h"

namespace shogi::gui {
namespace {

class NotesWindowTest : public GuiFixture {
 protected:
  // The next record dialog answers `path` as a KIF file (柿木将棋).
  void ChooseKif(const std::string& path) {
    ui.RecordFileDialog.Answers.push_back([path](RecordFileRequest& r) {
      r.Path = path;
      r.FormatIndex = 1;
      r.FormatChosen = true;
      return true;
    });
  }
  // Saves the record through 書き込み as KIF and lists what the file holds.
  std::string SaveAndList(const std::string& path) {
    ChooseKif(path);
    view->RunCommand(kCmdSaveRecord);
    GameRecord record;
    RecordTree tree;
    std::string message;
    EXPECT_EQ(ReadRecord(RecordFormat::kKif, path, record, tree, message), 0) << message;
    return TreeListing(record, tree);
  }
  test::TempFolder dir;
};

TEST_F(NotesWindowTest, ShowsFollowsAndEditsTheVariationsAndComments) {
  ChooseKif(std::string(SHOGI_TEST_DATA) + "/kif/variations.kif");
  view->RunCommand(kCmdOpenRecord);
  view->RunCommand(kCmdShowNotes);
  CNotesWindow* notes = view->NotesWindow();
  ASSERT_NE(notes, nullptr);
  view->RunCommand(kCmdStepForward);
  EXPECT_EQ(notes->Comment()->GetValue().utf8_string(), "角道を開ける\n\n空行の次の行");
  view->RunCommand(kCmdStepForward);
  view->RunCommand(kCmdStepForward);
  ASSERT_EQ(notes->Variations()->GetCount(), 2u);
  EXPECT_EQ(notes->Variations()->GetString(1).utf8_string(), "▲２二角成");
  SavePicture("notes_move_list");
  SaveShownDialogPicture(*notes, "notes_window");

  // ↓ follows the variation, ↑ comes back; a click in the list follows it again.
  EXPECT_TRUE(view->KeyDown(WXK_DOWN));
  EXPECT_EQ(Moves(), "7g7f 3c3d 8h2b+ 3a2b B*4e");
  EXPECT_TRUE(view->KeyDown(WXK_UP));
  EXPECT_EQ(Moves(), "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e");
  view->FollowVariation(1);
  EXPECT_EQ(notes->Variations()->GetSelection(), 1);
  notes->Comment()->SetValue(wxString::FromUTF8("角を換える"));
  SaveShownDialogPicture(*notes, "notes_window_comment");
  view->RunCommand(kCmdMakeMainLine);
  const std::string listing = SaveAndList(dir.Path() + "edited.kif");
  EXPECT_EQ(listing.substr(0, listing.find('\n')), "line 0: 7g7f 3c3d 8h2b+ 3a2b B*4e");
  EXPECT_NE(listing.find("comment 0 3: 角を換える\n"), std::string::npos) << listing;

  view->RunCommand(kCmdShowNotes);
  EXPECT_EQ(view->NotesWindow(), nullptr);
}

// A game between persons from a past position, the record's old moves kept as a variation.
TEST_F(NotesWindowTest, AGameAtAPastPositionSavesTheOldMovesAsAVariation) {
  ChooseKif(std::string(SHOGI_TEST_DATA) + "/kif/variations_plain.kif");
  view->RunCommand(kCmdOpenRecord);
  const std::string before = Moves();
  view->RunCommand(kCmdStepForward);
  view->RunCommand(kCmdStepForward);
  ui.MessageAnswers.push_back(MessageAnswer::kNo);  // from here, not from the start
  view->RunCommand(kCmdStartGame);
  ASSERT_EQ(view->State().InteractionState, kStateGame);
  MouseMove("2g2f");
  view->RunCommand(kCmdSuspend);
  const std::string listing = SaveAndList(dir.Path() + "game.kif");
  const std::string played = Moves();
  EXPECT_EQ(listing.substr(0, listing.find('\n')), "line 0: " + played);
  EXPECT_NE(listing.find(": " + before + "\n"), std::string::npos) << listing;
}

}  // namespace
}  // namespace shogi::gui
