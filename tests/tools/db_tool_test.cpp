// shogi-tool db: databases created, filled and read from the command line.
#include <gtest/gtest.h>

#include <string>

#include "tests/database/database_test_util.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using testing::RunTool;

const std::string kData = SHOGI_TEST_DATA;

class DbToolTest : public test_support::DatabaseFolderTest {
 protected:
  void SetUp() override {
    DatabaseFolderTest::SetUp();
    WriteGoldenLists();
    (void)CopyGolden(kKisenFormat);
    (void)CopyGolden(kTarvelFormat);
  }
  // "db ARGS" with the test's folder as the program folder.
  testing::ToolResult Db(const std::string& args) {
    return RunTool("db --folder " + Folder() + " " + args);
  }
};

const char kEvenStart[] =
    "start: lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\n";
const char kLanceStart[] =
    "start: lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1\n";
const char kEvenMoves[] = "moves: 7g7f 3c3d 8h2b+ 3a2b B*4e\ntimes: 0 0 0 0 0\n";
const char kLanceMoves[] =
    "moves: 3c3d 7g7f 2b7g+ 6i6h 7g8h 7i7h B*5e\ntimes: 0 0 0 0 0 0 0\nresult: 2\n";

TEST_F(DbToolTest, GetPrintsEveryFieldOfAGame) {
  struct Case {
    std::string args, out;
  } cases[] = {
      {"get DIR/games.idx 1", kEvenStart + std::string(kEvenMoves) +
                                  "result: 1\nsente: 羽生　善治\ngote: 谷川浩司\ndate: 2001-04-09\n"
                                  "tournament: 名人戦\nopening: 矢倉\ngame: 2\nhandicap: 0\n"},
      {"get DIR/games.idx 2", kLanceStart + std::string(kLanceMoves) +
                                  "sente:             \ngote: 谷川浩司\ndate: 1999-12-31\n"
                                  "tournament: \nopening: \ngame: 0\nhandicap: 1\n"},
      {"get DIR/games.mix 1",
       kEvenStart + std::string(kEvenMoves) +
           "result: 1\nsente: 羽生善治名人\ngote: X谷川浩司九\ndate: 2001-04-09\n"
           "tournament: 第10期　名人戦\nopening: 矢倉\ngame: 2\nhandicap: 0\n"},
      {"get DIR/games.mix 2", kLanceStart + std::string(kLanceMoves) +
                                  "sente: 大山康晴\ngote: 谷川浩司\ndate: 1999-12-31\n"
                                  "tournament: \nopening: \ngame: 0\nhandicap: 1\n"},
      {"count DIR/games.mix", "2\n"},
  };
  for (Case& c : cases) {
    c.args.replace(c.args.find("DIR/"), 4, Folder());
    const auto r = Db(c.args);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    EXPECT_EQ(r.out, c.out) << c.args;
  }
}

TEST_F(DbToolTest, RecordFilesAreRegisteredAsNewGamesAndOverOldOnes) {
  for (const std::string& db : {Folder() + "new.idx", Folder() + "new.mix"}) {
    SCOPED_TRACE(db);
    EXPECT_EQ(Db("create " + db).status, 0);
    EXPECT_EQ(Db("count " + db).out, "0\n");
    auto r = Db("add " + db + " kif " + kData + "/kif/even.kif " + kData + "/kif/handicap_7.kif");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\n2\n");
    EXPECT_EQ(Db("create " + db).status, 0);  // an existing database is only chosen
    EXPECT_EQ(Db("count " + db).out, "2\n");
    r = Db("get " + db + " 1");
    const bool kisen = db.ends_with(".idx");
    EXPECT_TRUE(
        r.out.starts_with(kEvenStart + std::string(kEvenMoves) + "result: 1\nsente: " +
                          (kisen ? "羽生　善治\ngote: 谷川浩司\n" : "羽生善治\ngote: 谷川浩司\n")))
        << r.out;
    EXPECT_TRUE(r.out.ends_with("tournament: \nopening: \ngame: 0\nhandicap: 0\n")) << r.out;
    r = Db("get " + db + " 2");
    EXPECT_TRUE(r.out.starts_with(
        "start: 2sgkgs2/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1\nmoves: 3c3d 7g7f\n"))
        << r.out;
    EXPECT_TRUE(r.out.ends_with("handicap: 7\n")) << r.out;

    r = Db("put " + db + " 1 csa " + kData + "/csa/handicap_gote_first.csa");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = Db("get " + db + " 1");
    EXPECT_TRUE(r.out.starts_with(kLanceStart + std::string("moves: 3c3d 7g7f 2b3c\n"))) << r.out;
    EXPECT_EQ(Db("count " + db).out, "2\n");
  }
}

TEST_F(DbToolTest, ReportsBadArgumentsAndFailures) {
  test_support::PutFileBytes(Folder() + "user.kif", "a user's record");
  test_support::PutFileBytes(Folder() + "broken.idx", "\x01");
  test_support::PutFileBytes(Folder() + "broken.kif", "");
  struct Case {
    std::string args;
    int status;
    std::string err;
  } cases[] = {
      {"", 2, "shogi-tool db: expected an operation and DB\n"},
      {"count DIR/g.txt", 2, "shogi-tool db: DB must end in .idx or .mix\n"},
      {"frob DIR/g.idx", 2, "shogi-tool db: unknown operation 'frob'\n"},
      {"get DIR/g.idx", 2, "shogi-tool db: wrong number of arguments for 'get'\n"},
      {"add DIR/g.idx kif", 2, "shogi-tool db: wrong number of arguments for 'add'\n"},
      {"get DIR/games.idx 0", 2, "shogi-tool db: N must be a game number from 1\n"},
      {"put DIR/games.idx x kif f", 2, "shogi-tool db: N must be a game number from 1\n"},
      {"add DIR/games.idx pgn f", 2, "shogi-tool db: FORMAT must be kif, ki2 or csa\n"},
      {"count DIR/missing.idx", 1, "指定ファイルが存在しません。\n"},
      {"get DIR/games.mix 3", 1, "番号が登録データ数を超してます。\n"},
      {"put DIR/games.mix 3 kif " + kData + "/kif/even.kif", 1,
       "番号が登録データ数を超してます。\n"},
      {"count .idx", 1, "ファイル名に異常があります。\n"},
      {"add DIR/games.idx kif DIR/missing.kif", 1, "指定ファイルが存在しません。\n"},
      {"create DIR/user.idx", 1, "ファイルが作成できません。\n"},
      {"create DIR/broken.idx", 1, "ファイルに異常があります。\n"},
  };
  for (Case& c : cases) {
    for (std::size_t at; (at = c.args.find("DIR/")) != std::string::npos;)
      c.args.replace(at, 4, Folder());
    const auto r = Db(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
    EXPECT_EQ(r.err, c.err) << c.args;
  }
  EXPECT_EQ(test_support::FileBytes(Folder() + "user.kif"), "a user's record");
}

}  // namespace
}  // namespace shogi
