// The menus 棋泉, Tarvel and Bonanza in the window: their place in the menu bar, their items in
// order, the items enabled as the command table says, and clicks that reach the handlers.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/menu.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

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

// The items in order, each enabled as the command table says: before a database is chosen
// only the file items, afterwards by each database's state.
TEST_F(DatabaseMenusTest, TheDatabaseAndBonanzaMenusStandBeforeHelpWithTheirItemsInOrder) {
  wxMenuBar* bar = frame->GetMenuBar();
  std::vector<std::string> titles;
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) {
    titles.push_back(bar->GetMenuLabel(i).utf8_string());
  }
  const std::vector<std::string> expected_titles = {
      "ファイル(&F)", "編集(&E)",   "表示(&V)", "再現(&R)", "対局(&G)",
      "盤面設定(&S)", "詰将棋(&T)", "出力(&O)", "印刷(&P)", "エンジン",
      "その他",       "棋泉",       "Tarvel",   "Bonanza",  "ヘルプ(&H)"};
  EXPECT_EQ(titles, expected_titles);

  constexpr int kSeparator = 0;
  const struct {
    const char* title;
    std::vector<int> ids;
    std::vector<std::string> labels;
  } menus[] = {
      {"棋泉",
       {kCmdKisenFile,
        kCmdKisenRegister,
        kCmdKisenOverwrite,
        kSeparator,
        kCmdKisenSearch,
        kCmdKisenList,
        kCmdKisenReverse,
        kCmdKisenPositionIndex,
        kSeparator,
        kCmdKisenPlayers,
        kCmdKisenTournaments,
        kCmdKisenOpenings,
        kSeparator,
        kCmdKisenSort,
        kCmdKisenDuplicates,
        kCmdKisenMerge,
        kCmdKisenMergeDistributed,
        kCmdKisenRemove,
        kSeparator,
        kCmdKisenRenamePlayers,
        kCmdKisenRenameTournaments,
        kCmdKisenRenameOpenings},
       {"ﾌｧｲﾙ名",
        "新規登録",
        "修正登録",
        "",
        "検索条件",
        "一覧表",
        "逆順表示",
        "局面インデックス作成",
        "",
        "棋士名変更",
        "棋戦名変更",
        "戦型名変更",
        "",
        "ソート",
        "重複ﾁｪｯｸ",
        "ﾌｧｲﾙ合併",
        "配布ﾃﾞｰﾀ合併",
        "ﾌｧｲﾙ削除",
        "",
        "棋士一括変更",
        "棋戦一括変更",
        "戦型一括変更"}},
      {"Tarvel",
       {kCmdTarvelFile,
        kCmdTarvelFile2,
        kCmdTarvelRegister,
        kCmdTarvelOverwrite,
        kSeparator,
        kCmdTarvelSearch,
        kCmdTarvelList,
        kCmdTarvelReverse,
        kCmdTarvelPositionIndex,
        kSeparator,
        kCmdTarvelPlayers,
        kCmdTarvelTournaments,
        kCmdTarvelOpenings,
        kSeparator,
        kCmdTarvelSort,
        kCmdTarvelDuplicates,
        kCmdTarvelMerge,
        kCmdTarvelRemove,
        kCmdTarvelSwap,
        kSeparator,
        kCmdTarvelRenamePlayers,
        kCmdTarvelRenameTournaments,
        kCmdTarvelRenameOpenings,
        kSeparator,
        kCmdKisenToTarvel,
        kCmdTarvelToKisen,
        kCmdTarvelToJsk,
        kCmdJskFile,
        kSeparator,
        kCmdYearbook},
       {"ﾌｧｲﾙ名",
        "ﾌｧｲﾙ名２",
        "新規登録",
        "修正登録",
        "",
        "検索条件",
        "一覧表",
        "逆順表示",
        "局面インデックス作成",
        "",
        "棋士名変更",
        "棋戦名変更",
        "戦型名変更",
        "",
        "ソート",
        "重複ﾁｪｯｸ",
        "ﾌｧｲﾙ合併",
        "ﾌｧｲﾙ削除",
        "入れ換え",
        "",
        "棋士一括変更",
        "棋戦一括変更",
        "戦型一括変更",
        "",
        "棋泉->Tarvel",
        "Tarvel->棋泉",
        "Tarvel->定跡",
        "定跡ファイル",
        "",
        "将棋年鑑"}},
      {"Bonanza",
       {kCmdFvFile, kCmdBookFile, kSeparator, kCmdFvSum, kCmdMaterial, kCmdStaticEvaluation,
        kCmdPieceValues, kSeparator, kCmdBestMoves, kCmdBookLookup, kSeparator, kCmdBuildBook},
       {"fvﾌｧｲﾙ名", "Bookﾌｧｲﾙ名", "", "fv計算", "駒の損得", "静的評価", "駒の価値設定", "",
        "最善手検索", "Book検索", "", "Tarvel->Book"}},
  };
  // The items that need no chosen database: they ask for their own files, or work on the board.
  const int file_items[] = {
      kCmdKisenFile,   kCmdTarvelFile,  kCmdTarvelFile2,  kCmdKisenToTarvel, kCmdTarvelToKisen,
      kCmdTarvelToJsk, kCmdJskFile,     kCmdBookLookup,   kCmdBookFile,      kCmdBuildBook,
      kCmdFvFile,      kCmdFvSum,       kCmdMaterial,     kCmdPieceValues,   kCmdStaticEvaluation,
      kCmdBestMoves,   kCmdKisenRemove, kCmdTarvelRemove, kCmdYearbook};
  ProgramState& s = view->State();
  for (bool chosen : {false, true}) {
    s.Kisen.Paths.Base = s.Tarvel.Paths.Base = chosen ? "/nowhere/games" : "";
    s.Kisen.CurrentRecordNo = chosen ? 4 : 0;
    for (const auto& m : menus) {
      SCOPED_TRACE(std::string(m.title) + (chosen ? ", chosen" : ""));
      wxMenu* menu = MenuTitled(m.title);
      ASSERT_NE(menu, nullptr);
      menu->UpdateUI(frame);
      std::vector<int> ids;
      std::vector<std::string> labels;
      for (const wxMenuItem* item : menu->GetMenuItems()) {
        ids.push_back(item->IsSeparator() ? kSeparator : item->GetId());
        labels.push_back(item->GetItemLabelText().utf8_string());
        if (item->IsSeparator()) continue;
        EXPECT_EQ(item->IsCheckable() && item->IsChecked(), CommandChecked(s, item->GetId()));
        const bool file_item = std::count(std::begin(file_items), std::end(file_items), ids.back());
        EXPECT_EQ(item->IsEnabled(), CommandEnabled(s, item->GetId())) << labels.back();
        EXPECT_TRUE(chosen || item->IsEnabled() == file_item) << labels.back();
      }
      EXPECT_EQ(ids, m.ids);
      EXPECT_EQ(labels, m.labels);
    }
  }
}

