// shogi-tool mate: the four outcomes, the options and the refusals.
#include <gtest/gtest.h>

#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::RunTool;

TEST(MateCommand, PrintsTheLengthAndTheWholeSolution) {
  struct Case {
    const char* args;
    const char* out;
  } cases[] = {
      {"mate '1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1'", "mate 3\nR*8c 8a9b 7c8b+\n"},
      {"mate '1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1' --solver 1 --start-depth 7",
       "mate 3\nR*8c 8a9b 7c8b+\n"},
      // The second player attacks when it is to move.
      {"mate '9/9/9/9/9/9/4p4/9/4K4 w g 1'", "mate 1\nG*5h\n"},
      {"mate '4k4/9/9/9/9/9/9/9/9 b - 1'", "no mate\n"},
      {"mate '8k/7g1/9/7N1/9/9/9/9/9 b G2r2b3g4s3n4l18p 1'", "undecided at 49\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, 0) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_NE(r.err.find("nodes "), std::string::npos) << c.args;
  }
}

TEST(MateCommand, TheDfpnSolverPrintsMateNoMateOrUnknown) {
  struct Case {
    const char* args;
    const char* out;
  } cases[] = {
      {"mate '1k7/2P6/2S6/9/9/9/9/9/9 b Rr2b4g3s4n4l17p 1' --solver dfpn --hash 8",
       "mate 3\nR*8c 8a9b 7c8b+\n"},
      // The pawn interposed at 8d is futile: taken, and the mate is on the board again.
      {"mate '2B6/kp7/9/1B7/9/9/1L7/9/9 b S2r4g3s4n3l17p 1' --solver dfpn --hash 8",
       "mate 7\n8d9c+ 9b9c 7a8b+ 9c9d S*8e 9d9e 8b7c\n"},
      {"mate '9/9/9/9/9/9/4p4/9/4K4 w g 1' --solver dfpn --hash 8", "mate 1\nG*5h\n"},
      {"mate '4k4/9/9/9/9/9/9/9/9 b - 1' --solver dfpn --hash 8", "no mate\n"},
      // 寿 (611 plies): its proof alone takes far more than a second.
      {"mate 'g3p3+r/3lPG3/1s4ppp/1l1B4P/L2b1kPl1/3+p3+R+p/3+p2+s1S/+NP+p1gS3/1g+p2P3 b 4P3n 1' "
       "--solver dfpn --seconds 1 --hash 8",
       "unknown\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, 0) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_NE(r.err.find("nodes "), std::string::npos) << c.args;
  }
  for (const char* bad :
       {"mate startpos --solver dfpn --start-depth 3", "mate startpos --seconds 5",
        "mate startpos --solver dfpn --seconds 0", "mate startpos --solver dfpn --seconds 86401",
        "mate startpos --solver dfpn --hash 0", "mate startpos --solver 2 --hash 8"}) {
    auto r = RunTool(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
}

TEST(MateCommand, RefusesUnsolvablePositionsAndBadOptions) {
  auto missing = RunTool("mate '9/9/9/9/9/9/9/9/4K4 b G 1'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "敵玉がありません。\n");
  auto pawns = RunTool("mate '4k4/9/4P4/9/9/9/4P4/9/9 b G 1'");
  EXPECT_EQ(pawns.status, 1);
  EXPECT_EQ(pawns.err, "駒配置に異常があります。\n");
  for (const char* bad :
       {"mate", "mate startpos --solver 3", "mate startpos --start-depth 2",
        "mate startpos --start-depth 51", "mate startpos --solver", "mate startpos extra"}) {
    auto r = RunTool(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
}

}  // namespace
}  // namespace shogi
