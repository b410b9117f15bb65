// The menus 棋泉 and Tarvel in the window: their place in the menu bar, their items in order,
// the items enabled as the command table says, and clicks that reach the handlers.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/menu.h>

#include <filesystem>
#include <fstream>

#include "database/game_database.h"
#include "shell/command_table.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

class DatabaseMenusTest : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    folder_ =
        std::filesystem::temp_directory_path() / ("shogi_db_menus_" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    view->Settings().Folder = folder_.string() + "/";
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    GuiFixture::TearDown();
  }

  wxMenu* MenuTitled(const char* title) const {
    wxMenuBar* bar = frame->GetMenuBar();
    const int index = bar->FindMenu(wxString::FromUTF8(title));
    return index == wxNOT_FOUND ? nullptr : bar->GetMenu(static_cast<std::size_t>(index));
  }
  void Click(int id) {
    wxCommandEvent e(wxEVT_MENU, id);
    e.SetEventObject(frame);
    frame->ProcessWindowEvent(e);
    Pump();
  }

  std::filesystem::path folder_;
};

TEST_F(DatabaseMenusTest, TheTwoMenusStandBeforeHelpWithTheirItemsInOrder) {
  wxMenuBar* bar = frame->GetMenuBar();
  std::vector<std::string> titles;
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) {
    titles.push_back(bar->GetMenuLabel(i).utf8_string());
  }
  const std::vector<std::string> expected_titles = {"ファイル(&F)", "表示(&V)",     "再現(&R)",
                                                    "対局(&G)",     "盤面設定(&S)", "詰将棋(&T)",
                                                    "棋泉",         "Tarvel",       "ヘルプ(&H)"};
  EXPECT_EQ(titles, expected_titles);

  struct Item {
    int Id;  // 0: a separator
    const char* Label;
  };
  const struct {
    const char* title;
    std::vector<Item> items;
  } menus[] = {
      {"棋泉",
       {{kCmdKisenFile, "ﾌｧｲﾙ名"},
        {kCmdKisenRegister, "新規登録"},
        {kCmdKisenOverwrite, "修正登録"},
        {0, ""},
        {kCmdKisenPlayers, "棋士名変更"},
        {kCmdKisenTournaments, "棋戦名変更"},
        {kCmdKisenOpenings, "戦型名変更"}}},
      {"Tarvel",
       {{kCmdTarvelFile, "ﾌｧｲﾙ名"},
        {kCmdTarvelFile2, "ﾌｧｲﾙ名２"},
        {kCmdTarvelRegister, "新規登録"},
        {kCmdTarvelOverwrite, "修正登録"},
        {0, ""},
        {kCmdTarvelPlayers, "棋士名変更"},
        {kCmdTarvelTournaments, "棋戦名変更"},
        {kCmdTarvelOpenings, "戦型名変更"}}},
  };
  for (const auto& m : menus) {
    SCOPED_TRACE(m.title);
    wxMenu* menu = MenuTitled(m.title);
    ASSERT_NE(menu, nullptr);
    const wxMenuItemList& items = menu->GetMenuItems();
    ASSERT_EQ(items.size(), m.items.size());
    std::size_t i = 0;
    for (const wxMenuItem* item : items) {
      const Item& want = m.items[i++];
      if (want.Id == 0) {
        EXPECT_TRUE(item->IsSeparator()) << i;
        continue;
      }
      EXPECT_EQ(item->GetId(), want.Id) << want.Label;
      EXPECT_EQ(item->GetItemLabelText().utf8_string(), want.Label);
    }
  }
}

// Before a database is chosen only the file items can be used; afterwards the items follow
// the command table, whatever each database holds.
TEST_F(DatabaseMenusTest, TheItemsAreEnabledAsTheTableSays) {
  ProgramState& s = view->State();
  const int file_items[] = {kCmdKisenFile, kCmdTarvelFile, kCmdTarvelFile2};
  struct Situation {
    const char* what;
    int interaction;
    bool kisen, tarvel;
    int kisen_game;
  } situations[] = {
      {"nothing chosen", kStateIdle, false, false, 0},
      {"Kisen chosen with a game", kStateIdle, true, false, 4},
      {"both chosen, in set-up", kStateSetUp, true, true, 4},
      {"both chosen, in a game", kStateGame, true, true, 0},
      {"a database command running", kStateDatabase, true, true, 4},
  };
  for (const Situation& c : situations) {
    SCOPED_TRACE(c.what);
    s.InteractionState = c.interaction;
    s.Kisen.Paths.Base = c.kisen ? "/nowhere/games" : "";
    s.Tarvel.Paths.Base = c.tarvel ? "/nowhere/games" : "";
    s.Kisen.CurrentRecordNo = c.kisen_game;
    for (const char* title : {"棋泉", "Tarvel"}) {
      wxMenu* menu = MenuTitled(title);
      ASSERT_NE(menu, nullptr);
      menu->UpdateUI(frame);
      for (const wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        const std::string label = item->GetItemLabelText().utf8_string();
        EXPECT_EQ(item->IsEnabled(), CommandEnabled(s, item->GetId())) << title << " " << label;
        if (!c.kisen && !c.tarvel) {
          const bool file_item =
              std::count(std::begin(file_items), std::end(file_items), item->GetId()) == 1;
          EXPECT_EQ(item->IsEnabled(), file_item) << title << " " << label;
        }
      }
    }
  }
  s.InteractionState = kStateIdle;
}

// A new Tarvel database made through ﾌｧｲﾙ名, the shown record registered through 新規登録,
// and the tournament list handed to the editor, all by menu clicks.
TEST_F(DatabaseMenusTest, MenuClicksReachTheHandlers) {
  const std::string folder = view->Settings().Folder;
  ui.FileAnswers.push_back({true, folder + "games.mix", 0});
  ui.MessageAnswers.push_back(MessageAnswer::kYes);
  Click(kCmdTarvelFile);
  EXPECT_EQ(ui.FileRequests.back().Title, "Tarvel・棋譜ファイル名の設定");
  Click(kCmdTarvelRegister);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"ファイルを新規に作成しますか？"});
  EXPECT_EQ(view->State().Tarvel.CurrentRecordNo, 1);
  DatabasePaths paths;
  std::string message;
  ASSERT_EQ(DatabasePathsOf(folder + "games.mix", paths, message), 0);
  int count = 0;
  ASSERT_EQ(DatabaseGameCount(kTarvelFormat, paths, count, message), 0) << message;
  EXPECT_EQ(count, 1);

  std::ofstream(folder + "棋戦.DAT") << "1  R\r\n";
  Click(kCmdTarvelTournaments);
  EXPECT_EQ(ui.EditedFiles, std::vector<std::string>{folder + "棋戦.DAT"});
}

}  // namespace
}  // namespace shogi::gui