// A new Tarvel database made through ﾌｧｲﾙ名, the record registered through 新規登録, the
// tournament list handed to the editor, the opening book and a Bonanza book, by menu clicks.
TEST_F(DatabaseMenusTest, MenuClicksReachTheHandlers) {
  const std::string folder = view->Settings().Folder;
  ui.FileAnswers.push_back({true, folder + "games.mix", 0});
  ui.MessageAnswers.push_back(MessageAnswer::kYes);
  Click(kCmdTarvelFile);
  Click(kCmdTarvelRegister);
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"ファイルを新規に作成しますか？"}));
  EXPECT_EQ(view->State().Tarvel.CurrentRecordNo, 1);
  std::ofstream(folder + "棋戦.DAT") << "1  R\r\n";
  Click(kCmdTarvelTournaments);
  EXPECT_EQ(ui.EditedFiles, std::vector<std::string>{folder + "棋戦.DAT"});
  // The opening book of that database, then a Bonanza book built from it and the shown
  // position looked up there.
  ui.FileAnswers.push_back({true, folder + "games.mix", 0});
  Click(kCmdTarvelToJsk);
  EXPECT_TRUE(std::filesystem::exists(folder + "games.jsk"));
  ui.BookBuildAnswers.push_back([&](BookBuildOptions& o) {
    o.Input = folder + "games.mix";
    o.Output = folder + "book.bin";
    return true;
  });
  Click(kCmdBuildBook);
  EXPECT_EQ(ui.LastMessage(), "0局面作成しました。(0)");
  view->Settings().Files.BonanzaBook = folder + "book.bin";
  Click(kCmdBookLookup);
  EXPECT_EQ(ui.LastMessage(), "この局面は存在しません。");
}

}  // namespace
}  // namespace shogi::gui
