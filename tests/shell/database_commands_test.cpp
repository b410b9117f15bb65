// The menus 棋泉 and Tarvel with a scripted person and real database files: choosing,
// creating and refusing databases, registering new games and over the current one, and the
// name lists handed to the text editor.
#include "shell/database_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "database/game_database.h"
#include "platform/cp932.h"
#include "records/record_format.h"
#include "shell/command_table.h"
#include "shell/navigation.h"
#include "shell/record_notes.h"
#include "tests/shell/database_command_fixture.h"
#include "tests/support/game_builder.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;
using test::UsiMoves;
using Texts = std::vector<std::string>;

// One database menu: its commands, its captions and the database "games" it works on.
struct Menu {
  DatabaseKind Kind;
  int File, Register;
  const char* Caption;
  const char* NameCaption;
  const char* Index;
};
const Menu kMenus[] = {
    {DatabaseKind::kKisen, kCmdKisenFile, kCmdKisenRegister, "棋泉", "棋泉ファイル名設定",
     "games.idx"},
    {DatabaseKind::kTarvel, kCmdTarvelFile, kCmdTarvelRegister, "Tarvel", "Tarvelファイル名設定",
     "games.mix"},
};

class DatabaseCommandsTest : public DatabaseCommandFixture {
 protected:
  // Runs the menu's file item, the dialog answered with `name` in the folder.
  void Choose(const Menu& menu, const std::string& name) {
    ui.FileAnswers.push_back({true, Folder() + name, 0});
    RunCommand(env, menu.File);
  }
  DatabaseSelection& Selection(const Menu& menu) { return SelectionOf(state, menu.Kind); }
  const DatabaseFormat& Format(const Menu& menu) const { return FormatOf(menu.Kind); }
  std::string IndexPath(const Menu& menu) const { return PathsOf(menu.Index).Index(Format(menu)); }
  std::string MovesPath(const Menu& menu) const { return PathsOf(menu.Index).Moves(Format(menu)); }
  std::string DatabaseBytes(const Menu& menu) const {
    return FileBytes(IndexPath(menu)) + "|" + FileBytes(MovesPath(menu));
  }
  // Game n of "games" as the database routine reads it with the folder's lists.
  GameRecord ReadBack(const Menu& menu, int n) const {
    GameRecord read;
    ResetGameRecord(read);
    std::string message;
    EXPECT_EQ(ReadGame(Format(menu), PathsOf(menu.Index), Folder(), n, read, message), n)
        << message;
    return read;
  }
};

// Each file item asks with its format's dialog from its own remembered path, keeps the
// chosen one (a bare name gets the format's extension) and selects an existing database
// afresh.
TEST_F(DatabaseCommandsTest, FileItemsAskWithTheirFormatsDialogAndRememberTheirOwnPaths) {
  const struct {
    int command;
    const Menu& menu;
    const char* key;
    const char* title;
    const char* filter;
  } cases[] = {
      {kCmdKisenFile, kMenus[0], "棋泉", "棋泉・棋譜ファイル名の設定", "棋泉ファイル(*.idx)"},
      {kCmdTarvelFile, kMenus[1], "Tarvel", "Tarvel・棋譜ファイル名の設定",
       "Tarvelファイル(*.mix)"},
      {kCmdTarvelFile2, kMenus[1], "Tarvel２", "Tarvel・棋譜ファイル名２の設定",
       "Tarvelファイル(*.mix)"},
  };
  CopyGolden(kKisenFormat);
  CopyGolden(kTarvelFormat);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string pattern = c.menu.Index + 6;  // "idx" / "mix"
    Selection(c.menu) = {{}, 2, 7};
    ui.FileRequests.clear();
    ui.FileAnswers = {{true, Folder() + "games", 0}, {}};
    RunCommand(env, c.command);
    RunCommand(env, c.command);  // cancelled: changes nothing
    ASSERT_EQ(ui.FileRequests.size(), 2u);
    const FileDialogRequest& request = ui.FileRequests[0];
    EXPECT_EQ(request.Title, c.title);
    ASSERT_EQ(request.Filters.size(), 2u);
    EXPECT_EQ(request.Filters[0].Caption, c.filter);
    EXPECT_EQ(request.Filters[0].Pattern, "*." + pattern);
    EXPECT_EQ(request.Filters[1].Caption, "全てのファイル(*.*)");
    EXPECT_TRUE(request.MayBeNew);
    EXPECT_EQ(request.InitialPath, Folder() + "*." + pattern);
    EXPECT_EQ(ui.FileRequests[1].InitialPath, Folder() + c.menu.Index);
    EXPECT_EQ(profile.GetString(kSectionFileNames, c.key, ""), Folder() + c.menu.Index);
    EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
    EXPECT_EQ(Selection(c.menu).Paths.Base, Folder() + "games");
    EXPECT_EQ(Selection(c.menu).CurrentRecordNo, 0);
    EXPECT_EQ(Selection(c.menu).SearchCount, 2);  // the list opened on its two games
  }
  // ﾌｧｲﾙ名 kept its path while ﾌｧｲﾙ名２ chose another.
  ui.FileAnswers.push_back({true, Folder() + "other.mix", 0});
  ui.MessageAnswers = {MessageAnswer::kNo};
  RunCommand(env, kCmdTarvelFile2);
  EXPECT_EQ(profile.GetString(kSectionFileNames, "Tarvel", ""), Folder() + "games.mix");
}

