// shogi-tool db convert / db jsk and shogi-tool book: conversions, the opening book and
// Bonanza books from the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/database/database_test_util.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::RunTool;

class BookToolTest : public test::DatabaseFolderTest {
 protected:
  void SetUp() override {
    DatabaseFolderTest::SetUp();
    WriteGoldenLists();
    (void)CopyGolden(kTarvelFormat);
  }
  test::ToolResult Run(const std::string& args) {
    std::string line = args;
    for (std::size_t at; (at = line.find("DIR/")) != std::string::npos;)
      line.replace(at, 4, Folder());
    return RunTool(line);
  }
};

const char kAfter7g7f[] = "'lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1'";

TEST_F(BookToolTest, ABookIsBuiltAndLookedUp) {
  const struct {
    std::string args;
    int status;
    std::string out, err;
  } cases[] = {
      {"book build DIR/games.mix DIR/book.bin --plies 2", 0, "3局面作成しました。(0)\n", ""},
      {"book lookup DIR/book.bin startpos", 0, "7g7f 100\n", ""},
      {"book lookup DIR/book.bin " + std::string(kAfter7g7f), 0, "3c3d 100\n", ""},
      {"book build DIR/games.mix DIR/book.bin --plies 10 --condition 1 --resign-rule", 0,
       "7局面作成しました。(0)\n", ""},
      {"book lookup DIR/book.bin " + std::string(kAfter7g7f), 1, "", "この局面は存在しません。\n"},
      {"book lookup DIR/none.bin startpos", 1, "", "DIR/none.binがアクセス出来ません。\n"},
      {"book build DIR/none.mix DIR/book.bin", 1, "",
       "Tarvel形式ファイル(DIR/none.mix)が存在しません。\n\n"},
      {"book build DIR/games.mix DIR/book.bin --plies 300", 2, "", ""},
      {"book build DIR/games.mix DIR/book.bin --condition 4", 2, "", ""},
      {"book lookup DIR/book.bin", 2, "", ""},
      {"book sort", 2, "", ""},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args);
    std::string err = c.err;
    for (std::size_t at; (at = err.find("DIR/")) != std::string::npos;)
      err.replace(at, 4, Folder());
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.args;
    // Bad arguments give a usage line; a failure its message.
    EXPECT_EQ(c.status == 2 ? !r.err.empty() : r.err == err, true) << c.args << "\n" << r.err;
  }
}

// The golden Tarvel database to Kisen and back, the lists written only when asked, and the
// opening book of the golden database.
TEST_F(BookToolTest, DatabasesAreConvertedAndTheOpeningBookWritten) {
  auto r = Run("db --folder DIR/ convert DIR/games.mix");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2\n");
  EXPECT_FALSE(std::filesystem::exists(Folder() + "棋士名.DAT"));
  r = Run("db --folder DIR/ get DIR/games.idx 1");
  EXPECT_NE(r.out.find("gote: 谷川浩司\n"), std::string::npos) << r.out;
  std::filesystem::remove(Folder() + "games.mix");
  r = Run("db --folder DIR/ convert DIR/games.idx --write-lists");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2\n");
  EXPECT_TRUE(std::filesystem::exists(Folder() + "games.mix"));
  EXPECT_TRUE(std::filesystem::exists(Folder() + "棋士名.DAT"));

  (void)CopyGolden(kTarvelFormat);
  r = Run("db jsk DIR/games.mix DIR/book.jsk");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FileBytes(Folder() + "book.jsk"),
            FileBytes(std::string(SHOGI_TEST_DATA) + "/jsk/two_games.jsk"));
  const struct {
    std::string args;
    int status;
    std::string err;
  } refused[] = {
      {"db jsk DIR/games.idx DIR/book.jsk", 2, ""},
      {"db jsk DIR/none.mix DIR/book.jsk", 1, "Tarvelファイルが存在しません。\n"},
      {"db convert DIR/none.idx", 1, "棋泉ファイルが存在しません。\n"},
      {"db convert DIR/games.mix --lists", 2, ""},
  };
  for (const auto& c : refused) {
    r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(c.status == 2 ? !r.err.empty() : r.err == c.err, true) << c.args << "\n" << r.err;
  }
}

}  // namespace
}  // namespace shogi
