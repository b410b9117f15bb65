// shogi-tool sikou: the thinking library's answer after a move list, and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::RunTool;

// A game in which the second player mates with its 22nd ply, 8b8h+.
constexpr const char* kBeforeMate =
    "9i9h 9c9d 7i7h 9d9e 6i7i 8c8d 7i6i 8d8e 6i7i 8e8f 7i6i 8f8g+ 6i7i 8g8h 7i6i 8h7h 6i7i "
    "7h7i 5i6h G*6i 6h5h";

TEST(SikouCommand, PrintsTheResultAndTheMove) {
  // The answer is checked against the rules by the command itself: status 0 means legal.
  for (const char* moves : {"", "7g7f", "7g7f 3c3d", "'7g7f 3c3d 8h2b+'"}) {
    auto r = RunTool(std::string("sikou ") + moves);
    EXPECT_EQ(r.status, 0) << moves << ": " << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex("result [1-9][0-9]*\nmove [^ \n]+\n")))
        << moves << ": " << r.out;
    EXPECT_EQ(r.err, "") << moves;
  }
  // A mate in one is found; a mated side gives up and no move is printed.
  auto mate = RunTool(std::string("sikou ") + kBeforeMate);
  EXPECT_EQ(mate.status, 0) << mate.err;
  EXPECT_EQ(mate.out.substr(0, 9), "result 1\n");
  auto mated = RunTool(std::string("sikou ") + kBeforeMate + " 8b8h+");
  EXPECT_EQ(mated.status, 0) << mated.err;
  EXPECT_EQ(mated.out, "result 0\n");
  // The library named by path is the same one.
  auto by_path = RunTool(std::string("sikou --library ") + SHOGI_BIN_DIR + "/sikou.so 7g7f");
  EXPECT_EQ(by_path.out, RunTool("sikou 7g7f").out);
}

TEST(SikouCommand, FailuresGiveOneLineOnStandardError) {
  struct Case {
    std::string args;
    int status;
  } cases[] = {
      {"sikou 7g7x", 2},                             // not a USI move
      {"sikou 7g7f 7g7f", 2},                        // not legal
      {"sikou 5i5g", 2},                             // not legal
      {"sikou --library", 2},                        // no FILE
      {"sikou --library /nonexistent/sikou.so", 1},  // no library
      {std::string("sikou --library ") + SHOGI_TEST_DATA + "/../tools/tool_test.cpp", 1},
  };
  for (const Case& c : cases) {
    auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
  }
}

}  // namespace
}  // namespace shogi