// A malformed name, a damaged pair, or a missing one not created leaves no database chosen;
// "ファイルを新規に作成しますか？" はい makes the empty pair.
TEST_F(DatabaseCommandsTest, ChoosingEndsWithADatabaseOnlyWhenOneIsThere) {
  const struct {
    const char* what;
    bool bad_name;         // "games.db" instead of the database's name
    const char* existing;  // "index" or "moves": that file is there already
    std::optional<MessageAnswer> answer;
    Texts messages;
    bool chosen;
  } cases[] = {
      {"malformed", true, "", {}, {"ファイル名に異常があります。"}, false},
      {"damaged", false, "index", {}, {"ファイルに異常があります。"}, false},
      {"created",
       false,
       "",
       MessageAnswer::kYes,
       {"ファイルを新規に作成しますか？"},  // and no list: there is nothing to show yet
       true},
      {"not wanted", false, "", MessageAnswer::kNo, {"ファイルを新規に作成しますか？"}, false},
      {"a record in the move file's place",
       false,
       "moves",
       MessageAnswer::kYes,
       {"ファイルを新規に作成しますか？", "ファイルが作成できません。"},
       false},
  };
  for (const Menu& menu : kMenus) {
    const std::string zero_header(Format(menu).IndexRecordBytes, '\0');
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(menu.Caption) + ", " + c.what);
      std::filesystem::remove(IndexPath(menu));
      std::filesystem::remove(MovesPath(menu));
      if (std::string(c.existing) == "index") PutFileBytes(IndexPath(menu), zero_header);
      if (std::string(c.existing) == "moves") PutFileBytes(MovesPath(menu), "a record");
      const std::string before = DatabaseBytes(menu);
      Selection(menu).Paths.Base = "/earlier/games";
      ui.Messages.clear();
      if (c.answer) ui.MessageAnswers = {*c.answer};
      Choose(menu, c.bad_name ? "games.db" : menu.Index);
      EXPECT_EQ(ShownWith(c.bad_name ? menu.NameCaption : menu.Caption), c.messages);
      EXPECT_EQ(Selection(menu).Chosen(), c.chosen);
      EXPECT_EQ(DatabaseBytes(menu), c.chosen ? zero_header + "|" : before);
    }
  }
}

