// The menus 棋泉 and Tarvel with a scripted person and real database files: choosing,
// creating and refusing databases, registering new games and over the current one, and the
// name lists handed to the text editor.
#include "shell/database_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "database/game_database.h"
#include "platform/cp932.h"
#include "shell/command_table.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi {
namespace {

using test_support::FileBytes;
using test_support::PutFileBytes;

// The commands of one database menu.
struct Menu {
  DatabaseKind Kind;
  int File, Register, Overwrite;
  const char* Caption;
  const char* NameCaption;
  const char* Index;  // the database "games" chosen by its index file's name
};
const Menu kKisenMenu = {DatabaseKind::kKisen, kCmdKisenFile, kCmdKisenRegister,
                         kCmdKisenOverwrite,   "棋泉",        "棋泉ファイル名設定",
                         "games.idx"};
const Menu kTarvelMenu = {
    DatabaseKind::kTarvel,  kCmdTarvelFile, kCmdTarvelRegister, kCmdTarvelOverwrite, "Tarvel",
    "Tarvelファイル名設定", "games.mix"};
const Menu* const kMenus[] = {&kKisenMenu, &kTarvelMenu};

class DatabaseCommandsTest : public test_support::DatabaseFolderTest {
 protected:
  void SetUp() override {
    DatabaseFolderTest::SetUp();
    InitProgramState(state);
    LoadSettings(profile, Folder(), settings);
  }

  // Runs the menu's file item, answering the dialog with `name` in the folder and the
  // questions with `answers`.
  void Choose(const Menu& menu, const std::string& name,
              std::initializer_list<MessageAnswer> answers = {}) {
    ui.FileAnswers.push_back({true, Folder() + name, 0});
    ui.MessageAnswers.insert(ui.MessageAnswers.end(), answers);
    RunCommand(env, menu.File);
  }
  DatabaseSelection& Selection(const Menu& menu) { return SelectionOf(state, menu.Kind); }
  const DatabaseFormat& Format(const Menu& menu) const { return FormatOf(menu.Kind); }

  // Both files of the database "games" of `menu`, as one text.
  std::string DatabaseBytes(const Menu& menu) const {
    const DatabasePaths paths = PathsOf(menu.Index);
    return FileBytes(paths.Index(Format(menu))) + "|" + FileBytes(paths.Moves(Format(menu)));
  }

  // Game n of the database "games", read by the database routine with the folder's lists.
  GameRecord ReadBack(const Menu& menu, int n) const {
    GameRecord read;
    ResetGameRecord(read);
    std::string message;
    EXPECT_EQ(ReadGame(Format(menu), PathsOf(menu.Index), Folder(), n, read, message), n)
        << message;
    return read;
  }

  ProgramState state;
  test_support::ScriptedUserInterface ui;
  ShellContext ctx{state, ui};
  MemoryProfile profile;
  ProgramSettings settings;
  CommandEnv env{ctx, profile, settings};
};

// Each file item asks with its format's dialog, starts from its own remembered path and
// keeps the chosen one (a name typed without an extension gets the format's); choosing an
// existing database selects it afresh.
TEST_F(DatabaseCommandsTest, EachFileItemRemembersItsOwnPathAndSelectsAnExistingDatabase) {
  struct Case {
    int command;
    const Menu* menu;
    const char* key;
    const char* title;
    const char* filter;
    const char* extension;
  } cases[] = {
      {kCmdKisenFile, &kKisenMenu, "棋泉", "棋泉・棋譜ファイル名の設定", "棋泉ファイル(*.idx)",
       "idx"},
      {kCmdTarvelFile, &kTarvelMenu, "Tarvel", "Tarvel・棋譜ファイル名の設定",
       "Tarvelファイル(*.mix)", "mix"},
      {kCmdTarvelFile2, &kTarvelMenu, "Tarvel２", "Tarvel・棋譜ファイル名２の設定",
       "Tarvelファイル(*.mix)", "mix"},
  };
  CopyGolden(kKisenFormat);
  CopyGolden(kTarvelFormat);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Selection(*c.menu) = DatabaseSelection{};
    Selection(*c.menu).CurrentRecordNo = 2;
    Selection(*c.menu).SearchCount = 7;
    ui.FileRequests.clear();
    ui.FileAnswers.push_back({true, Folder() + "games", 0});
    RunCommand(env, c.command);
    ASSERT_EQ(ui.FileRequests.size(), 1u);
    const FileDialogRequest& request = ui.FileRequests[0];
    EXPECT_EQ(request.Title, c.title);
    ASSERT_EQ(request.Filters.size(), 2u);
    EXPECT_EQ(request.Filters[0].Caption, c.filter);
    EXPECT_EQ(request.Filters[0].Pattern, std::string("*.") + c.extension);
    EXPECT_EQ(request.Filters[1].Caption, "全てのファイル(*.*)");
    EXPECT_TRUE(request.MayBeNew);
    EXPECT_EQ(request.InitialPath, Folder() + "*." + c.extension);
    EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
    EXPECT_EQ(Selection(*c.menu).Paths.Base, Folder() + "games");
    EXPECT_EQ(Selection(*c.menu).CurrentRecordNo, 0);
    EXPECT_EQ(Selection(*c.menu).SearchCount, 0);
    EXPECT_EQ(profile.GetString(kSectionFileNames, c.key, ""), Folder() + c.menu->Index);
    // The next dialog of this item starts from the chosen file.
    ui.FileAnswers.push_back({});
    RunCommand(env, c.command);
    EXPECT_EQ(ui.FileRequests.back().InitialPath, Folder() + c.menu->Index);
  }
  // ﾌｧｲﾙ名２ remembered its own path: ﾌｧｲﾙ名's is still the one chosen through ﾌｧｲﾙ名.
  ui.FileAnswers.push_back({true, Folder() + "other.mix", 0});
  ui.MessageAnswers.push_back(MessageAnswer::kNo);
  RunCommand(env, kCmdTarvelFile2);
  EXPECT_EQ(profile.GetString(kSectionFileNames, "Tarvel", ""), Folder() + "games.mix");
  EXPECT_EQ(profile.GetString(kSectionFileNames, "Tarvel２", ""), Folder() + "other.mix");
  // A cancelled dialog changes nothing.
  ui.FileAnswers.push_back({});
  RunCommand(env, kCmdKisenFile);
  EXPECT_EQ(state.Kisen.Paths.Base, Folder() + "games");
}

