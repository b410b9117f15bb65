// shogi-tool read and convert.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/records/akafuji_image.h"
#include "tests/support/test_files.h"
#include "tests/tools/tool_run.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::RunTool;

using test::kData;

// What `read` prints for records of several formats: whole, or the part that tells.
TEST(ReadTool, PrintsTheRecordOfEachFormat) {
  const std::string even_game =
      "start: lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\n"
      "moves: 7g7f 3c3d 8h2b+ 3a2b B*4e\n"
      "times: 10 5 30 3725 33\n"
      "result: 1\n"
      "sente: 羽生善治\n"
      "gote: 谷川浩司\n";
  const struct {
    std::string args, out;
    bool whole;
  } cases[] = {
      {"kif " + kData + "/kif/even.kif", even_game, true},
      {"csa " + kData + "/csa/handicap_gote_first.csa",
       "start: lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1\n"
       "moves: 3c3d 7g7f 2b3c\n"
       "times: 12 30 52\n"
       "result: 0\n"
       "sente: 山田\n"
       "gote: 田中\n",
       true},
      {"morita " + kData + "/morita/even.txt", even_game + "date: 1996-02-14\ntournament: 王将戦\n",
       true},
      {"ki2 " + kData + "/ki2/game.ki2", "\nmoves: 7g7f 3c3d 2g2f", false},
      {"kif " + kData + "/kif/no_moves.kif", "\nmoves:\ntimes:\nresult: 0\n", false},
      {"sfen " + kData + "/usi/usi_command.sfen", "\nmoves: 7g7f 3c3d 8h2b+ 3a2b B*4e\n", false},
      {"usi " + kData + "/usi/usi_command.sfen", "\nmoves: 7g7f 3c3d 8h2b+ 3a2b B*4e\n", false},
  };
  for (const auto& c : cases) {
    const auto r = RunTool("read " + c.args);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    if (c.whole) {
      EXPECT_EQ(r.out, c.out) << c.args;
    } else {
      EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << r.out;
    }
  }
}

TEST(ReadTool, ReportsFailuresAndNamesTheFormatsOfTheTable) {
  struct Case {
    std::string args;
    int status;
    std::string err;
  };
  const std::string readable =
      "morita, kif, ki2, eisei, kaya, akafuji, csa, shotest, s1n, fuku, kitaihei, maruyama, "
      "otsuki, "
      "nazoteki, shokidoki, hshogi, amano, aishogi, kanna, om1, s1-1996, super, sekita, sfen, usi, "
      "palm or jkf";
  const std::string writable = "morita, kif, ki2, eisei, kaya, csa, palm or jkf";
  const Case cases[] = {
      {"read kif " + kData + "/csa/even.csa", 1, "ファイルに異常があります。\n"},
      {"read ki2 " + kData + "/ki2/missing.ki2", 1, "指定ファイルが存在しません。\n"},
      {"read sekita " + kData + "/ki2/missing.ki2", 1, "指定ファイルが存在しません。\n"},
      {"read pgn x", 2, "shogi-tool read: FORMAT must be " + readable + "\n"},
      {"convert csa x sfen y", 2, "shogi-tool convert: FORMAT_OUT must be " + writable + "\n"},
      {"convert csa x kif y --append", 2,
       "shogi-tool convert: --append and --replace write into a kaya file\n"},
      {"convert csa x kaya y --replace 0", 2,
       "shogi-tool convert: --replace needs a game number from 1\n"},
      {"convert csa x kaya y --append --replace 2", 2,
       "shogi-tool convert: --append and --replace go alone\n"},
  };
  for (const Case& c : cases) {
    auto r = RunTool(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
    EXPECT_EQ(r.err, c.err) << c.args;
  }
  // Nothing listens on port 1: the reason from the download follows the message.
  const auto r = RunTool("read kif http://127.0.0.1:1/game.kif");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("指定URLが存在しません。 (", 0), 0u) << r.err;
  EXPECT_NE(
      RunTool("--help").out.find("reads a " + readable + " record and writes it as " + writable),
      std::string::npos);
}

TEST(ReadTool, ConvertsBetweenFormatsWithTimes) {
  const test::TempFolder folder;
  const std::string& dir = folder.Path();
  auto r = RunTool("convert kif " + kData + "/kif/even.kif csa " + dir + "even.csa");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FileBytes(dir + "even.csa"), FileBytes(kData + "/csa/even.csa"));
  r = RunTool("convert csa " + kData + "/csa/even.csa kif " + dir + "even.kif");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(RunTool("read kif " + dir + "even.kif").out,
            RunTool("read csa " + kData + "/csa/even.csa").out);
  r = RunTool("convert morita " + kData + "/morita/even.txt eisei " + dir + "even.kif");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FileBytes(dir + "even.kif"), FileBytes(kData + "/eisei/even.kif"));
  r = RunTool("convert kif " + kData + "/kif/other_diagram.kif csa " + dir + "x.csa");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "持駒の存在する局面は、セーブ出来ません。\n");
  EXPECT_FALSE(std::filesystem::exists(dir + "x.csa"));
}

