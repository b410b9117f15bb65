// The output menu, the print commands and the problem bitmap dialog through the command table.
#include "shell/output_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "records/kaya.h"
#include "shell/command_table.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

class OutputCommandsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    settings.Folder = folder.Path();
    LoadSfen("startpos", "7g7f 3c3d 2g2f");
    state.Record.PlyCount = 3;
    RebuildShown(state);
  }

  ViewUpdate Run(int id) { return RunCommand(env, id); }

  // The file dialog's answer, and はい to the question before an existing file is emptied.
  void ChooseFile(const std::string& path) {
    ui.FileAnswers.push_back({true, path, 0});
    if (std::filesystem::exists(path)) ui.MessageAnswers.push_back(MessageAnswer::kYes);
    Run(kCmdOutputFile);
  }

  const test::TempFolder folder;
  const std::string out = folder.Path() + "out.txt";
  MemoryProfile profile;
  ProgramSettings settings;
  CommandEnv env{ctx, profile, settings};
};

constexpr int kFileOnlyCommands[] = {kCmdKayaDiagram, kCmdMergedDiagram, kCmdMoritaDiagram,
                                     kCmdStandardRecord, kCmdKayaRecord};

TEST_F(OutputCommandsTest, WithoutAnOutputFileTheDiagramsGoToTheClipboard) {
  for (int id : kFileOnlyCommands) EXPECT_FALSE(CommandEnabled(state, id)) << id;
  struct Case {
    int id;
    std::string (*build)(const GameRecord&);
    const char* caption;
  } cases[] = {{kCmdStandardDiagram, StandardDiagram, "標準局面図"},
               {kCmdMailDiagram, MailDiagram, "メール局面図"}};
  for (const Case& c : cases) {
    ui.Clipboard.clear();
    Run(c.id);
    EXPECT_EQ(ui.Clipboard, Utf8(WithCrLf(c.build(state.Record))));
    EXPECT_NE(ui.Clipboard.find("先手3手目２六歩\r\n"), std::string::npos) << ui.Clipboard;
    ASSERT_FALSE(ui.Messages.empty());
    EXPECT_EQ(ui.Messages.back().Caption, c.caption);
    EXPECT_EQ(ui.Messages.back().Text, "クリップボードに作成しました。");
  }
}

TEST_F(OutputCommandsTest, ChoosingTheFileCreatesItAndEveryTextIsAppended) {
  PutFileBytes(out, "old");
  ui.FileAnswers.push_back({true, folder.Path() + "out", 0});
  ui.MessageAnswers.push_back(MessageAnswer::kYes);
  Run(kCmdOutputFile);
  ASSERT_EQ(ui.Messages.size(), 1u);  // the question about the old out.txt
  ui.Messages.clear();
  ASSERT_EQ(ui.FileRequests.size(), 1u);
  EXPECT_EQ(ui.FileRequests[0].Title, "出力ファイル名の設定");
  EXPECT_EQ(state.Output.Path, out);
  EXPECT_EQ(settings.Files.Output, out);
  EXPECT_EQ(profile.GetString("ファイル名", "出力", ""), out);
  EXPECT_EQ(FileBytes(out), "");
  for (int id : kFileOnlyCommands) EXPECT_TRUE(CommandEnabled(state, id)) << id;

  std::string expected;
  for (int id : {kCmdStandardDiagram, kCmdKayaDiagram, kCmdMergedDiagram, kCmdMailDiagram,
                 kCmdStandardRecord, kCmdKayaRecord}) {
    Run(id);
  }
  std::string kaya_record, message;
  ASSERT_EQ(FormatKayaOutput(state.Record, kaya_record, message), 0) << message;
  EXPECT_EQ(kaya_record.rfind("## Kaelmo for Windows me Ver1.19\r\n", 0), 0u);
  expected = WithCrLf(StandardDiagram(state.Record) + KayaDiagram(state.Record) +
                      MergedDiagram(state.Record) + MailDiagram(state.Record) +
                      StandardRecordText(state.Record)) +
             kaya_record;
  EXPECT_EQ(FileBytes(out), expected);
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_EQ(ui.Clipboard, "");
}

TEST_F(OutputCommandsTest, MoritaTitlesCountFromTheChoiceOfTheFile) {
  ChooseFile(out);
  for (int i = 0; i < 10; ++i) Run(kCmdMoritaDiagram);
  EXPECT_EQ(state.Output.MoritaCount, 10);
  const std::string text = Utf8(FileBytes(out));
  EXPECT_NE(text.find("【第９図は・２六歩まで】"), std::string::npos);
  EXPECT_EQ(text.rfind("【第"), text.find("【第０図は・２六歩まで】"));
  ChooseFile(out);
  EXPECT_EQ(state.Output.MoritaCount, 0);
  Run(kCmdMoritaDiagram);
  EXPECT_EQ(Utf8(FileBytes(out)).find("【第１図"), 6u);
}

TEST_F(OutputCommandsTest, AFileThatCannotBeCreatedClearsTheChoice) {
  ChooseFile(out);
  ChooseFile(folder.Path() + "missing/out.txt");
  EXPECT_EQ(state.Output.Path, "");
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "出力ファイル名設定");
  EXPECT_EQ(ui.Messages[0].Text, "ファイルが作成出来ません。");
  for (int id : kFileOnlyCommands) EXPECT_FALSE(CommandEnabled(state, id)) << id;
  // A cancelled dialog changes nothing.
  ChooseFile(out);
  ui.FileAnswers.push_back({false, "", 0});
  Run(kCmdOutputFile);
  EXPECT_EQ(state.Output.Path, out);
}

