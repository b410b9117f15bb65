// The search dialog CKensaku and the list dialogs in the window: a search typed into the
// dialog's controls and confirmed by its OK button, the list shown and a line double-clicked
// loading the game at the searched ply; a refused date; pictures of both dialogs under
// build/gui-pictures/.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <filesystem>
#include <memory>

#include "database/game_database.h"
#include "platform/cp932.h"
#include "shell/gui/database_dialogs.h"
#include "shell/gui/explorer_window.h"
#include "shell/gui/window_dialogs.h"
#include "tests/database/database_test_util.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/game_builder.h"

namespace shogi::gui {
namespace {

const char kOpening[] = "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b";

// The scripted person, but with the window's own search and list dialogs.
class WindowSearchDialogs : public test::ScriptedUserInterface {
 public:
  WindowSearchDialogs(wxWindow* parent, const std::string& folder) : dialogs_(parent, folder) {}
  bool EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                            const SearchChoices& choices) override {
    return dialogs_.EditSearchConditions(conditions, dates, choices);
  }
  void ShowGameList(GameListSession& session) override { dialogs_.ShowGameList(session); }

 private:
  WindowDialogs dialogs_;
};

class DatabaseDialogsTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    folder_ =
        (std::filesystem::temp_directory_path() / ("shogi_db_dialogs_" + std::to_string(getpid())))
            .string() +
        "/";
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    timers_.clear();
    std::filesystem::remove_all(folder_);
    GuiFixture::TearDown();
  }

  // A Tarvel database of games between two named players holding the first `plies[i]` moves
  // of one opening.
  DatabasePaths MakeDatabase(const std::vector<int>& plies) {
    DatabasePaths paths;
    std::string message;
    EXPECT_EQ(DatabasePathsOf(folder_ + "games.mix", paths, message), 0);
    const std::vector<std::string> moves = test::SplitUsi(kOpening);
    std::vector<GameRecord> games;
    for (std::size_t i = 0; i < plies.size(); ++i) {
      std::string usi;
      for (int p = 0; p < plies[i]; ++p) usi += moves[static_cast<std::size_t>(p)] + " ";
      GameRecord game = test::MakeRecord("startpos", usi);
      CopyCp932Field(game.FirstName, Cp932(i % 2 ? "谷川浩司" : "羽生善治"));
      CopyCp932Field(game.SecondName, Cp932(i % 2 ? "羽生善治" : "森内俊之"));
      game.Year = 2010 + static_cast<int>(i);
      game.Month = game.Day = 1 + static_cast<int>(i);
      game.ResultCode = 1 + static_cast<int>(i % 3);
      games.push_back(game);
    }
    EXPECT_EQ(test::WriteGames(kTarvelFormat, paths, folder_, games, message), 0) << message;
    return paths;
  }

  // Runs `act` on the modal dialog of type T once the window system shows it.
  template <class T>
  void WhenShown(std::function<void(T&)> act) {
    auto timer = std::make_unique<wxTimer>();
    wxTimer* t = timer.get();
    t->Bind(wxEVT_TIMER, [t, act](wxTimerEvent&) {
      for (wxWindow* w : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<T*>(w);
        if (dialog == nullptr || !dialog->IsModal()) continue;
        t->Stop();
        act(*dialog);
        return;
      }
    });
    t->Start(50);
    timers_.push_back(std::move(timer));
  }

  static void PressButton(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent e(wxEVT_BUTTON, id);
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
  }

  std::string folder_;
  std::vector<std::unique_ptr<wxTimer>> timers_;
};