// A database whose count claims more games than its files hold is chosen after one question:
// はい sets the count to the whole games, いいえ leaves it; either way its list opens on them.
TEST_F(DatabaseCommandsTest, ChoosingADatabaseCutShortOffersItsRepair) {
  const Menu& menu = kMenus[1];
  for (const MessageAnswer answer : {MessageAnswer::kNo, MessageAnswer::kYes}) {
    CopyGolden(Format(menu));
    const std::string moves = FileBytes(MovesPath(menu)).substr(0, 700);
    PutFileBytes(MovesPath(menu), moves);
    const std::string index = FileBytes(IndexPath(menu));
    ui.MessageAnswers = {answer};
    Choose(menu, menu.Index);
    EXPECT_EQ(ui.LastMessage(),
              "ファイルに異常があります。\n登録件数を読み込める1件に直しますか？");
    EXPECT_TRUE(Selection(menu).Chosen());
    EXPECT_EQ(Selection(menu).SearchCount, 1);  // the list opened on the whole game
    EXPECT_EQ(FileBytes(IndexPath(menu)), answer == MessageAnswer::kYes
                                              ? std::string("\x01\0\0\0", 4) + index.substr(4)
                                              : index);
    EXPECT_EQ(FileBytes(MovesPath(menu)), moves);
  }
}

// 新規登録 appends the record with the program folder's name lists and makes it the current
// game; a position set up freely is refused and nothing is written.
TEST_F(DatabaseCommandsTest, NewRegistrationAppendsTheRecordAndMakesItCurrent) {
  const char* const read_back[][2] = {{"羽生　善治", "名人戦"}, {"羽生善治名人", "第10期　名人戦"}};
  WriteGoldenLists();
  for (const Menu& menu : kMenus) {
    SCOPED_TRACE(menu.Caption);
    std::string message;
    ASSERT_EQ(CreateDatabase(Format(menu), PathsOf(menu.Index), message), 0);
    Choose(menu, menu.Index);
    EXPECT_EQ(ui.LastMessage(), "表示対象データがありません。");  // its list, empty
    ui.Messages.clear();
    for (const GameRecord& game :
         {test::GoldenLanceGame(), test::GoldenEvenGame()}) {
      state.Record = game;
      Selection(menu).SearchCount = 4;
      RunCommand(env, menu.Register);
    }
    EXPECT_EQ(Selection(menu).CurrentRecordNo, 2);
    EXPECT_EQ(Selection(menu).SearchCount, 0);
    EXPECT_EQ(UsiMoves(ReadBack(menu, 1)), UsiMoves(test::GoldenLanceGame()));
    const GameRecord read = ReadBack(menu, 2);
    EXPECT_EQ(UsiMoves(read), UsiMoves(state.Record));
    const auto& names = read_back[menu.Kind == DatabaseKind::kKisen ? 0 : 1];
    EXPECT_EQ(Utf8(TrimRight(FieldText(read.FirstName))), names[0]);
    EXPECT_EQ(Utf8(TrimRight(FieldText(read.Tournament))), names[1]);

    const std::string before = DatabaseBytes(menu);
    state.Record = test::MakeRecord("4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b");
    RunCommand(env, menu.Register);
    EXPECT_EQ(ShownWith(menu.Caption), Texts{"セーブ対象の棋譜ではありません。"});
    EXPECT_EQ(DatabaseBytes(menu), before);
    EXPECT_EQ(Selection(menu).CurrentRecordNo, 2);
    ui.Messages.clear();
  }
}

// A record with variations registers the file's main line (also while it follows a
// variation), and the person is told once that the rest stays behind.
TEST_F(DatabaseCommandsTest, ARecordWithVariationsRegistersItsMainLineAndSaysSoOnce) {
  WriteGoldenLists();
  const Menu& menu = kMenus[0];
  std::string message;
  ASSERT_EQ(CreateDatabase(Format(menu), PathsOf(menu.Index), message), 0);
  Choose(menu, menu.Index);
  ui.Messages.clear();
  RecordTree tree;
  ASSERT_EQ(ReadRecord(RecordFormat::kKif, std::string(SHOGI_TEST_DATA) + "/kif/variations.kif",
                       state.Record, tree, message),
            0);
  InstallNotes(state, tree);
  ShowPly(state, 3);
  StepVariation(state, 1);
  RunCommand(env, menu.Register);
  RunCommand(env, menu.Register);
  EXPECT_EQ(ShownWith(menu.Caption), Texts{kNotesNotStoredMessage});
  EXPECT_EQ(UsiMoves(ReadBack(menu, 2)), "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e");
}

