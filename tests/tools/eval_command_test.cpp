// shogi-tool eval and best: the three numbers, the ranked moves, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fv_files.h"
#include "tests/support/test_files.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::ExpectRefusal;
using test::RunTool;

class EvalCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Kings on 5九 and 1一: a raw fv of -33 with the first player's pawns in hand at 0 or 1.
    test::WriteFvFile(
        fv, {{test::KkpElement(76, 8, 0), -33}, {test::KkpElement(76, 8, 1), -33}});
  }
  const test::TempFolder folder;
  const std::string fv = folder.Path() + "fv.bin";
};

TEST_F(EvalCommandTest, PrintsMaterialFvAndStatic) {
  struct Case {
    const char* position;
    const char* out;
  } cases[] = {
      {"'8k/9/9/9/9/9/9/9/4K4 b - 1'", "material: 0\nfv: -33\nstatic: -1\n"},
      {"'8k/9/9/9/9/9/9/9/4K4 b P 1'", "material: 87\nfv: -33\nstatic: 86\n"},
      {"startpos", "material: 0\nfv: 0\nstatic: 0\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(std::string("eval ") + c.position + " --fv " + fv);
    EXPECT_EQ(r.status, 0) << c.position << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.position;
  }
}

TEST_F(EvalCommandTest, BestRanksTheMovesForTheMover) {
  // The second player's capture of a rook comes first, with a positive score.
  const auto capture = RunTool("best '4k4/9/9/4p4/4R4/9/9/9/4K4 w - 1' --fv " + fv);
  EXPECT_EQ(capture.status, 0) << capture.err;
  EXPECT_EQ(capture.out.substr(0, capture.out.find('\n')), "5d5e 729");
  // Drops of six pieces in hand: more than 64 moves, 64 lines.
  const auto many = RunTool("best '4k4/9/9/9/9/9/9/9/4K4 b RBGSNL 1' --fv " + fv);
  EXPECT_EQ(std::count(many.out.begin(), many.out.end(), '\n'), 64);
}

TEST_F(EvalCommandTest, RefusesMissingFilesPositionsWithoutKingAndBadArguments) {
  const std::string missing = folder.Path() + "none.bin";
  const struct {
    std::string args;
    int status;
    std::string err;  // "" when only the status matters
  } cases[] = {
      {"eval startpos --fv " + missing, 1, missing + "が読み込めません。\n"},
      {"best startpos --fv " + missing, 1, missing + "が読み込めません。\n"},
      {"eval '4k4/9/9/9/9/9/9/9/9 b G 1' --fv " + fv, 1, "玉のいない局面は評価できません。\n"},
      {"best '4k4/9/9/9/9/9/9/9/9 b G 1' --fv " + fv, 1, "玉のいない局面は評価できません。\n"},
      {"eval", 2, ""},
      {"eval startpos --fv", 2, ""},
      {"best startpos startpos", 2, ""},
      {"eval nonsense --fv " + fv, 2, ""},
  };
  for (const auto& c : cases) ExpectRefusal(RunTool(c.args), c.args, c.status, c.err);
}

}  // namespace
}  // namespace shogi
