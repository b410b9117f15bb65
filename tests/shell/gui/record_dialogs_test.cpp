// The record file commands' dialogs in the window: the file dialog with its format combo
// (open: the combo on ＣＳＡ; save: the check box too), CUrlDlg, the list of a Kaya file's
// games with its scroll bar, the Kaya save question and the time-used editor. Each leaves a
// picture in build/gui-pictures/ and runs as a program of its own.
#include <gtest/gtest.h>
#include <wx/button.h>

#include <chrono>

#include "records/kaya.h"
#include "records/record_format.h"
#include "shell/gui/record_dialogs.h"
#include "shell/gui/window_dialogs.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/test_http_server.h"

namespace shogi::gui {
namespace {

RecordFileRequest Request(bool save, int index) {
  RecordFileRequest r;
  r.Save = save;
  r.Title = save ? "棋譜ファイルの書き込み" : "棋譜ファイルの読み込み";
  r.Filters = {{"棋譜ファイル(*.kif;*.csa)", "*.kif;*.csa"}, {"全てのファイル(*.*)", "*.*"}};
  r.InitialPath = std::string(SHOGI_TEST_DATA) + "/csa/even.csa";
  const int count = save ? SaveListSize() : OpenListSize();
  for (int i = 0; i < count; ++i)
    r.Formats.push_back((save ? SaveListRow(i) : OpenListRow(i))->ListText);
  r.FormatIndex = index;
  return r;
}

// The platform's file dialog is a window of the toolkit's own, which the dialog object
// does not measure: the picture is the whole screen while it is shown.
void SaveFileDialogPicture(wxWindow* owner, wxFileDialog& dialog, const std::string& name) {
  wxTimer timer(owner);
  owner->Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    GuiFixture::SaveScreenPicture(wxRect(wxPoint(), wxGetDisplaySize()), name);
    dialog.EndModal(wxID_CANCEL);
  });
  timer.StartOnce(1500);
  dialog.ShowModal();
  GuiFixture::Pump();
}

TEST_F(DialogPictureTest, SpecialFileDialogOpensWithTheFormatCombo) {
  RecordFileRequest request = Request(false, 5);  // ＣＳＡ
  CSpecialFileDialog dialog(frame, request);
  EXPECT_EQ(dialog.GetMessage().utf8_string(), "棋譜ファイルの読み込み");
  SaveFileDialogPicture(frame, dialog, "record_open_dialog");
  ASSERT_NE(dialog.Controls().Combo(), nullptr);
  EXPECT_EQ(dialog.Controls().Combo()->GetSelection(), 5);
  EXPECT_EQ(dialog.Controls().Check(), nullptr);  // no check box when opening
}

TEST_F(DialogPictureTest, SpecialFileDialogSavesWithTheCheckBox) {
  RecordFileRequest request = Request(true, 3);  // かや
  request.StoreTimes = false;
  CSpecialFileDialog dialog(frame, request);
  SaveFileDialogPicture(frame, dialog, "record_save_dialog");
  ASSERT_NE(dialog.Controls().Check(), nullptr);
  EXPECT_FALSE(dialog.Controls().Check()->GetValue());
  dialog.Controls().Check()->SetValue(true);
  dialog.Controls().Combo()->SetSelection(4);
  const_cast<FormatControls&>(dialog.Controls()).TransferDataFromCustomControls();
  EXPECT_EQ(request.FormatIndex, 4);
  EXPECT_TRUE(request.StoreTimes);
}

TEST_F(DialogPictureTest, UrlDialogTakesTheUrl) {
  CUrlDlg dialog(frame, "http://example.org/old.kif");
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "URLから棋譜ファイルを読み込む。");
  dialog.Field()->ChangeValue("https://example.org/game.csa");
  SaveDialogPicture(dialog, "url_dialog");
  EXPECT_EQ(dialog.Url(), "https://example.org/game.csa");
  dialog.Field()->ChangeValue(wxString('x', 300));
  dialog.Field()->SetInsertionPointEnd();
  dialog.Field()->WriteText("y");
  EXPECT_LE(dialog.Field()->GetValue().length(), 300u);
}

