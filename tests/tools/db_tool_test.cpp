// shogi-tool db: databases created, filled and read from the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/synthetic_database.h"
#include "tests/database/database_test_util.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::ExpectRefusal;
using test::RunTool;

using test::kData;

class DbToolTest : public test::DatabaseFolderTest {
 protected:
  void SetUp() override {
    DatabaseFolderTest::SetUp();
    WriteGoldenLists();
    (void)CopyGolden(kKisenFormat);
    (void)CopyGolden(kTarvelFormat);
  }
  // "db ARGS" with the test's folder as the program folder.
  test::ToolResult Db(const std::string& args) {
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

    // The move file cut within game 2: its count claims a game more until the repair.
    const std::string moves = db.substr(0, db.size() - 3) + (kisen ? "kif" : "mkf");
    test::PutFileBytes(moves, test::FileBytes(moves).substr(0, 600));
    EXPECT_EQ(Db("get " + db + " 2").err, "ファイルに異常があります。\n");
    EXPECT_EQ(Db("repair " + db).out, "1\n");
    EXPECT_EQ(Db("count " + db).out, "1\n");
  }
}

TEST_F(DbToolTest, ReportsBadArgumentsAndFailures) {
  test::PutFileBytes(Folder() + "user.kif", "a user's record");
  test::PutFileBytes(Folder() + "broken.idx", "\x01");
  test::PutFileBytes(Folder() + "broken.kif", "");
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
      {"add DIR/games.idx pgn f", 2,
       "shogi-tool db: FORMAT must be morita, kif, ki2, eisei, kaya, akafuji, csa, shotest, s1n, "
       "fuku, "
       "kitaihei, maruyama, otsuki, nazoteki, shokidoki, hshogi, amano, aishogi, kanna, om1, "
       "s1-1996, super, sekita, sfen, usi, palm or jkf\n"},
      {"count DIR/missing.idx", 1, "指定ファイルが存在しません。\n"},
      {"get DIR/games.mix 3", 1, "番号が登録データ数を超してます。\n"},
      {"put DIR/games.mix 3 kif " + kData + "/kif/even.kif", 1,
       "番号が登録データ数を超してます。\n"},
      {"count .idx", 1, "ファイル名に異常があります。\n"},
      {"add DIR/games.idx kif DIR/missing.kif", 1, "指定ファイルが存在しません。\n"},
      {"create DIR/user.idx", 1, "ファイルが作成できません。\n"},
      {"create DIR/broken.idx", 1, "ファイルに異常があります。\n"},
      {"explore DIR/games.idx", 2, "shogi-tool db: explore needs --position SFEN\n"},
      {"explore DIR/games.idx --position startpos --plies 257", 2,
       "shogi-tool db: --plies must be a number of moves 0..256\n"},
      {"index DIR/games.idx --games 3", 2, "shogi-tool db: unknown or repeated option '--games'\n"},
      {"index DIR/missing.idx", 1, "指定ファイルが存在しません。\n"},
      // The conditions of search and list ("" : any message).
      {"search DIR/games.idx --from 2000/4 --to 2000/3", 2,
       "shogi-tool db: 範囲指定が間違ってます。\n"},
      {"search DIR/games.idx --from ２０００/4 --to 2000/3", 2,
       "shogi-tool db: 整数を入力してください。\n"},
      {"list DIR/games.mix --from 2000/13 --to 2001/1", 2,
       "shogi-tool db: 1～12の範囲で入力してください。\n"},
      {"search DIR/games.idx --from 2000", 2, "shogi-tool db: 整数を入力してください。\n"},
      {"search DIR/games.idx --to 2000/1", 2, "shogi-tool db: --to needs --from\n"},
      {"search DIR/games.idx --mode 2", 2, "shogi-tool db: --position and --mode go together\n"},
      {"search DIR/games.idx --position startpos --mode 4", 2,
       "shogi-tool db: --mode must be 1, 2 or 3\n"},
      {"search DIR/games.idx --position 9/9 --mode 1", 2, ""},
      {"search DIR/games.idx --columns 1,2", 2,
       "shogi-tool db: unknown or repeated option '--columns'\n"},
      {"list DIR/games.idx --columns 1,8", 2,
       "shogi-tool db: --columns must be two column types 0..7, as 2,1\n"},
      {"list DIR/games.idx --top -1", 2, "shogi-tool db: --top must be an entry number from 0\n"},
      {"list DIR/games.idx --all --top 3", 2,
       "shogi-tool db: --all and --top exclude each other\n"},
      {"list DIR/games.idx --player", 2, "shogi-tool db: '--player' needs a value\n"},
      {"search DIR/missing.idx", 1, "指定ファイルが存在しません。\n"},
      {"list DIR/games.mix --player 名無し", 1, "該当データは存在しません。\n"},
  };
  for (Case& c : cases) {
    for (std::size_t at; (at = c.args.find("DIR/")) != std::string::npos;)
      c.args.replace(at, 4, Folder());
    ExpectRefusal(Db(c.args), c.args, c.status, c.err);
  }
  EXPECT_EQ(test::FileBytes(Folder() + "user.kif"), "a user's record");
}

