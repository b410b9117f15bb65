// shogi-tool read and convert.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun Tool(const std::string& arguments) {
  const std::string dir = test::TempDir();
  const std::string command =
      std::string(SHOGI_BIN_DIR) + "/shogi-tool " + arguments + " >" + dir + "out 2>" + dir + "err";
  int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::FileBytes(dir + "out"),
          test::FileBytes(dir + "err")};
}

const std::string kData = SHOGI_TEST_DATA;

TEST(ReadTool, PrintsTheRecord) {
  ToolRun r = Tool("read kif " + kData + "/kif/even.kif");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "start: lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\n"
            "moves: 7g7f 3c3d 8h2b+ 3a2b B*4e\n"
            "times: 10 5 30 3725 33\n"
            "result: 1\n"
            "sente: 羽生善治\n"
            "gote: 谷川浩司\n");
  r = Tool("read csa " + kData + "/csa/handicap_gote_first.csa");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "start: lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1\n"
            "moves: 3c3d 7g7f 2b3c\n"
            "times: 12 30 52\n"
            "result: 0\n"
            "sente: 山田\n"
            "gote: 田中\n");
  r = Tool("read kif " + kData + "/kif/no_moves.kif");
  EXPECT_NE(r.out.find("\nmoves:\ntimes:\nresult: 0\n"), std::string::npos) << r.out;
}

TEST(ReadTool, ReportsFailuresOnStandardError) {
  ToolRun r = Tool("read kif " + kData + "/csa/even.csa");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "ファイルに異常があります。\n");
  r = Tool("read ki2 " + kData + "/ki2/missing.ki2");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "指定ファイルが存在しません。\n");
  EXPECT_EQ(Tool("read pgn x").status, 2);
}

TEST(ReadTool, ConvertsBetweenFormatsWithTimes) {
  const std::string dir = test::TempDir();
  ToolRun r = Tool("convert kif " + kData + "/kif/even.kif csa " + dir + "even.csa");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::FileBytes(dir + "even.csa"), test::TestData("csa/even.csa"));
  r = Tool("convert kif " + kData + "/kif/other_diagram.kif csa " + dir + "x.csa");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "持駒の存在する局面は、セーブ出来ません。\n");
  EXPECT_EQ(Tool("convert csa " + kData + "/csa/even.csa ki2 " + dir + "x.ki2").status, 2);
}

}  // namespace
}  // namespace shogi