TEST_F(DatabaseCommandsTest, AMalformedNameIsReportedAndLeavesNoDatabaseChosen) {
  for (const Menu* menu : kMenus) {
    for (const std::string& name :
         {std::string("a.b"), Folder() + "games.db", Folder() + "games.html"}) {
      SCOPED_TRACE(std::string(menu->Caption) + " " + name);
      ui.Messages.clear();
      Selection(*menu).Paths.Base = "/earlier/games";
      ui.FileAnswers.push_back({true, name, 0});
      RunCommand(env, menu->File);
      ASSERT_EQ(ui.Messages.size(), 1u);
      EXPECT_EQ(ui.Messages[0].Caption, menu->NameCaption);
      EXPECT_EQ(ui.Messages[0].Text, "ファイル名に異常があります。");
      EXPECT_FALSE(Selection(*menu).Chosen());
    }
  }
}

// "ファイルを新規に作成しますか？": はい makes the empty pair, いいえ makes nothing; either
// way a database that is not there is not chosen.
TEST_F(DatabaseCommandsTest, AMissingDatabaseIsCreatedOnlyWhenWanted) {
  struct Case {
    const char* what;
    MessageAnswer answer;
    const char* record_file;  // a file of the folder that is already there ("" none)
    bool created;
    const char* message;  // shown after the question ("" none)
  } cases[] = {
      {"はい", MessageAnswer::kYes, "", true, ""},
      {"いいえ", MessageAnswer::kNo, "", false, ""},
      {"はい, the move file's name taken by a record", MessageAnswer::kYes, "games.", false,
       "ファイルが作成できません。"},
  };
  for (const Menu* menu : kMenus) {
    const DatabasePaths paths = PathsOf(menu->Index);
    const std::string index = paths.Index(Format(*menu)), moves = paths.Moves(Format(*menu));
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(menu->Caption) + " " + c.what);
      std::filesystem::remove(index);
      std::filesystem::remove(moves);
      if (*c.record_file) PutFileBytes(moves, "a user's record");
      ui.Messages.clear();
      Selection(*menu).Paths.Base = "/earlier/games";
      Choose(*menu, menu->Index, {c.answer});
      ASSERT_GE(ui.Messages.size(), 1u);
      EXPECT_EQ(ui.Messages[0].Caption, menu->Caption);
      EXPECT_EQ(ui.Messages[0].Text, "ファイルを新規に作成しますか？");
      EXPECT_EQ(ui.Messages[0].Buttons, MessageButtons::kYesNo);
      EXPECT_EQ(ui.Messages.size() > 1 ? ui.Messages[1].Text : "", c.message);
      if (c.created) {
        EXPECT_EQ(FileBytes(index), std::string(Format(*menu).IndexRecordBytes, '\0'));
        EXPECT_TRUE(std::filesystem::exists(moves));
        EXPECT_EQ(FileBytes(moves), "");
        EXPECT_EQ(Selection(*menu).Paths.Base, Folder() + "games");
      } else {
        EXPECT_FALSE(std::filesystem::exists(index));
        EXPECT_EQ(FileBytes(moves), *c.record_file ? "a user's record" : "");
        EXPECT_FALSE(Selection(*menu).Chosen());
      }
    }
  }
}

