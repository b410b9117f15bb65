// shogi-tool diagram and bmp on a middle game in CSA.
#include <gtest/gtest.h>

#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"
#include "tests/tools/tool_run.h"

namespace shogi::test {
namespace {

const std::string kGame = std::string(SHOGI_TEST_DATA) + "/output/middle_game.csa";
constexpr const char* kGameUsi =
    "7g7f 3c3d 8h2b+ 3a2b 2g2f 8c8d 2f2e 8d8e 2e2d 2c2d 2h2d P*2c 2d2f 8e8f 8g8f 8b8f P*8g "
    "8f8d B*6e 4c4d 6e4c+ 4a4b 4c3b 4b3b";

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

TEST(DiagramTool, EveryKindPrintsItsTextInUtf8) {
  struct Case {
    const char* args;
    const char* first_line;
  } cases[] = {
      {"standard", "後手24手目同金"},
      {"standard --ply 23", "先手23手目３二馬"},
      {"standard --ply 0", "後手  後手花子"},
      {"mail --ply 3", "先手3手目２二角成"},
      {"record", "先手：先手太郎"},
      {"kaya", "・・・・・・・・・・・・"},
      {"merged", "図は後手24手目同金まで"},
      {"morita", "      【第１図は・３二同金まで】"},
      {"kaya-record", "## Kaelmo for Windows me Ver1.19"},
  };
  for (const Case& c : cases) {
    const std::string kind = std::string(c.args).substr(0, std::string(c.args).find(' '));
    const std::string rest = std::string(c.args).substr(kind.size());
    const ToolResult r = RunTool("diagram " + kind + " csa " + kGame + rest);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    EXPECT_EQ(FirstLine(r.out), c.first_line) << c.args;
  }
}

TEST(DiagramTool, OutAppendsCp932WithCrLf) {
  test::TempFolder folder;
  const std::string out = folder.Path() + "out.txt";
  test::PutFileBytes(out, "前\r\n");
  for (int i = 0; i < 2; ++i) {
    const ToolResult r = RunTool("diagram standard csa " + kGame + " --out " + out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
  }
  const ToolResult shown = RunTool("diagram standard csa " + kGame);
  std::string diagram;
  ASSERT_TRUE(Utf8ToCp932(shown.out, diagram));
  EXPECT_EQ(test::FileBytes(out), "前\r\n" + WithCrLf(diagram + diagram));
}

TEST(DiagramTool, RefusesWhatItCannotMake) {
  for (const char* args :
       {"diagram kaya-diagram csa FILE", "diagram standard csa",
        "diagram standard csa FILE --ply x", "bmp csa FILE", "bmp csa FILE out.bmp --labels 先手",
        "bmp csa FILE out.bmp --labels 先手番号,後手"}) {
    std::string line = args;
    line.replace(line.find("FILE") == std::string::npos ? line.size() : line.find("FILE"),
                 line.find("FILE") == std::string::npos ? 0 : 4, kGame);
    ExpectRefusal(RunTool(line), line, 2, "");
  }
}

TEST(BmpTool, WritesTheSameFileAsTheProgramDrawsFlippedOrNot) {
  test::TempFolder folder;
  test::Game game;
  ASSERT_TRUE(game.Play(kGameUsi));
  struct Case {
    const char* options;
    Position pos;
    const char* sente;
    const char* gote;
  } cases[] = {
      {"", game.pos, "▲先手", "▽後手"},
      {" --flip --labels ▲攻方,▽玉方", FlipProblem(game.pos), "▲攻方", "▽玉方"},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Path() + "problem.bmp";
    const ToolResult r = RunTool("bmp csa " + kGame + " " + path + c.options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, path + "を作成しました。\n");
    const std::string bytes = test::FileBytes(path);
    EXPECT_EQ(bytes.size(), 4766u);
    EXPECT_EQ(bytes, ProblemBitmapBytes(DrawProblem(c.pos, c.sente, c.gote))) << c.options;
  }
  const ToolResult bad = RunTool("bmp csa " + kGame + " " + folder.Path() + "no/such.bmp");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, folder.Path() + "no/such.bmpが作成出来ません。\n");
}

}  // namespace
}  // namespace shogi::test