// The whole way through the window's dialogs: the conditions typed into CKensaku and OK
// pressed, the search's message, the list with the two games found, a double-click on the
// first line: the game on the board at the searched ply.
TEST_F(DatabaseDialogsTest, ASearchTypedIntoTheDialogListsGamesAndADoubleClickLoadsOne) {
  ProgramState& s = view->State();
  s.Tarvel.Paths = MakeDatabase({2, 6, 4, 8, 3});
  s.Record = test::MakeRecord("startpos", kOpening);
  s.Record.PlyCount = s.Record.StartIndex + 4;
  RebuildShown(s);
  WindowSearchDialogs person(frame, folder_);
  ShellContext ctx{s, person};

  std::vector<std::string> header;
  std::vector<std::vector<std::string>> pages;
  WhenShown<CKensaku>([&](CKensaku& dialog) {
    EXPECT_EQ(dialog.PositionModeField()->GetCount(), 4u);
    EXPECT_EQ(dialog.PositionModeField()->GetString(1).utf8_string(), "類似局面（反転を含む）");
    dialog.NameField(SearchField::kPlayer1)->SetValue(wxString::FromUTF8("羽生善治"));
    dialog.DateField(SearchField::kStartYear)->SetValue("2000");
    dialog.DateField(SearchField::kStartMonth)->SetValue("1");
    dialog.DateField(SearchField::kEndYear)->SetValue("2099");
    dialog.DateField(SearchField::kEndMonth)->SetValue("12");
    dialog.PositionModeField()->SetSelection(3);
    SaveShownDialogPicture(dialog, "search_dialog");
    WhenShown<CGameListDialog>([&](CGameListDialog& list) {
      EXPECT_EQ(list.GetTitle().utf8_string(), "Ｔａｒｖｅｌ　一　覧　表");
      EXPECT_EQ(list.List()->GetId(), 1055);
      header.push_back(list.Header()->GetLabel().utf8_string());
      pages.emplace_back();
      for (unsigned i = 0; i < list.List()->GetCount(); ++i) {
        pages.back().push_back(list.List()->GetString(i).utf8_string());
      }
      EXPECT_EQ(list.ScrollBar()->GetRange(), 1);  // two entries: no scrolling
      SaveShownDialogPicture(list, "game_list");
      list.List()->SetSelection(0);
      wxCommandEvent click(wxEVT_LISTBOX_DCLICK, list.List()->GetId());
      click.SetInt(0);
      click.SetEventObject(list.List());
      list.List()->GetEventHandler()->ProcessEvent(click);
    });
    PressButton(dialog, wxID_OK);
  });
  SearchDatabase(ctx, folder_, DatabaseKind::kTarvel);

  EXPECT_EQ(person.MessageTexts(), std::vector<std::string>{"　　全部で2件存在します。"});
  ASSERT_EQ(pages.size(), 1u);
  // Games 2 (6 moves) and 4 (8 moves) pass through the position after four moves and have
  // 羽生善治 as a player; the Tarvel list shows the last found first.
  ASSERT_EQ(pages[0].size(), 2u);
  EXPECT_EQ(pages[0][0].substr(0, 6), "     4");
  EXPECT_EQ(pages[0][1].substr(0, 6), "     2");
  EXPECT_NE(pages[0][0].find("谷川浩司"), std::string::npos);
  EXPECT_NE(header[0].find("指し手"), std::string::npos);
  EXPECT_EQ(s.Tarvel.CurrentRecordNo, 4);
  EXPECT_EQ(s.Record.PlyCount, s.Record.StartIndex + 4);
  EXPECT_EQ(s.Search.Player1, Cp932("羽生善治"));
  EXPECT_EQ(s.Search.Mode, PositionMode::kSame);
}