TEST_F(DatabaseCommandsTest, ADamagedDatabaseIsReportedAndNotChosen) {
  for (const Menu* menu : kMenus) {
    SCOPED_TRACE(menu->Caption);
    // An index without its move file.
    PutFileBytes(PathsOf(menu->Index).Index(Format(*menu)),
                 std::string(Format(*menu).IndexRecordBytes, '\0'));
    Choose(*menu, menu->Index);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Caption, menu->Caption);
    EXPECT_EQ(ui.Messages[0].Text, "ファイルに異常があります。");
    EXPECT_FALSE(Selection(*menu).Chosen());
    ui.Messages.clear();
  }
}

// 新規登録 appends the record with the program folder's name lists; the new game becomes
// the current one and the search list is to be rebuilt.
TEST_F(DatabaseCommandsTest, NewRegistrationAppendsTheRecordAndMakesItCurrent) {
  struct Case {
    const Menu* menu;
    const char* first_player;  // as read back through the lists
    const char* tournament;
  } cases[] = {
      {&kKisenMenu, "羽生　善治", "名人戦"},
      {&kTarvelMenu, "羽生善治名人", "第10期　名人戦"},
  };
  WriteGoldenLists();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menu->Caption);
    Choose(*c.menu, c.menu->Index, {MessageAnswer::kYes});
    state.Record = test_support::GoldenLanceGame();
    RunCommand(env, c.menu->Register);
    state.Record = test_support::GoldenEvenGame();
    Selection(*c.menu).SearchCount = 4;
    RunCommand(env, c.menu->Register);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"ファイルを新規に作成しますか？"});
    EXPECT_EQ(Selection(*c.menu).CurrentRecordNo, 2);
    EXPECT_EQ(Selection(*c.menu).SearchCount, 0);
    const GameRecord read = ReadBack(*c.menu, 2);
    EXPECT_EQ(test_support::UsiMoves(read), test_support::UsiMoves(state.Record));
    EXPECT_EQ(Utf8(TrimRight(FieldText(read.FirstName))), c.first_player);
    EXPECT_EQ(Utf8(TrimRight(FieldText(read.Tournament))), c.tournament);
    EXPECT_EQ(test_support::UsiMoves(ReadBack(*c.menu, 1)),
              test_support::UsiMoves(test_support::GoldenLanceGame()));
    ui.Messages.clear();
  }
}

// 修正登録: without a current game only 新規登録 is possible; いいえ writes nothing; はい
// writes the record over the current game, the count unchanged.
TEST_F(DatabaseCommandsTest, OverwriteAsksAndWritesOverTheCurrentGame) {
  struct Case {
    const char* what;
    int current;
    std::deque<MessageAnswer> answers;
    std::vector<std::string> messages;
    bool written;
  } cases[] = {
      {"no current game", 0, {}, {"新規登録しかできません。"}, false},
      {"いいえ", 2, {MessageAnswer::kNo}, {"2番目に上書きしますが、よろしいでしょうか？"}, false},
      {"はい", 2, {MessageAnswer::kYes}, {"2番目に上書きしますが、よろしいでしょうか？"}, true},
  };
  for (const Menu* menu : kMenus) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(menu->Caption) + " " + c.what);
      CopyGolden(Format(*menu));
      Choose(*menu, menu->Index);
      const std::string before = DatabaseBytes(*menu);
      const GameRecord first = ReadBack(*menu, 1);
      Selection(*menu).CurrentRecordNo = c.current;
      Selection(*menu).SearchCount = 4;
      state.Record = test_support::MakeRecord("startpos", "2g2f 8c8d 2f2e");
      ui.Messages.clear();
      ui.MessageAnswers = c.answers;
      // Without a current game the menu item is disabled; the handler refuses as well.
      RegisterOverCurrentGame(ctx, Folder(), menu->Kind);
      EXPECT_EQ(ui.MessageTexts(), c.messages);
      for (const auto& shown : ui.Messages) EXPECT_EQ(shown.Caption, menu->Caption);
      EXPECT_EQ(Selection(*menu).CurrentRecordNo, c.current);
      EXPECT_EQ(Selection(*menu).SearchCount, c.written ? 0 : 4);
      int count = 0;
      std::string message;
      ASSERT_EQ(DatabaseGameCount(Format(*menu), PathsOf(menu->Index), count, message), 0);
      EXPECT_EQ(count, 2);
      if (!c.written) {
        EXPECT_EQ(DatabaseBytes(*menu), before);
        continue;
      }
      EXPECT_EQ(test_support::UsiMoves(ReadBack(*menu, 2)), "2g2f 8c8d 2f2e");
      EXPECT_EQ(test_support::UsiMoves(ReadBack(*menu, 1)), test_support::UsiMoves(first));
    }
  }
}