// The lines and comments of records with variations in the forms other programs write, as
// `read --variations` lists them after the record (the listings were checked against another
// reader of these forms, scripts/compare_variations.sh).
TEST(ReadTool, ListsTheLinesAndCommentsOfEachFormat) {
  for (const char* file : {"kif/variations.kif", "kif/variations_plain.kif", "ki2/variations.ki2",
                           "csa/comments.csa", "jkf/variations.jkf", "jkf/other_board.jkf"}) {
    const std::string format = std::string(file).substr(0, 3);
    const auto r = RunTool("read " + format + " " + kData + "/" + file + " --variations");
    ASSERT_EQ(r.status, 0) << file << r.err;
    const std::string listing =
        FileBytes(kData + "/variations/" + std::string(file).substr(4) + ".txt");
    EXPECT_EQ(r.out.substr(r.out.find("\nline 0:") + 1), listing) << file;
  }
}

// Conversions keep every line and every comment: through the own format, through JKF and
// back, from KI2; CSA keeps the comments of the main line.
TEST(ReadTool, ConversionsKeepTheLinesAndComments) {
  const test::TempFolder folder;
  const auto listing = [](const std::string& format, const std::string& path) {
    const std::string out = RunTool("read " + format + " " + path + " --variations").out;
    return out.substr(out.find("\nline 0:") + 1);
  };
  const struct {
    std::string from;
    std::vector<std::string> via;
  } cases[] = {
      {"kif/variations.kif", {"kif"}},
      {"kif/variations.kif", {"jkf", "kif"}},
      {"kif/variations_plain.kif", {"ki2", "jkf", "kif"}},
      {"ki2/variations.ki2", {"kif"}},
      {"jkf/variations.jkf", {"kif", "jkf"}},
      {"jkf/other_board.jkf", {"kif", "ki2", "jkf"}},
      {"csa/comments.csa", {"kif", "csa"}},
  };
  for (const auto& c : cases) {
    std::string format = c.from.substr(0, 3), path = kData + "/" + c.from;
    const std::string before = listing(format, path);
    for (const std::string& to : c.via) {
      const std::string out = folder.Path() + "out." + to;
      const auto r = RunTool("convert " + format + " " + path + " " + to + " " + out);
      ASSERT_EQ(r.status, 0) << c.from << " " << to << r.err;
      format = to;
      path = out;
    }
    EXPECT_EQ(listing(format, path), before) << c.from;
  }
  ASSERT_EQ(
      RunTool("convert kif " + kData + "/kif/variations.kif csa " + folder.Path() + "v.csa").status,
      0);
  const std::string main_only = listing("csa", folder.Path() + "v.csa");
  EXPECT_EQ(main_only.substr(0, main_only.find("comment")),
            "line 0: 7g7f 3c3d 2g2f 8c8d 2f2e 8d8e\n");
}

TEST(ReadTool, ListsAndReadsTheGamesOfAnAkafujiDatabase) {
  const test::TempFolder folder;
  const std::string path = folder.Path() + "dt01.sin";
  {
    std::ofstream out(path, std::ios::binary);
    const std::string image = test::AkafujiImage();
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
  }
  auto r = RunTool("records akafuji " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "NO.   先手         後手        棋戦                 戦型\n"
            "  1 羽生         谷川         名人戦               四間飛車\n"
            "  2 ABC          x高          王将戦               矢倉\n"
            "  3                                                \n");
  r = RunTool("read akafuji " + path + " --record 2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "start: lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\n"
            "moves: 2g2f 8c8d\n"
            "times: 0 0\n"
            "result: 2\n"
            "sente: ABC\n"
            "gote: x高\n"
            "tournament: 王将戦\n"
            "opening: 矢倉\n");
  r = RunTool("read akafuji " + path + " --record 3");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ファイルに異常があります。\n");
  r = RunTool("records akafuji " + folder.Path() + "none.sin");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ファイルがオープン出来ません。\n");
}

// A Kaya file built game by game: new, in front of the others, in place of one; the list
// and the games by number; a game without its times.
TEST(ReadTool, WritesAndReadsKayaFiles) {
  const test::TempFolder folder;
  const std::string kaya = folder.Path() + "games.kay";
  ASSERT_EQ(RunTool("convert kif " + kData + "/kif/even.kif kaya " + kaya).status, 0);
  auto r = RunTool("convert kif " + kData + "/kif/handicap_2.kif kaya " + kaya + " --append");
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunTool("records kaya " + kaya);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "NO. 先手                   後手                   棋戦");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);
  const std::string even = RunTool("read kif " + kData + "/kif/even.kif").out;
  const auto moves = [](const std::string& out) {
    return out.substr(out.find("moves:"), out.find("\ntimes:") - out.find("moves:"));
  };
  EXPECT_EQ(moves(RunTool("read kaya " + kaya + " --record 2").out), moves(even));
  ASSERT_EQ(RunTool("convert kif " + kData + "/kif/even.kif kaya " + kaya + " --replace 1").status,
            0);
  EXPECT_EQ(moves(RunTool("read kaya " + kaya).out), moves(even));
  r = RunTool("convert kif " + kData + "/kif/even.kif kaya " + kaya + " --replace 3");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "該当レコードが見つかりません。\n");

  ASSERT_EQ(RunTool("convert kif " + kData + "/kif/even.kif kif " + folder.Path() +
                    "plain.kif --no-times")
                .status,
            0);
  EXPECT_EQ(FileBytes(folder.Path() + "plain.kif"), FileBytes(kData + "/kif/even_no_times.kif"));
}

}  // namespace
}  // namespace shogi
