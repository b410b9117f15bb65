// The conversion items of the Tarvel menu with a scripted person and real files: the dialogs
// they open, the overwrite and list questions, the state while they run, and their refusals.
#include "shell/conversion_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "database/jsk_book.h"
#include "platform/cp932.h"
#include "tests/shell/database_command_fixture.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

class ConversionCommandsTest : public DatabaseCommandFixture {
 protected:
  // Runs `command`, its file dialog answered with `name` in the folder.
  void Run(int command, const std::string& name, std::vector<MessageAnswer> answers = {}) {
    ui.FileAnswers.push_back({true, Folder() + name, 0});
    ui.MessageAnswers.assign(answers.begin(), answers.end());
    RunCommand(env, command);
    EXPECT_TRUE(ui.MessageAnswers.empty()) << "questions not asked";
  }
  int Count(const DatabaseFormat& format, const std::string& name) const {
    int count = -1;
    std::string message;
    EXPECT_EQ(DatabaseGameCount(format, PathsOf(name), count, message), 0) << message;
    return count;
  }
};

const char* const kListQuestions[] = {"棋士名.DATを作成しますか？", "棋戦.DATを作成しますか？",
                                      "戦型.DATを作成しますか？"};

// 棋泉->Tarvel: the Kisen dialog, the conversion in state 4 (the state before it afterwards),
// then the three list questions, each list written on はい only.
TEST_F(ConversionCommandsTest, KisenToTarvelConvertsThenOffersTheThreeLists) {
  WriteGoldenLists();
  CopyGolden(kKisenFormat);
  const std::string tournaments_before = FileBytes(Folder() + "棋戦.DAT");
  state.InteractionState = kStateGame;
  Run(kCmdKisenToTarvel, "games.idx",
      {MessageAnswer::kYes, MessageAnswer::kNo, MessageAnswer::kYes});
  ASSERT_EQ(ui.FileRequests.size(), 1u);
  EXPECT_EQ(ui.FileRequests[0].Title, "棋泉->Tarvel・変換ファイル名の設定");
  EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption, "棋泉ファイル(*.idx)");
  EXPECT_EQ(ui.FileRequests[0].InitialPath, Folder() + "*.idx");
  EXPECT_EQ(ShownWith("棋泉->Tarvel"), Texts(std::begin(kListQuestions), std::end(kListQuestions)));
  EXPECT_EQ(Count(kTarvelFormat, "games.mix"), 2);
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});
  EXPECT_EQ(state.InteractionState, kStateGame);
  EXPECT_EQ(ui.StatusTexts, Texts({"　変換中", ""}));
  EXPECT_EQ(Utf8(FileBytes(Folder() + "棋士名.DAT")), "谷川浩司\r\n羽生　善治\r\n");
  EXPECT_EQ(FileBytes(Folder() + "棋戦.DAT"), tournaments_before);
  EXPECT_EQ(FileBytes(Folder() + "戦型.DAT"), FileBytes(Folder() + "SENKEI.DAT"));
}

// An existing target asks first: いいえ leaves it alone, はい replaces it. Tarvel->棋泉 asks
// no list questions.
TEST_F(ConversionCommandsTest, AnExistingTargetIsReplacedOnlyOnYes) {
  CopyGolden(kTarvelFormat);
  const DatabasePaths paths = PathsOf("games.idx");
  PutFileBytes(paths.Index(kKisenFormat), std::string(32, '\0'));
  PutFileBytes(paths.Moves(kKisenFormat), "");
  const char* question = "すでに棋譜ファイルが存在します。\n上書きしてよろしいでしょうか？　";
  Run(kCmdTarvelToKisen, "games.mix", {MessageAnswer::kNo});
  EXPECT_EQ(Count(kKisenFormat, "games.idx"), 0);
  EXPECT_TRUE(states_while_running.empty());
  Run(kCmdTarvelToKisen, "games.mix", {MessageAnswer::kYes});
  EXPECT_EQ(Count(kKisenFormat, "games.idx"), 2);
  EXPECT_EQ(ShownWith("Tarvel->棋泉"), Texts({question, question}));
  EXPECT_EQ(ui.FileRequests[0].Title, "Tarvel->棋泉・変換ファイル名の設定");
  EXPECT_EQ(ui.FileRequests[0].Filters[0].Caption, "Tarvelファイル(*.mix)");
}