// A position set up freely has no start-position code: nothing is written and the box has
// the menu's caption.
TEST_F(DatabaseCommandsTest, AFreelySetUpPositionIsRefused) {
  for (const Menu* menu : kMenus) {
    SCOPED_TRACE(menu->Caption);
    CopyGolden(Format(*menu));
    Choose(*menu, menu->Index);
    Selection(*menu).CurrentRecordNo = 1;
    const std::string before = DatabaseBytes(*menu);
    state.Record = test_support::MakeRecord("4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b");
    ui.MessageAnswers = {MessageAnswer::kYes};
    for (int command : {menu->Register, menu->Overwrite}) RunCommand(env, command);
    std::vector<std::string> expected = {"セーブ対象の棋譜ではありません。",
                                         "1番目に上書きしますが、よろしいでしょうか？",
                                         "セーブ対象の棋譜ではありません。"};
    EXPECT_EQ(ui.MessageTexts(), expected);
    for (const auto& shown : ui.Messages) EXPECT_EQ(shown.Caption, menu->Caption);
    EXPECT_EQ(DatabaseBytes(*menu), before);
    EXPECT_EQ(Selection(*menu).CurrentRecordNo, 1);
    ui.Messages.clear();
  }
}

// The list items hand the list of the program folder to the editor; SENKEI/SENKEI.DAT stands
// in for a missing SENKEI.DAT. A missing list is made empty when the person wants it.
TEST_F(DatabaseCommandsTest, ListItemsOpenTheirListsInTheEditor) {
  struct Case {
    int command;
    std::vector<const char*> present;          // list files in the folder
    const char* opened;                        // "" : none
    std::optional<MessageAnswer> answer = {};  // to the question about a missing list
  } cases[] = {
      {kCmdKisenPlayers, {"KSNAME.DAT", "棋士名.DAT"}, "KSNAME.DAT"},
      {kCmdKisenTournaments, {"KISEN.DAT", "棋戦.DAT"}, "KISEN.DAT"},
      {kCmdKisenOpenings, {"SENKEI.DAT", "SENKEI/SENKEI.DAT"}, "SENKEI.DAT"},
      {kCmdKisenOpenings, {"SENKEI/SENKEI.DAT", "戦型.DAT"}, "SENKEI/SENKEI.DAT"},
      {kCmdTarvelPlayers, {"棋士名.DAT", "KSNAME.DAT"}, "棋士名.DAT"},
      {kCmdTarvelTournaments, {"棋戦.DAT", "KISEN.DAT"}, "棋戦.DAT"},
      {kCmdTarvelOpenings, {"戦型.DAT", "SENKEI.DAT"}, "戦型.DAT"},
      {kCmdTarvelPlayers, {"KSNAME.DAT"}, "", MessageAnswer::kNo},
      {kCmdKisenOpenings, {}, "SENKEI.DAT", MessageAnswer::kYes},
  };
  const std::string kList = "1  名人戦\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(FindCommand(c.command)->Label + " " + c.opened);
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder());
    for (const char* name : c.present) WriteList(name, kList);
    state.Kisen.Paths.Base = state.Tarvel.Paths.Base = Folder() + "games";
    ui.EditedFiles.clear();
    ui.Messages.clear();
    if (c.answer) ui.MessageAnswers = {*c.answer};
    RunCommand(env, c.command);
    EXPECT_EQ(ui.MessageTexts(), c.answer
                                     ? std::vector<std::string>{"ファイルを新規に作成しますか？"}
                                     : std::vector<std::string>{});
    if (!*c.opened) {
      EXPECT_TRUE(ui.EditedFiles.empty());
      EXPECT_FALSE(std::filesystem::exists(Folder() + "棋士名.DAT"));
      continue;
    }
    EXPECT_EQ(ui.EditedFiles, std::vector<std::string>{Folder() + c.opened});
    // An existing list is left as it was; a new one is empty.
    EXPECT_EQ(FileBytes(Folder() + c.opened), c.answer ? "" : Cp932(kList));
  }
  // An editor that does not start is reported.
  WriteList("棋戦.DAT", kList);
  ui.EditorStarts = false;
  ui.Messages.clear();
  RunCommand(env, kCmdTarvelTournaments);
  ASSERT_EQ(ui.MessageTexts(), std::vector<std::string>{"テキストエディタを起動できません。"});
  EXPECT_EQ(ui.Messages[0].Caption, "Tarvel");
}

}  // namespace
}  // namespace shogi
