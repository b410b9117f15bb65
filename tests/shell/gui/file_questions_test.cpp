// What the window asks before it touches a person's file: every command that writes a file
// chosen in a save dialog asks before an existing one is replaced, and the time-used editor
// takes the minutes it filled in itself.
#include <gtest/gtest.h>

#include <vector>

#include "shell/command_table.h"
#include "shell/gui/record_dialogs.h"
#include "shell/output_commands.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/test_files.h"

namespace shogi::gui {
namespace {

using test::FileBytes;

// Each answer to "ファイルがすでに存在します。\n上書きしてもよろしいですか？": いいえ leaves the
// file as it was (the output file is not emptied), はい writes it.
TEST_F(GuiFixture, EverySaveDialogAsksBeforeAFileIsReplaced) {
  const test::TempFolder dir;
  const std::string path = dir.Path() + "old.dat";
  const std::string palm = FileBytes(std::string(SHOGI_TEST_DATA) + "/palm/handicap.PDB");
  const struct {
    int command;
    const char* caption;
    const std::string& old;  // what the file holds before
  } cases[] = {
      {kCmdOutputFile, "出力ファイル名設定", path}, {kCmdSaveKif, "棋譜書き込み", path},
      {kCmdSaveRecord, "棋譜書き込み", path},       {kCmdPalmWrite, "PALM", palm},
      {kCmdProblemBitmap, "詰将棋--->BMP", path},
  };
  for (const auto& c : cases) {
    for (const MessageAnswer answer : {MessageAnswer::kNo, MessageAnswer::kYes}) {
      test::PutFileBytes(path, c.old);
      ui.FileAnswers.push_back({true, path, 0});
      ui.RecordFileDialog.Answers.push_back([&](RecordFileRequest& r) {
        r.Path = path;
        r.FormatIndex = 1;  // 柿木将棋
        return true;
      });
      ui.ProblemBitmapAnswers.push_back([&](ProblemBitmapSession& s) {
        s.Browse();
        if (s.Path == path) s.Write();
      });
      ui.MessageAnswers.push_back(answer);
      ui.Messages.clear();
      view->RunCommand(c.command);
      ASSERT_FALSE(ui.Messages.empty()) << c.caption;
      EXPECT_EQ(ui.Messages[0].Caption, c.caption);
      EXPECT_EQ(ui.Messages[0].Text, "ファイルがすでに存在します。\n上書きしてもよろしいですか？");
      EXPECT_EQ(FileBytes(path) == c.old, answer == MessageAnswer::kNo) << c.caption;
      // Whichever dialog the command did not show keeps its answer: drop them.
      ui.FileAnswers.clear();
      ui.RecordFileDialog.Answers.clear();
      ui.ProblemBitmapAnswers.clear();
    }
  }
}

// Times that go down give minutes the editor fills in as 0, which its own check takes: 次頁
// and ＯＫ are never locked behind "整数を入力してください。".
TEST_F(GuiFixture, TheTimeEditorTakesTheMinutesItFilledIn) {
  std::vector<int> times(11, 0);
  times[0] = times[1] = 600;
  times[2] = 120;       // the first player's clock goes down by 8 minutes
  times[10] = 1 << 30;  // and up by more than 9999 minutes
  const GameRecord record = test::MakeRecord(
      "startpos", "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d", times);
  TimeEditor editor(record);
  CShohi shohi(frame, editor, ui);
  ASSERT_EQ(shohi.Field(2)->GetValue(), "0");
  ASSERT_TRUE(shohi.NextPage()) << ui.LastMessage();
  EXPECT_EQ(shohi.Field(0)->GetValue(), "9999");
  EXPECT_TRUE(shohi.PressOk()) << ui.LastMessage();
}

}  // namespace
}  // namespace shogi::gui
