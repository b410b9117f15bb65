// The 編集 menu in the window, through the window's real clipboard: a record copied as KIF
// and pasted back, and a SFEN pasted from another program.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/menu.h>

#include "rules/sfen.h"
#include "shell/command_table.h"
#include "tests/records/record_compare.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class ClipboardWindowTest : public GuiFixture {
 protected:
  // Puts `text` on the clipboard as another program would.
  static void PutOnClipboard(const std::string& text) {
    wxClipboardLocker locker;
    ASSERT_FALSE(!locker);
    ASSERT_TRUE(wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text))));
  }
  static std::string ClipboardText() {
    wxClipboardLocker locker;
    wxTextDataObject data;
    if (!locker || !wxTheClipboard->GetData(data)) return "";
    return data.GetText().utf8_string();
  }
};

TEST_F(ClipboardWindowTest, TheEditMenuFollowsTheFileMenu) {
  wxMenuBar* bar = frame->GetMenuBar();
  ASSERT_GT(bar->GetMenuCount(), 1u);
  EXPECT_EQ(bar->GetMenuLabel(1).utf8_string(), "編集(&E)");
  wxMenu* edit = bar->GetMenu(1);
  ASSERT_EQ(edit->GetMenuItemCount(), 4u);
  EXPECT_EQ(edit->FindItemByPosition(0)->GetId(), kCmdCopyKif);
  EXPECT_EQ(edit->FindItemByPosition(1)->GetId(), kCmdCopySfen);
  EXPECT_TRUE(edit->FindItemByPosition(2)->IsSeparator());
  EXPECT_EQ(edit->FindItemByPosition(3)->GetId(), kCmdPasteRecord);
}

TEST_F(ClipboardWindowTest, ARecordCopiedAsKifPastesBackTheSame) {
  const std::string path = std::string(SHOGI_TEST_DATA) + "/kif/even.kif";
  ui.FileAnswers.push_back({true, path, 0});
  view->RunCommand(kCmdReadKif);
  ProgramState& s = view->State();
  ASSERT_EQ(RecordMoveCount(s.Record), 5) << ui.LastMessage();
  const GameRecord copied = s.Record;
  view->RunCommand(kCmdCopyKif);
  EXPECT_NE(ClipboardText().find("手合割：平手"), std::string::npos);

  view->RunCommand(kCmdStepForward);
  view->RunCommand(kCmdToLast);
  ui.FileAnswers.push_back({true, std::string(SHOGI_TEST_DATA) + "/csa/even_no_times.csa", 0});
  view->RunCommand(kCmdReadCsa);
  ASSERT_FALSE(SameRecord(s.Record, copied));
  view->RunCommand(kCmdPasteRecord);
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_TRUE(SameRecord(s.Record, copied));
  SavePicture("clipboard_kif_pasted");
}

TEST_F(ClipboardWindowTest, ASfenFromAnotherProgramBecomesTheRecord) {
  const std::string sfen = "4k4/9/4P4/9/9/9/9/9/4K4 b G 1";
  PutOnClipboard("sfen " + sfen + "\n");
  view->RunCommand(kCmdPasteRecord);
  ProgramState& s = view->State();
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_EQ(ToSfen(s.Shown, kFirst), sfen);
  EXPECT_EQ(RecordMoveCount(s.Record), 0);
  // And the shown position copied as SFEN is the same text.
  view->RunCommand(kCmdCopySfen);
  EXPECT_EQ(ClipboardText(), sfen);
  SavePicture("clipboard_sfen_pasted");

  // A text that is no record leaves the record alone.
  const GameRecord before = s.Record;
  PutOnClipboard("hello");
  view->RunCommand(kCmdPasteRecord);
  EXPECT_TRUE(SameRecord(s.Record, before));
  EXPECT_EQ(ui.LastMessage(), "クリップボードの内容は棋譜として読めません。");
}

}  // namespace
}  // namespace shogi::gui