// The whole-database commands, run in turn on the golden pairs: each line's output, then
// what `get` or `count` shows of the result.
TEST_F(DbToolTest, WholeDatabaseCommandsRewriteTheFiles) {
  test::PutFileBytes(Folder() + "copy.mix",
                             test::FileBytes(Folder() + "games.mix"));
  test::PutFileBytes(Folder() + "copy.mkf",
                             test::FileBytes(Folder() + "games.mkf"));
  const std::string yearbook = kData + "/yearbook/";
  struct Step {
    std::string args;
    int status;
    std::string out, err;
    std::string check, shows;  // then "db CHECK" prints a line SHOWS
  } steps[] = {
      {"sort DIR/games.idx", 0, "", "", "get DIR/games.idx 1", "date: 1999-12-31\n"},
      {"sort DIR/games.idx --descending", 0, "", "", "get DIR/games.idx 1", "date: 2001-04-09\n"},
      {"sort DIR/games.idx --up", 2, "", "shogi-tool db: sort takes only --descending\n", "", ""},
      {"dupes DIR/games.mix", 0, "", "重複データは存在しません。\n", "", ""},
      {"merge DIR/games.mix DIR/copy.mix", 0, "", "", "count DIR/games.mix", "4\n"},
      {"merge DIR/games.mix DIR/games.mix", 1, "", "同じ棋譜ファイルは合併出来ません。\n", "", ""},
      {"merge DIR/games.mix DIR/none.mix", 1, "", "Tarvelファイルが存在しません。\n", "", ""},
      {"dupes DIR/games.mix", 0, "1 3\n2 4\n", "2組存在しました。\n", "", ""},
      {"swap DIR/games.mix 1 2", 0, "", "", "get DIR/games.mix 1", "sente: 大山康晴\n"},
      {"swap DIR/games.mix 2 2", 1, "", "同じ番号は、指定出来ません。\n", "", ""},
      {"swap DIR/games.idx 1 2", 2, "", "shogi-tool db: swap takes a Tarvel database (.mix)\n", "",
       ""},
      {"swap DIR/games.mix 1 x", 2, "", "shogi-tool db: A and B must be game numbers from 1\n", "",
       ""},
      {"delete DIR/games.mix 1", 0, "", "", "get DIR/games.mix 1", "sente: 羽生善治名人\n"},
      {"delete DIR/games.mix 9", 1, "", "番号が登録データ数を超してます。\n", "", ""},
      {"rename DIR/games.mix --player 羽生善治名人 升田幸三", 0, "", "2件変更しました。\n",
       "get DIR/games.mix 2", "sente: 升田幸三\n"},
      {"rename DIR/games.idx --player 3 12", 0, "", "2件変更しました。\n", "get DIR/games.idx 2",
       "gote: 羽生　善治\n"},
      {"rename DIR/games.idx --tournament 5 100", 1, "", "0～99の範囲の数を入力してください。\n",
       "", ""},
      {"rename DIR/games.idx --opening 9 8", 1, "", "変更対象データが存在しません。\n", "", ""},
      {"rename DIR/games.idx --game 1 2", 2, "",
       "shogi-tool db: rename takes --player, --tournament or --opening\n", "", ""},
      {"merge-distributed DIR/games.mix DIR/copy.mix", 2, "",
       "shogi-tool db: merge-distributed takes a Kisen database (.idx)\n", "", ""},
      {"merge-distributed DIR/games.idx DIR/games.idx", 1, "",
       "同じ棋譜ファイルは合併出来ません。\n", "", ""},
      {"remove DIR/copy.mix", 0, "", "", "count DIR/copy.mix", ""},
      {"yearbook " + yearbook + "headers.dat " + yearbook + "index.dat " + yearbook +
           "moves.dat DIR/nenkan.mix",
       0, "", "全部で2局変換しました。\n", "get DIR/nenkan.mix 1", "moves: 7g7f 3c3d 8h2b+\n"},
      {"yearbook a b c DIR/x.mix", 2, "",
       "shogi-tool db: yearbook takes three files and a Tarvel database (.mix)\n", "", ""},
  };
  for (Step& step : steps) {
    for (std::string* text : {&step.args, &step.check}) {
      for (std::size_t at; (at = text->find("DIR/")) != std::string::npos;)
        text->replace(at, 4, Folder());
    }
    const auto r = Db(step.args);
    EXPECT_EQ(r.status, step.status) << step.args;
    EXPECT_EQ(r.out, step.out) << step.args;
    EXPECT_EQ(r.err, step.err) << step.args;
    if (step.check.empty()) continue;
    const auto shown = Db(step.check);
    if (step.shows.empty()) {
      EXPECT_EQ(shown.err, "指定ファイルが存在しません。\n") << step.check;
    } else {
      EXPECT_NE(shown.out.find(step.shows), std::string::npos) << step.check << "\n" << shown.out;
    }
  }
  // The yearbook's handicap game: 角落ち, the giver's win stored as 上手's.
  const auto r = Db("get " + Folder() + "nenkan.mix 2");
  EXPECT_TRUE(r.out.starts_with(
      "start: lnsgkgsnl/1r7/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1\nmoves: 3c3d 7g7f\n"))
      << r.out;
  EXPECT_NE(r.out.find("result: 2\nsente: 大山　康晴\ngote: 升田　幸三\ndate: 1999-12-31\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("game: 0\nhandicap: 2\n"), std::string::npos) << r.out;
}

// Searches of the golden databases: the numbers kept, the search list file written, the
// count on standard error.
TEST_F(DbToolTest, SearchPrintsTheGamesKeptAndWritesTheSearchList) {
  const std::string even_after_three =
      "'lnsgkgsnl/1r5+B1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/7R1/LNSGKGSNL w B 1'";
  struct Case {
    std::string db, conditions, out;
  } cases[] = {
      {"games.idx", "", "1\n2\n"},
      {"games.idx", "--player 谷川浩司", "1\n2\n"},
      {"games.mix", "--player 谷川浩司", "2\n"},
      {"games.mix", "--player 'X谷川浩司 九'", "1\n"},
      {"games.idx", "--player 羽生善治 --player 谷川浩司", "1\n"},
      {"games.idx", "--player 羽生善治 --player 大山康晴", "1\n"},  // 大山康晴 is in no list
      {"games.mix", "--player 羽生善治名人 --player 大山康晴", ""},
      {"games.idx", "--tournament 名人戦 --opening 矢倉", "1\n"},
      {"games.mix", "--tournament '第10期 名人戦'", "1\n"},
      {"games.mix", "--from 1999/12 --to 2001/3", "2\n"},
      {"games.idx", "--from 1999/12 --to 2001/4", "1\n2\n"},
      {"games.mix", "--position " + even_after_three + " --mode 3", "1\n"},
      {"games.idx", "--position " + even_after_three + " --mode 3 --from 2001/5 --to 2002/1", ""},
  };
  for (const Case& c : cases) {
    const auto r = Db("search " + Folder() + c.db + " " + c.conditions);
    EXPECT_EQ(r.status, 0) << c.conditions << r.err;
    EXPECT_EQ(r.out, c.out) << c.db << " " << c.conditions;
    EXPECT_TRUE(r.err.starts_with(std::to_string(std::count(c.out.begin(), c.out.end(), '\n')) +
                                  " games found in "))
        << r.err;
    const bool kisen = c.db.ends_with(".idx");
    std::string list;
    for (char n : c.out) {
      if (n != '\n') list += std::string{static_cast<char>(n - '0'), 0, 0, 0};
    }
    EXPECT_EQ(test::FileBytes(Folder() + (kisen ? "KENSAKU.DAT" : "検索.DAT")), list);
  }
}

// The listed games into a new database: the search's with conditions, else every game; the
// games come out whole and in the list's order.
TEST_F(DbToolTest, ExtractWritesTheListedGamesIntoANewDatabase) {
  const struct {
    std::string db, out, conditions, count, games;  // games: "get" of each game of OUT
  } cases[] = {
      {"games.idx", "all.idx", "", "2\n", "1 2"},
      {"games.mix", "tani.mix", "--player 谷川浩司", "1\n", "2"},
      {"games.idx", "two.idx", "--player 羽生善治 --player 谷川浩司", "1\n", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out + " " + c.conditions);
    const auto r = Db("extract " + Folder() + c.db + " " + Folder() + c.out + " " + c.conditions);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.count);
    std::istringstream numbers(c.games);
    int n = 0;
    for (int i = 1; numbers >> n; ++i) {
      EXPECT_EQ(Db("get " + Folder() + c.out + " " + std::to_string(i)).out,
                Db("get " + Folder() + c.db + " " + std::to_string(n)).out);
    }
    EXPECT_EQ(Db("count " + Folder() + c.out).out, c.count);
  }
  // Another format, the source itself, nothing found: refused, nothing written.
  EXPECT_EQ(Db("extract " + Folder() + "games.idx " + Folder() + "x.mix").status, 2);
  EXPECT_NE(Db("extract " + Folder() + "games.idx " + Folder() + "games.idx").status, 0);
  EXPECT_EQ(Db("count " + Folder() + "games.idx").out, "2\n");
  const auto none =
      Db("extract " + Folder() + "games.mix " + Folder() + "none.mix --from 1990/1 --to 1990/2");
  EXPECT_NE(none.status, 0);
  EXPECT_NE(none.err.find("該当データは存在しません。"), std::string::npos) << none.err;
  EXPECT_EQ(Db("count " + Folder() + "none.mix").status, 1);
}

// The list's lines as the dialog forms them, in UTF-8; pages by --top and --all.
TEST_F(DbToolTest, ListPrintsTheHeaderAndThePages) {
  auto r = Db("list " + Folder() + "games.mix --columns 4,6 --reverse");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            " 番号     先手         後手       対局日  勝敗　   　　　　手合い\n"
            "     2 大山康晴     谷川浩司     99/12/31 上手勝ち         香落ち\n"
            "     1 羽生善治名人 X谷川浩司九  01/ 4/ 9 先手勝ち         平手\n");
  r = Db("list " + Folder() + "games.idx --player 谷川浩司 --position startpos --mode 2");
  EXPECT_EQ(r.out,
            " 番号     先手         後手       対局日  指し手   　　　　戦型　\n"
            "     1 羽生　善治   谷川浩司     01/ 4/ 9 ▲７六歩         矢倉\n");

  ASSERT_TRUE(test::WriteSyntheticDatabase(
      kKisenFormat, PathsOf("many.idx"), 45, test::RandomGames(kKisenFormat, 2, 3, 2, 1)));
  struct Case {
    std::string options;
    std::vector<int> first_numbers;  // of each page
    int lines;
  } cases[] = {
      {"", {1}, 20},
      {"--top 20", {21}, 20},
      {"--top 40", {26}, 20},
      {"--reverse --top 3", {42}, 20},
      {"--all", {1, 21, 26}, 60},
      {"--all --reverse", {45, 25, 20}, 60},
      {"--from 1960/1 --to 1961/12 --all", {10}, 2},  // game n is dated 1950 + n
  };
  for (const Case& c : cases) {
    r = Db("list " + Folder() + "many.idx " + c.options);
    EXPECT_EQ(r.status, 0) << c.options << r.err;
    std::vector<int> first_numbers;
    int lines = 0;
    std::istringstream out(r.out);
    std::string line;
    std::getline(out, line);
    EXPECT_TRUE(line.starts_with(" 番号")) << line;
    for (bool page_start = true; std::getline(out, line);) {
      if (line.empty()) {
        page_start = true;
        continue;
      }
      if (page_start) first_numbers.push_back(std::stoi(line.substr(0, 6)));
      page_start = false;
      ++lines;
    }
    EXPECT_EQ(first_numbers, c.first_numbers) << c.options;
    EXPECT_EQ(lines, c.lines) << c.options;
  }
}