// A conversion over the database chosen in the target's menu resets that selection (its game
// numbers and search list no longer hold); the source's selection stays.
TEST_F(ConversionCommandsTest, AConversionOverTheChosenTargetResetsItsSelection) {
  CopyGolden(kKisenFormat);
  CopyGolden(kTarvelFormat);
  state.Kisen = {PathsOf("games.idx"), 2, 2};
  state.Tarvel = {PathsOf("games.mix"), 2, 2};
  Run(kCmdKisenToTarvel, "games.idx",
      {MessageAnswer::kYes, MessageAnswer::kNo, MessageAnswer::kNo, MessageAnswer::kNo});
  EXPECT_EQ(state.Tarvel.CurrentRecordNo + state.Tarvel.SearchCount, 0);
  EXPECT_EQ(state.Kisen.CurrentRecordNo + state.Kisen.SearchCount, 4);
}

TEST_F(ConversionCommandsTest, RefusalsAreShownWithTheItemsCaption) {
  CopyGolden(kKisenFormat);
  PutFileBytes(Folder() + "empty.mix", std::string(40, '\0'));
  PutFileBytes(Folder() + "empty.mkf", "");
  std::filesystem::create_directory(Folder() + "games.mkf");  // the target cannot be written
  const struct {
    int command;
    const char* name;
    const char* caption;
    const char* message;
  } cases[] = {
      {kCmdKisenToTarvel, "games.x", "棋泉->Tarvel", "ファイル名に異常があります。"},
      {kCmdKisenToTarvel, "none.idx", "棋泉->Tarvel", "棋泉ファイルが存在しません。"},
      {kCmdKisenToTarvel, "games.idx", "棋泉->Tarvel", "ファイルが作成できません。"},
      {kCmdTarvelToKisen, "none.mix", "Tarvel->棋泉", "Tarvelファイルが存在しません。"},
      {kCmdTarvelToJsk, "none.mix", "Tarvel->定跡", "Tarvelファイルが存在しません。"},
      {kCmdTarvelToJsk, "empty.mix", "Tarvel->定跡", "変換データが１件も存在しません。"},
  };
  for (const auto& c : cases) {
    ui.Messages.clear();
    state.InteractionState = kStateSetUp;
    Run(c.command, c.name);
    EXPECT_EQ(ShownWith(c.caption), Texts{c.message}) << c.name;
    EXPECT_EQ(state.InteractionState, kStateSetUp) << c.name;
  }
  // A cancelled dialog does nothing.
  ui.Messages.clear();
  ui.FileAnswers.push_back({});
  RunCommand(env, kCmdTarvelToKisen);
  EXPECT_TRUE(ui.Messages.empty());
}

// Tarvel->定跡 writes the book beside the database in its case, asking before an old one is
// replaced; success shows nothing.
TEST_F(ConversionCommandsTest, TarvelToJskWritesTheBookBesideTheDatabase) {
  CopyGolden(kTarvelFormat);
  const std::string book = Folder() + "games.jsk";
  Run(kCmdTarvelToJsk, "games.mix");
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_EQ(ui.FileRequests[0].Title, "Tarvel->定跡・変換ファイル名の設定");
  JskBook read;
  std::string message;
  ASSERT_EQ(read.Open(book, message), 0) << message;
  EXPECT_EQ(read.Count(), 2);
  EXPECT_EQ(states_while_running, std::set<int>{kStateDatabase});

  PutFileBytes(book, "old");
  Run(kCmdTarvelToJsk, "games.mix", {MessageAnswer::kNo});
  EXPECT_EQ(FileBytes(book), "old");
  Run(kCmdTarvelToJsk, "games.mix", {MessageAnswer::kYes});
  EXPECT_EQ(FileBytes(book).size(), 384u);
  EXPECT_EQ(ShownWith("Tarvel->定跡"),
            Texts(2, "すでに定跡ファイルが存在します。\n上書きしてよろしいでしょうか？　"));
}

// 定跡ファイル: the dialog starts from the current book; OK keeps the choice under "定跡".
TEST_F(ConversionCommandsTest, TheBookFileIsChosenAndKept) {
  ui.FileAnswers = {{}, {true, Folder() + "mine.jsk", 0}};
  RunCommand(env, kCmdJskFile);
  EXPECT_EQ(settings.Files.Book, Folder() + "Kaelmo.JSK");
  RunCommand(env, kCmdJskFile);
  ASSERT_EQ(ui.FileRequests.size(), 2u);
  EXPECT_EQ(ui.FileRequests[0].Title, "定跡ファイル名の設定");
  EXPECT_EQ(ui.FileRequests[0].InitialPath, Folder() + "Kaelmo.JSK");
  EXPECT_EQ(settings.Files.Book, Folder() + "mine.jsk");
  EXPECT_EQ(profile.GetString(kSectionFileNames, "定跡", ""), Folder() + "mine.jsk");
}

}  // namespace
}  // namespace shogi