TEST_F(OutputCommandsTest, AnOutputFileThatVanishedIsReported) {
  ChooseFile(out);
  state.Output.Path = folder.Path() + "gone/out.txt";
  Run(kCmdMoritaDiagram);
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Caption, "森田局面図");
  EXPECT_EQ(ui.Messages[0].Text, "ファイルに書き込めません。");
  EXPECT_EQ(state.Output.MoritaCount, 0);
}

TEST_F(OutputCommandsTest, TheDiagramPrintKeepsTitleAndCommentsUntilTheNextMove) {
  ui.PrintDialog.Answers.push_back([](PrintSettings& s) {
    s.Comments[0] = "次の一手は？";
    return true;
  });
  Run(kCmdDiagramPrint);
  ASSERT_EQ(ui.PrintDialog.Shown.size(), 1u);
  EXPECT_EQ(ui.PrintDialog.Shown[0].Title, "【第１図は２六歩まで】");
  EXPECT_EQ(state.Print.Kind, PrintKind::kDiagram);
  EXPECT_EQ(ui.PrintActions, std::vector<PrintAction>{PrintAction::kPrint});

  // The same position again: title and comments stay; いいえ prints nothing.
  ui.PrintDialog.Answers.push_back([](PrintSettings&) { return false; });
  Run(kCmdDiagramPrint);
  EXPECT_EQ(ui.PrintDialog.Shown[1].Title, "【第１図は２六歩まで】");
  EXPECT_EQ(ui.PrintDialog.Shown[1].Comments[0], "次の一手は？");
  EXPECT_EQ(ui.PrintActions.size(), 1u);

  // After a move: the next number, the comments cleared; magnification 2 indents by 22 less
  // half the title's bytes.
  state.Record.PlyCount = 2;
  state.Print.Magnification = 2;
  ui.PrintDialog.Answers.push_back([](PrintSettings&) { return true; });
  Run(kCmdDiagramPrint);
  EXPECT_EQ(ui.PrintDialog.Shown[2].Title, std::string(11, ' ') + "【第２図は３四歩まで】");
  EXPECT_EQ(ui.PrintDialog.Shown[2].Comments[0], "");
}

TEST_F(OutputCommandsTest, PrintCommandsHandTheirActionToTheFrameworkUpToPly255) {
  Run(kCmdRecordPrint);
  EXPECT_EQ(state.Print.Kind, PrintKind::kRecord);
  Run(kCmdPrintPreview);
  Run(kCmdPrintSetup);
  Run(kCmdPrint);
  EXPECT_EQ(ui.PrintActions, (std::vector<PrintAction>{PrintAction::kPrint, PrintAction::kPreview,
                                                       PrintAction::kSetup, PrintAction::kPrint}));
  for (int ply : {255, 256}) {
    state.Record.PlyCount = ply;
    for (int id : {kCmdRecordPrint, kCmdDiagramPrint, kCmdPrint, kCmdPrintPreview})
      EXPECT_EQ(CommandEnabled(state, id), ply == 255) << id << " at " << ply;
  }
}

TEST_F(OutputCommandsTest, TheProblemBitmapDialogFlipsChecksLabelsAndWrites) {
  settings.Files.Bitmap = folder.Path() + "kyokumen.bmp";
  ui.ProblemBitmapAnswers.push_back([&](ProblemBitmapSession& s) {
    EXPECT_EQ(s.SenteLabel, "▲先手");
    EXPECT_EQ(s.GoteLabel, "▽後手");
    EXPECT_EQ(s.Path, folder.Path() + "kyokumen.bmp");
    const OneBitPicture first = s.Picture();
    EXPECT_EQ(first, DrawProblem(state.Shown, "▲先手", "▽後手"));
    s.Flip();
    EXPECT_EQ(s.Picture(), DrawProblem(FlipProblem(state.Shown), "▲先手", "▽後手"));
    s.Flip();
    EXPECT_EQ(s.Picture(), first);

    s.SenteLabel = "▲先手番";  // 8 bytes
    s.Write();
    EXPECT_EQ(ui.LastMessage(), "棋士名は6バイト以内で入力してください。");
    EXPECT_EQ(FileBytes(s.Path), "");

    s.SenteLabel = "攻方";
    ui.FileAnswers.push_back({true, folder.Path() + "problem", 0});
    s.Browse();
    EXPECT_EQ(s.Path, folder.Path() + "problem.bmp");
    s.Write();
    EXPECT_EQ(ui.LastMessage(), folder.Path() + "problem.bmpを作成しました。");
  });
  Run(kCmdProblemBitmap);
  EXPECT_TRUE(ui.ProblemBitmapAnswers.empty());
  EXPECT_EQ(ui.FileRequests.back().Title, "BMPファイル名の設定");
  EXPECT_EQ(profile.GetString("ファイル名", "BMP", ""), folder.Path() + "problem.bmp");
  EXPECT_EQ(FileBytes(folder.Path() + "problem.bmp"),
            ProblemBitmapBytes(DrawProblem(state.Shown, "攻方", "▽後手")));
}

}  // namespace
}  // namespace shogi