// explore prints the same before and after `index`; a registration keeps the index, a sort
// leaves it stale.
TEST_F(DbToolTest, ExploreAnswersTheSameWithAndWithoutTheIndex) {
  const std::string after_two =
      "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3";
  const std::string lance = "lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
  struct Case {
    std::string args, out;
  } cases[] = {
      {"--position startpos", "games: 1\nmove: 7g7f 1 1 0 0\ngame: 1 0 2001-04-09 1\n"},
      {"--position '" + after_two + "' --plies 2",
       "games: 1\nmove: 8h2b+ 1 1 0 0\ngame: 1 2 2001-04-09 1\n"},
      {"--position '" + after_two + "' --plies 1", "games: 0\n"},
      {"--position '" + lance + "' --games 0", "games: 1\nmove: 3c3d 1 0 1 0\n"},
  };
  for (const std::string& db : {Folder() + "games.idx", Folder() + "games.mix"}) {
    std::vector<std::string> before;
    for (const std::string step : {"", "index"}) {
      if (!step.empty()) {
        const auto r = Db("index " + db);
        EXPECT_EQ(r.out.substr(0, r.out.find("seconds: ")), "positions: 14\n") << r.err;
      }
      for (const Case& c : cases) {
        const auto r = Db("explore " + db + " " + c.args);
        EXPECT_EQ(r.out, c.out) << step << c.args;
        EXPECT_EQ(r.err.find("from the position index") != std::string::npos, !step.empty());
      }
    }
    // A game added through the index: the same answers as a pass gives without it.
    EXPECT_EQ(Db("add " + db + " kif " + kData + "/kif/even_no_times.kif").out, "3\n");
    for (const std::string step : {"index", "none"}) {
      if (step == "none") std::filesystem::remove(db + ".pix");
      for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto r = Db("explore " + db + " " + cases[i].args);
        if (step == "index") before.push_back(r.out);
        EXPECT_EQ(r.out, before[i]) << cases[i].args;
        EXPECT_EQ(r.err.find("from the position index") != std::string::npos, step == "index");
      }
    }
    EXPECT_EQ(before[0].substr(0, 28), "games: 2\nmove: 7g7f 2 2 0 0\n");
    EXPECT_EQ(Db("index " + db).status, 0);
    EXPECT_EQ(Db("sort " + db).status, 0);
    const std::string stale = "局面インデックスが古いため使いません。\n";
    EXPECT_EQ(Db("explore " + db + " --position startpos").err.substr(0, stale.size()), stale);
  }
}

}  // namespace
}  // namespace shogi