// A refused date: the message with its caption, the field focused with its text selected,
// the dialog still open; the list's buttons and the scroll bar of a longer list.
TEST_F(DatabaseDialogsTest, ARefusedDateSelectsItsFieldAndTheListScrollsByTheModel) {
  SearchChoices choices;
  choices.Players = {"", Cp932("羽生善治"), Cp932("谷川浩司")};
  CKensaku dialog(frame, SearchConditions{}, choices, ui);
  dialog.Show();
  EXPECT_EQ(dialog.NameField(SearchField::kPlayer1)->GetCount(), 3u);
  dialog.DateField(SearchField::kStartYear)->SetValue("2000");
  dialog.DateField(SearchField::kStartMonth)->SetValue("4");
  dialog.DateField(SearchField::kEndYear)->SetValue("2000");
  dialog.DateField(SearchField::kEndMonth)->SetValue("3");
  EXPECT_FALSE(dialog.PressOk());
  EXPECT_EQ(ui.LastMessage(), "範囲指定が間違ってます。");
  EXPECT_EQ(ui.Messages.back().Caption, "対局日");
  Pump();
  EXPECT_EQ(wxWindow::FindFocus(), dialog.DateField(SearchField::kEndMonth));
  long from = 0, to = 0;
  dialog.DateField(SearchField::kEndMonth)->GetSelection(&from, &to);
  EXPECT_EQ(to - from, 1);
  dialog.DateField(SearchField::kEndMonth)->SetValue("5");
  EXPECT_TRUE(dialog.PressOk());
  EXPECT_EQ(dialog.Dates().EndMonth, 5);
  dialog.Hide();

  // 45 games: the pages start at 0, 20 and 25 as the arrows move them.
  ProgramState& s = view->State();
  s.Tarvel.Paths = MakeDatabase(std::vector<int>(45, 1));
  s.Lists.Reverse[1] = false;
  ShellContext ctx{s, ui};
  GameListSession session(ctx, folder_, DatabaseKind::kTarvel);
  ASSERT_TRUE(session.Open());
  CGameListDialog list(frame, session);
  EXPECT_EQ(list.ScrollBar()->GetRange(), 26);
  std::vector<std::string> firsts;
  for (int i = 0; i < 3; ++i) {
    firsts.push_back(list.List()->GetString(0).utf8_string().substr(0, 6));
    list.ScrollEvent(GameList::ScrollAction::kArrowDown, 0);
  }
  EXPECT_EQ(firsts, (std::vector<std::string>{"     1", "    21", "    26"}));
  EXPECT_EQ(list.ScrollBar()->GetThumbPosition(), 25);
  const wxString header = list.Header()->GetLabel();
  PressButton(list, kTarvelListIds.Column1);
  EXPECT_NE(list.Header()->GetLabel(), header);
  PressButton(list, kTarvelListIds.Delete);  // nothing selected
  EXPECT_EQ(ui.LastMessage(), "削除データが選択されてません。");
}

// 局面統計: the panel beside the frame follows the shown position through the chosen
// database, also after 局面インデックス作成; double-clicks play a move and load a game.
TEST_F(DatabaseDialogsTest, TheExplorerPanelFollowsThePositionAndItsDoubleClicksAct) {
  ProgramState& s = view->State();
  s.Tarvel.Paths = MakeDatabase({2, 6, 4, 8, 3, 0, 1});
  s.LastChosenDatabase = DatabaseKind::kTarvel;
  view->RunCommand(kCmdShowExplorer);
  Pump();
  CExplorerPanel* panel = view->Explorer();
  ASSERT_NE(panel, nullptr);
  const auto text = [&] { return panel->Text().utf8_string(); };
  EXPECT_NE(text().find("7局"), std::string::npos) << text();
  EXPECT_NE(text().find("▲７六歩 6 3 (50%) 2 (33%) 1 (17%)"), std::string::npos) << text();
  EXPECT_NE(text().find("7 2016-07-07 羽生善治 森内俊之 先手勝ち 0手目"), std::string::npos)
      << text();
  view->RunCommand(kCmdTarvelPositionIndex);
  Pump();
  const auto activate = [](wxListCtrl* list, int row) {
    wxListEvent e(wxEVT_LIST_ITEM_ACTIVATED, list->GetId());
    e.m_itemIndex = row;
    e.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(e);
    Pump();
  };
  activate(panel->Moves(), 0);  // ▲７六歩 played on the board
  EXPECT_EQ(s.Record.PlyCount, 1);
  EXPECT_NE(text().find("△３四歩 5"), std::string::npos) << text();
  // The view and the panel side by side, as they stand on the screen.
  const wxImage board = view->Snapshot().ConvertToImage();
  const wxImage beside = SaveShownDialogPicture(*panel, "explorer_panel");
  wxImage both(board.GetWidth() + beside.GetWidth(),
               std::max(board.GetHeight(), beside.GetHeight()));
  both.Paste(board, 0, 0);
  both.Paste(beside, board.GetWidth(), 0);
  EXPECT_TRUE(both.SaveFile(PicturePath("explorer_beside_the_board"), wxBITMAP_TYPE_PNG));
  activate(panel->Games(), 0);  // the newest game through the position, at its ply
  EXPECT_EQ(s.Tarvel.CurrentRecordNo, 7);
  EXPECT_EQ(s.Record.PlyCount, 1);
  view->RunCommand(kCmdShowExplorer);
  Pump();
  EXPECT_EQ(view->Explorer(), nullptr);
}

}  // namespace
}  // namespace shogi::gui