// 修正登録: without a current game only 新規登録 is possible; いいえ writes nothing; はい
// writes the record over the current game (a freely set-up one is refused), the count kept.
TEST_F(DatabaseCommandsTest, OverwriteAsksAndWritesOverTheCurrentGame) {
  const std::string kQuestion = "2番目に上書きしますが、よろしいでしょうか？";
  const struct {
    const char* what;
    const char* sfen;
    int current;
    std::optional<MessageAnswer> answer;
    Texts messages;
    bool written;
  } cases[] = {
      {"no current game", "startpos", 0, {}, {"新規登録しかできません。"}, false},
      {"いいえ", "startpos", 2, MessageAnswer::kNo, {kQuestion}, false},
      {"はい", "startpos", 2, MessageAnswer::kYes, {kQuestion}, true},
      {"はい, a free position",
       "4k4/9/9/9/9/9/9/9/4K4 b G 1",
       2,
       MessageAnswer::kYes,
       {kQuestion, "セーブ対象の棋譜ではありません。"},
       false},
  };
  for (const Menu& menu : kMenus) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(menu.Caption) + ", " + c.what);
      CopyGolden(Format(menu));
      Choose(menu, menu.Index);
      const std::string before = DatabaseBytes(menu);
      const std::string first = UsiMoves(ReadBack(menu, 1));
      Selection(menu).CurrentRecordNo = c.current;
      Selection(menu).SearchCount = 4;
      state.Record = test::MakeRecord(c.sfen, "2g2f 8c8d");
      ui.Messages.clear();
      if (c.answer) ui.MessageAnswers = {*c.answer};
      // Without a current game the menu item is disabled; the handler refuses as well.
      RegisterOverCurrentGame(ctx, Folder(), menu.Kind);
      EXPECT_EQ(ShownWith(menu.Caption), c.messages);
      EXPECT_EQ(Selection(menu).CurrentRecordNo, c.current);
      EXPECT_EQ(Selection(menu).SearchCount, c.written ? 0 : 4);
      if (!c.written) {
        EXPECT_EQ(DatabaseBytes(menu), before);
        continue;
      }
      int count = 0;
      std::string message;
      ASSERT_EQ(DatabaseGameCount(Format(menu), PathsOf(menu.Index), count, message), 0);
      EXPECT_EQ(count, 2);
      EXPECT_EQ(UsiMoves(ReadBack(menu, 2)), "2g2f 8c8d");
      EXPECT_EQ(UsiMoves(ReadBack(menu, 1)), first);
    }
  }
}

// The list items hand the list of the program folder to the editor; SENKEI/SENKEI.DAT stands
// in for a missing SENKEI.DAT. A missing list is made empty when the person wants it.
TEST_F(DatabaseCommandsTest, ListItemsOpenTheirListsInTheEditor) {
  const struct {
    int command;
    std::vector<const char*> present;          // list files in the folder
    const char* opened;                        // "": none
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
  for (const auto& c : cases) {
    SCOPED_TRACE(FindCommand(c.command)->Label + " " + c.opened);
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder());
    for (const char* name : c.present) WriteList(name, kList);
    state.Kisen.Paths.Base = state.Tarvel.Paths.Base = Folder() + "games";
    ui.EditedFiles.clear();
    ui.Messages.clear();
    if (c.answer) ui.MessageAnswers = {*c.answer};
    RunCommand(env, c.command);
    EXPECT_EQ(ui.MessageTexts(), c.answer ? Texts{"ファイルを新規に作成しますか？"} : Texts{});
    EXPECT_EQ(ui.EditedFiles, *c.opened ? Texts{Folder() + c.opened} : Texts{});
    // An existing list is left as it was; a new one is empty; an unwanted one is not made.
    if (*c.opened) {
      EXPECT_EQ(FileBytes(Folder() + c.opened), c.answer ? "" : Cp932(kList));
    } else {
      EXPECT_FALSE(std::filesystem::exists(Folder() + "棋士名.DAT"));
    }
  }
  // An editor that does not start is reported.
  ui.EditorStarts = false;
  ui.Messages.clear();
  RunCommand(env, kCmdKisenOpenings);
  EXPECT_EQ(ShownWith("棋泉"), Texts{"テキストエディタを起動できません。"});
}

}  // namespace
}  // namespace shogi
