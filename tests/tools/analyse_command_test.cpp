// shogi-tool analyse: one line per ply with the engine's score from the first player's view
// and its best move, the position sent as the record stands (a handicap start included);
// refusals; optionally fairy-stockfish on a short record.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/test_files.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::kData;
using test::RunTool;

TEST(AnalyseCommand, OneLinePerPlyFromTheFirstPlayersView) {
  const std::string log = "/tmp/shogi_analyse_" + std::to_string(getpid()) + ".log";
  std::remove(log.c_str());
  const std::string engine = std::string("'") + SHOGI_FAKE_USI_ENGINE + " good " + log + "'";
  // The stand-in engine says +42 for the side to move and plays its first legal move.
  auto r = RunTool("analyse kif " + kData + "/kif/even.kif --seconds 0.05 --engine " + engine);
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  int ply = 0;
  const std::regex row("(\\d+) cp (-?42) ([1-9][a-i][1-9][a-i]\\+?|[PLNSGBR]\\*[1-9][a-i])");
  while (std::getline(lines, line)) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, row)) << line;
    EXPECT_EQ(std::stoi(m[1]), ply);
    EXPECT_EQ(m[2], ply % 2 == 0 ? "42" : "-42") << line;
    ++ply;
  }
  EXPECT_EQ(ply, 6);  // the start and after each of the five moves
  const std::string sent = FileBytes(log);
  EXPECT_NE(sent.find("position startpos moves 7g7f 3c3d 8h2b+ 3a2b\ngo movetime 50\n"),
            std::string::npos)
      << sent;

  // A handicap record starts with the giver (the second player) to move.
  std::remove(log.c_str());
  r = RunTool("analyse kif " + kData + "/kif/handicap_1.kif --seconds 0.05 --engine " + engine);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("1 cp -42 ", 0), 0u) << r.out;
  EXPECT_NE(FileBytes(log).find("position sfen lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/"
                               "LNSGKGSNL w - 1\n"),
            std::string::npos)
      << FileBytes(log);
  std::remove(log.c_str());
}

TEST(AnalyseCommand, RefusesBadArgumentsAndBrokenEngines) {
  const std::string fake = std::string("'") + SHOGI_FAKE_USI_ENGINE;
  struct Case {
    std::string args;
    int status;
  } cases[] = {
      {"analyse kif " + kData + "/kif/even.kif", 2},
      {"analyse kif " + kData + "/kif/even.kif --engine x --seconds 0", 2},
      {"analyse zzz " + kData + "/kif/even.kif --engine x", 2},
      {"analyse kif /nonexistent.kif --engine " + fake + " good'", 1},
      {"analyse kif " + kData + "/kif/even.kif --engine /nonexistent/engine", 1},
      {"analyse kif " + kData + "/kif/even.kif --engine " + fake + " illegal'", 1},
      {"analyse kif " + kData + "/kif/even.kif --seconds 0.05 --engine " + fake + " crash'", 1},
  };
  for (const Case& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_FALSE(r.err.empty()) << c.args;
  }
}

// --out writes the record with a score comment for every position; a failed analysis
// writes nothing.
TEST(AnalyseCommand, OutWritesTheAnnotatedRecord) {
  const std::string out = "/tmp/shogi_analyse_" + std::to_string(getpid()) + ".kif";
  const std::string fake = std::string("'") + SHOGI_FAKE_USI_ENGINE;
  std::remove(out.c_str());
  auto r = RunTool("analyse kif " + kData + "/kif/even.kif --seconds 0.05 --engine " + fake +
                   " illegal' --out " + out);
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::ifstream(out));
  r = RunTool("analyse kif " + kData + "/kif/even.kif --seconds 0.05 --engine " + fake +
              " good' --out " + out);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto read = RunTool("read kif " + out + " --variations");
  ASSERT_EQ(read.status, 0) << read.err;
  std::size_t comments = 0;
  for (std::size_t at = 0; (at = read.out.find("#評価値=", at)) != std::string::npos; ++at)
    ++comments;
  EXPECT_EQ(comments, 6u) << read.out;
  std::remove(out.c_str());
}

// Optional: Debian's fairy-stockfish on a short record, when installed, 0.1 s a position.
TEST(AnalyseCommand, FairyStockfishWhenPresent) {
  const char* path = "/usr/games/fairy-stockfish";
  if (!std::ifstream(path)) GTEST_SKIP() << "fairy-stockfish is not installed";
  const auto r = RunTool("analyse kif " + kData + "/kif/even.kif --seconds 0.1 --engine " + path +
                         " --option 'USI_Hash=16'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  int count = 0;
  const std::regex row("\\d+ (cp -?\\d+|mate -?\\d+|mate [+-]) (\\S+)");
  while (std::getline(lines, line)) {
    EXPECT_TRUE(std::regex_match(line, row)) << line;
    ++count;
  }
  EXPECT_EQ(count, 6) << r.out;
}

}  // namespace
}  // namespace shogi