// URL読み込み from a server that sends a long file slowly: the window's own progress box comes
// up over a window that takes no input but keeps running its events; its キャンセル ends the
// command at once, with no box after it.
TEST_F(DialogPictureTest, UrlDownloadWaitsInTheProgressBoxUntilCancelled) {
  test::TestHttpServer slow({{"/game.csa", std::string(10000, ' ')}},
                                    test::TestHttpServer::Answer::kSlowly);
  struct Person : test::ScriptedUserInterface {
    WindowDialogs* window = nullptr;
    bool ShowProgress(const std::string& caption, const std::string& text) override {
      return window->ShowProgress(caption, text);
    }
    void EndProgress() override { window->EndProgress(); }
  } person;
  MemoryProfile settings;
  auto* main = new CMainFrame(Options(settings, person));
  main->Show();
  WindowDialogs window(main, "");
  person.window = &window;
  person.UrlDialog.Answers.push_back([&](std::string& url) {
    url = slow.Url("/game.csa");
    return true;
  });
  bool seen = false;
  wxEvtHandler handler;
  wxTimer timer(&handler);
  handler.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    CProgressBox* box = window.Progress();
    if (box == nullptr) return;
    seen = true;
    EXPECT_FALSE(main->IsEnabled());
    EXPECT_EQ(box->GetTitle().utf8_string(), "URL棋譜読み込み");
    EXPECT_NE(box->Text().find("／10000バイト"), std::string::npos) << box->Text();
    SaveScreenPicture(box->GetScreenRect(), "url_progress");
    wxCommandEvent press(wxEVT_BUTTON, wxID_CANCEL);
    press.SetEventObject(box->CancelButton());
    box->CancelButton()->ProcessWindowEvent(press);
  });
  timer.StartOnce(700);
  const auto start = std::chrono::steady_clock::now();
  main->View()->RunCommand(kCmdUrlCsa);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_TRUE(seen);
  EXPECT_EQ(window.Progress(), nullptr);
  EXPECT_TRUE(main->IsEnabled());
  Pump();
  EXPECT_TRUE(person.Messages.empty()) << person.LastMessage();
  main->Destroy();
  Pump();
}

TEST_F(DialogPictureTest, KayaListScrollsAndChooses) {
  std::vector<std::string> rows;
  for (int i = 1; i <= 45; ++i) {
    char row[80];
    std::snprintf(row, sizeof row, "%3d %-22s %-22s %s", i, "sente", "gote", "title");
    rows.push_back(row);
  }
  RecordListModel list(kKayaListTitle, kKayaListHeader, rows);
  CRecordList dialog(frame, list);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "か　や　一　覧　表");
  EXPECT_EQ(dialog.Rows()->GetCount(), 20u);
  EXPECT_EQ(dialog.Bar()->GetRange(), 45);
  dialog.ScrollTo(30);  // beyond the end: the last twenty rows
  EXPECT_EQ(dialog.Rows()->GetString(0).utf8_string(), rows[25]);
  EXPECT_FALSE(dialog.ChooseSelected());
  dialog.Rows()->SetSelection(2);
  SaveDialogPicture(dialog, "kaya_list");
  EXPECT_TRUE(dialog.ChooseSelected());
  EXPECT_EQ(list.Chosen(), 28);
}

TEST_F(DialogPictureTest, KayaSaveOffersFourAnswers) {
  CKayaSave dialog(frame);
  SaveDialogPicture(dialog, "kaya_save_question");
  int buttons = 0;
  for (wxWindow* child : dialog.GetChildren())
    buttons += dynamic_cast<wxButton*>(child) != nullptr ? 1 : 0;
  EXPECT_EQ(buttons, 4);
}

TEST_F(DialogPictureTest, TimeEditorPagesClearsAndRefusesABadField) {
  GameRecord record =
      test::MakeRecord("startpos", "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d",
                               {90, 30, 200, 59, 320, 179, 400, 240, 460, 300, 520});
  TimeEditor editor(record);
  CShohi dialog(frame, editor, ui);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "消費時間設定　　");
  EXPECT_EQ(dialog.PageLabel()->GetLabel().utf8_string(), "(1/2)");
  EXPECT_EQ(dialog.Label(0)->GetLabel().utf8_string(), "▲７六歩");
  EXPECT_EQ(dialog.Field(4)->GetValue(), "2");  // 320 - 200 s
  SaveDialogPicture(dialog, "time_editor");
  dialog.Field(0)->ChangeValue("x");
  EXPECT_FALSE(dialog.NextPage());
  EXPECT_EQ(ui.LastMessage(), "整数を入力してください。");
  dialog.Field(0)->ChangeValue("3");
  ASSERT_TRUE(dialog.NextPage());
  EXPECT_EQ(dialog.PageLabel()->GetLabel().utf8_string(), "(2/2)");
  EXPECT_EQ(dialog.Label(0)->GetLabel().utf8_string(), "▲同　飛");
  EXPECT_EQ(dialog.Label(1)->GetLabel().utf8_string(), "");
  ASSERT_TRUE(dialog.PreviousPage());
  EXPECT_EQ(dialog.Field(0)->GetValue(), "3");
  dialog.Clear();
  EXPECT_EQ(dialog.Field(0)->GetValue(), "0");
  ASSERT_TRUE(dialog.PressOk());
  editor.Apply(record);
  for (int ply = 0; ply < 11; ++ply) EXPECT_EQ(record.MoveTimes[ply], 0) << ply;
}

}  // namespace
}  // namespace shogi::gui
