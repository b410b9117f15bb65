// shogi-tool: the moves and perft commands and the handling of bad arguments.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::RunTool;

TEST(ShogiTool, ListsLegalMovesInGenerationOrder) {
  auto r = RunTool("moves startpos");
  ASSERT_EQ(r.status, 0) << r.err;
  // Squares are scanned from 1 (1一) upward, so the first piece that can move is the pawn
  // on 1七.
  EXPECT_EQ(r.out.substr(0, 5), "1g1f\n");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 30);
  auto gote = RunTool("moves 'lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 2'");
  ASSERT_EQ(gote.status, 0) << gote.err;
  EXPECT_NE(gote.out.find("3c3d\n"), std::string::npos);
  EXPECT_EQ(RunTool("moves '8k/9/6NG1/9/9/9/9/9/4K4 w - 1'").out, "");  // stalemate
}

TEST(ShogiTool, Perft) {
  auto r = RunTool("perft startpos 3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "25470\n");
  EXPECT_NE(r.err.find("leaves/s"), std::string::npos);
}

TEST(ShogiTool, BadArgumentsGiveOneLineAndStatusTwo) {
  const char* const cases[] = {
      "",
      "no-such-command",
      "moves",
      "moves startpos extra",
      "moves 'not a position'",
      "perft startpos",
      "perft startpos x",
      "perft startpos -1",
      "perft startpos 99",
  };
  for (const char* args : cases) {
    auto r = RunTool(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_FALSE(r.err.empty()) << args;
    if (std::string(args).size() > 0) {
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
  }
  auto help = RunTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("perft POSITION DEPTH"), std::string::npos);
}

}  // namespace
}  // namespace shogi
