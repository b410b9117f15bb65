// The record file commands: dialogs, remembered paths, installing a read record, the save.
#include "shell/file_dialogs.h"
#include "shell/record_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

class RecordCommandsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    LoadSettings(profile, "/start/", settings);
  }
  void Answer(const std::string& path) { ui.FileAnswers.push_back({true, path, 0}); }

  MemoryProfile profile;
  ProgramSettings settings;
  test::TempFolder dir_;
};

TEST_F(RecordCommandsTest, EachOpenUsesItsFilterTitleAndRememberedPath) {
  struct Case {
    RecordFormat format;
    const char* key;
    const char* title;
    const char* pattern;
    const char* file;
  } cases[] = {
      {RecordFormat::kKif, "柿木", "柿木形式の棋譜を読み込む", "*.kif", "kif/even.kif"},
      {RecordFormat::kKi2, "柿木2", "柿木形式(ki2)の棋譜を読み込む", "*.ki2", "ki2/game.ki2"},
      {RecordFormat::kCsa, "CSA", "CSA形式の棋譜を読み込む", "*.csa", "csa/even.csa"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    InitProgramState(state);
    const std::string path = std::string(SHOGI_TEST_DATA) + "/" + c.file;
    Answer(path);
    RecordCommandResult r = ReadRecordCommand(ctx, profile, settings, c.format);
    ASSERT_EQ(ui.FileRequests.size(), 1u);
    const FileDialogRequest& req = ui.FileRequests.back();
    EXPECT_EQ(req.Title, c.title);
    ASSERT_EQ(req.Filters.size(), 2u);
    EXPECT_EQ(req.Filters[0].Pattern, c.pattern);
    EXPECT_EQ(req.Filters[1].Caption, "全てのファイル(*.*)");
    EXPECT_EQ(req.InitialPath, std::string("/start/") + c.pattern);
    EXPECT_TRUE(r.Loaded) << ui.LastMessage();
    EXPECT_GT(RecordMoveCount(state.Record), 0);
    EXPECT_EQ(state.Record.PlyCount, state.Record.StartIndex);
    EXPECT_TRUE(r.Update.Parts & kViewFullRefresh);
    EXPECT_EQ(profile.GetString("ファイル名", c.key, ""), path);
    // The next dialog starts from the remembered file.
    ui.FileAnswers.push_back({});
    ReadRecordCommand(ctx, profile, settings, c.format);
    EXPECT_EQ(ui.FileRequests.back().InitialPath, path);
    ui.FileRequests.clear();
  }
}

TEST_F(RecordCommandsTest, AFailedReadLeavesTheRecordAndShowsTheMessage) {
  state.Record.Year = 1999;
  const GameRecord before = state.Record;
  Answer(dir_.Path() + "missing.kif");
  RecordCommandResult r = ReadRecordCommand(ctx, profile, settings, RecordFormat::kKif);
  EXPECT_FALSE(r.Loaded);
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "棋譜読み込み");
  EXPECT_EQ(ui.Messages[0].Text, "指定ファイルが存在しません。");
  EXPECT_EQ(std::memcmp(&before, &state.Record, sizeof before), 0);

  std::ofstream(dir_.Path() + "bad.csa") << "this is no record\n";
  Answer(dir_.Path() + "bad.csa");
  ReadRecordCommand(ctx, profile, settings, RecordFormat::kCsa);
  EXPECT_EQ(ui.LastMessage(), "ファイルに異常があります。");
  EXPECT_EQ(std::memcmp(&before, &state.Record, sizeof before), 0);
  // Neither path is remembered: the next dialog starts where the last read one was.
  EXPECT_EQ(profile.GetString("ファイル名", "柿木", "none"), "none");
  EXPECT_EQ(profile.GetString("ファイル名", "CSA", "none"), "none");
}

TEST_F(RecordCommandsTest, CommandsRefuseOutsideIdle) {
  state.InteractionState = kStateGame;
  EXPECT_FALSE(ReadRecordCommand(ctx, profile, settings, RecordFormat::kKif).Loaded);
  EXPECT_FALSE(SaveKifCommand(ctx, profile, settings).Saved);
  EXPECT_TRUE(ui.FileRequests.empty());
}

TEST_F(RecordCommandsTest, SaveAddsTheExtensionAsksBeforeReplacingAndReadsBack) {
  StartWith(0, 0, false);
  PersonMove("7g7f");
  PersonMove("3c3d");
  SuspendGame(ctx);
  const std::string target = dir_.Path() + "game.kif";
  Answer(dir_.Path() + "game");
  RecordCommandResult r = SaveKifCommand(ctx, profile, settings);
  ASSERT_TRUE(r.Saved) << ui.LastMessage();
  EXPECT_EQ(r.Path, target);
  EXPECT_EQ(ui.FileRequests.back().InitialPath, "/start/*.kif");
  EXPECT_EQ(profile.GetString("ファイル名", "棋譜", ""), target);
  const std::string first = test::FileBytes(target);
  EXPECT_FALSE(first.empty());

  // いいえ leaves the old file untouched.
  state.Record.Year = 2001;
  Answer(target);
  ui.MessageAnswers.push_back(MessageAnswer::kNo);
  EXPECT_FALSE(SaveKifCommand(ctx, profile, settings).Saved);
  EXPECT_EQ(ui.LastMessage(), "ファイルがすでに存在します。\n上書きしてもよろしいですか？");
  EXPECT_EQ(test::FileBytes(target), first);

  // The saved file reads back into the same moves.
  InitProgramState(state);
  ViewUpdate u;
  ASSERT_TRUE(ReadRecordFile(ctx, RecordFormat::kKif, target, u));
  EXPECT_EQ(Moves(), "7g7f 3c3d");
}

TEST(RecordFilterTest, FilterTextSplitsIntoCaptionsAndPatterns) {
  std::vector<FileFilter> f = ParseFilterText("A(*.a)|*.a|B|*.b;*.c||");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].Caption, "A(*.a)");
  EXPECT_EQ(f[1].Pattern, "*.b;*.c");
  EXPECT_TRUE(ParseFilterText("").empty());
}

}  // namespace
}  // namespace shogi
