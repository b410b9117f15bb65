// shogi-tool think and match: the move or the resignation, the tally and the Elo line, an
// outside engine through the tool, and the refusals.
#include <gtest/gtest.h>

#include <regex>

#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::RunTool;

TEST(ThinkCommand, PrintsTheMoveOrResign) {
  struct Case {
    const char* args;
    const char* out;  // a regular expression
  } cases[] = {
      // A mate in one for the first player: the gold drop.
      {"think '4k4/9/4P4/9/9/9/9/9/4K4 b G 1' --level 1", "move G\\*5b\n"},
      // The second player to move, after the moves given, takes the horse back.
      {"think startpos --level 2 --seconds 0.1 --moves '7g7f 3c3d 8h2b+'", "move (3a|8b)2b\n"},
      // Mated: nothing to play.
      {"think '4k4/4G4/4P4/9/9/9/9/9/4K4 w - 1' --level 5", "resign\n"},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, 0) << c.args << "\n" << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex(c.out))) << c.args << ": " << r.out;
    EXPECT_NE(r.err.find("nodes "), std::string::npos) << c.args;
  }
}

// The book of two games (the even one opens 7g7f, then 3c3d) answers from level 2 on; level 1
// never reads it, and a book that cannot be read gives no book move.
TEST(ThinkCommand, BookMovesFromLevelTwo) {
  const std::string book = std::string(SHOGI_TEST_DATA) + "/jsk/two_games.jsk";
  struct Case {
    std::string args;
    bool from_book;
  } cases[] = {
      {"think startpos --level 2 --seconds 0.1 --book " + book, true},
      {"think startpos --level 2 --seconds 0.1 --book " + book + " --moves 7g7f", true},
      {"think startpos --level 1 --book " + book, false},
      {"think startpos --level 2 --seconds 0.1 --book /nonexistent/book.jsk", false},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, 0) << c.args << "\n" << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex("move \\S+\n"))) << c.args << ": " << r.out;
    EXPECT_EQ(r.err.find("from book") != std::string::npos, c.from_book) << c.args << r.err;
  }
  EXPECT_EQ(RunTool("think startpos --level 2 --book " + book + " --moves 7g7f").out,
            "move 3c3d\n");
}

TEST(ThinkCommand, RefusesBadArguments) {
  for (const char* bad : {"think startpos", "think startpos --level 0", "think startpos --level 10",
                          "think --level 3", "think startpos --level 3 --seconds -1",
                          "think startpos --level 3 --moves '7g7f 7g7f'",
                          "think nonsense --level 3", "think startpos --level 3 --book"}) {
    const auto r = RunTool(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
}

TEST(MatchCommand, PlaysTheGamesAndPrintsTheTally) {
  const std::string engine = std::string("'usi:") + SHOGI_FAKE_USI_ENGINE + " good'";
  for (const std::string& b : {std::string("level:1"), engine}) {
    const auto r = RunTool("match level:2 " + b + " --games 2 --seconds 0.05");
    ASSERT_EQ(r.status, 0) << b << "\n" << r.err;
    const std::regex tally("(\\d+) wins, (\\d+) losses, (\\d+) draws");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.out, m, tally)) << r.out;
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 2) << r.out;
    EXPECT_NE(r.out.find("game 1: A first, "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("game 2: A second, "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Elo difference"), std::string::npos) << r.out;
  }
}

TEST(MatchCommand, RefusesBadPlayersAndEngines) {
  struct Case {
    const char* args;
    int status;
  } cases[] = {
      {"match level:1", 2},
      {"match level:1 level:12", 2},
      {"match level:1 level:2 --games 0", 2},
      {"match level:1 level:2 --scale 0", 2},
      {"match level:1 level:2 --option-a Skill", 2},
      {"match level:1 level:2 --openings /nonexistent/openings.txt", 2},
      {"match level:1 usi:/nonexistent/engine --games 1", 1},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_FALSE(r.err.empty()) << c.args;
  }
}

}  // namespace
}  // namespace shogi
