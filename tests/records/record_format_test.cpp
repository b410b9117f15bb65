// The table of record formats: the dialogs' lists, the tool names and the readers and
// writers reached through it.
#include "records/record_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "records/csa.h"
#include "records/hshogi.h"
#include "records/kif.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

TEST(RecordFormats, ListTheDialogsEntriesInTheirOrder) {
  const std::vector<std::string> open = {"森田将棋・Ostel",
                                         "柿木将棋",
                                         "永世名人",
                                         "かや",
                                         "赤富士",
                                         "ＣＳＡ",
                                         "Shotest,SPEAR,Shocky",
                                         "野下研(S1.n)",
                                         "福将棋",
                                         "棋太平（平手のみ）",
                                         "丸山将棋（平手のみ）",
                                         "大槻将棋（平手のみ）",
                                         "謎的電棋（平手のみ）",
                                         "Shokidoki（平手のみ）",
                                         "Ｈ将棋",
                                         "天野将棋1994,1996",
                                         "AI Shogi V.150",
                                         "神無 無段",
                                         "ＯＭ－１",
                                         "S1(1996年度)",
                                         "スーパー将棋(1996年度)",
                                         "関田将棋(1994年度)",
                                         "JSON棋譜(JKF)"};
  const std::vector<std::string> save = {"森田将棋・Ostel", "柿木将棋",     "永世名人", "かや",
                                         "ＣＳＡ",          "JSON棋譜(JKF)"};
  struct List {
    const std::vector<std::string>& texts;
    const RecordFormatRow* (*row)(int);
    int size;
  };
  for (const List& list :
       {List{open, OpenListRow, OpenListSize()}, List{save, SaveListRow, SaveListSize()}}) {
    ASSERT_EQ(list.size, static_cast<int>(list.texts.size()));
    for (int i = 0; i < list.size; ++i) {
      ASSERT_NE(list.row(i), nullptr) << i;
      EXPECT_EQ(list.row(i)->ListText, list.texts[i]) << i;
    }
    EXPECT_EQ(list.row(-1), nullptr);
    EXPECT_EQ(list.row(list.size), nullptr);
  }
  EXPECT_EQ(OpenListRow(1)->Format, RecordFormat::kKif);
  EXPECT_EQ(OpenListRow(5)->Format, RecordFormat::kCsa);
  EXPECT_EQ(SaveListRow(4)->Format, RecordFormat::kCsa);
}

TEST(RecordFormats, FormatsWithoutAReaderOrWriterAreUnsupported) {
  const test::TempFolder dir;
  GameRecord r = test::SentinelRecord();
  std::string message;
  // Every format without a reader of one game a file answers alike.
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.Read != nullptr) continue;
    message.clear();
    EXPECT_EQ(ReadRecord(row.Format, test::TestDataPath("kif/even.kif"), r, message), 1);
    EXPECT_EQ(message, "この棋譜形式はサポートしてません。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
  message.clear();
  EXPECT_EQ(WriteRecord(RecordFormat::kShotest, dir.Path() + "x.txt", r, true, message), 1);
  EXPECT_EQ(message, "この棋譜形式はサポートしてません。");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "x.txt"));
}

// Every readable format reads each of its test files (tests/data/<tool name>) alike from the path
// and from a stream; a missing file is reported the same way by all; a writer writes its bytes.
TEST(RecordFormats, PathStreamAndWriterEntriesAgree) {
  const test::TempFolder dir;
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.Read == nullptr) continue;
    SCOPED_TRACE(row.ToolName);
    int files = 0;
    // The test files of a format are in the folder of its tool name; a format without a
    // fixed extension takes every file there.
    const std::filesystem::path folder = test::TestDataPath(row.ToolName);
    const std::string extension = row.Extension;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (!extension.empty() && entry.path().extension() != "." + extension) continue;
      ++files;
      GameRecord by_path = test::SentinelRecord(), by_stream = test::SentinelRecord();
      by_path.Year = by_stream.Year = 1;
      std::string message;
      ASSERT_EQ(ReadRecord(row.Format, entry.path().string(), by_path, message), 0)
          << entry.path() << message;
      // The date is the file's, or none: never the one of the record shown before.
      EXPECT_NE(by_path.Year, 1) << entry.path();
      const std::string bytes = test::FileBytes(entry.path().string());
      MemoryByteStream stream(bytes);
      ASSERT_EQ(row.ReadStream(stream, by_stream, message), 0) << entry.path();
      if (row.Format == RecordFormat::kFuku) {
        // The file name, which only the path gives, names the program's side.
        std::memcpy(by_stream.FirstName, by_path.FirstName, sizeof by_stream.FirstName);
        std::memcpy(by_stream.SecondName, by_path.SecondName, sizeof by_stream.SecondName);
      }
      EXPECT_TRUE(SameRecord(by_path, by_stream)) << entry.path();
      if (row.Write == nullptr || row.FormatBytes == nullptr) continue;
      std::string formatted;
      ASSERT_EQ(row.FormatBytes(by_path, true, formatted, message), 0);
      ASSERT_EQ(WriteRecord(row.Format, dir.Path() + "out", by_path, true, message), 0);
      EXPECT_EQ(test::FileBytes(dir.Path() + "out"), formatted) << entry.path();
    }
    EXPECT_GT(files, 0);
    GameRecord r = test::SentinelRecord();
    std::string message;
    EXPECT_EQ(ReadRecord(row.Format, dir.Path() + "none", r, message), 1);
    // The Palm file has a message of its own.
    EXPECT_EQ(message, row.Format == RecordFormat::kPalm ? "ファイルが開けません。"
                                                         : "指定ファイルが存在しません。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
}

// Reads `bytes` with the stream reader of `format` into a copy of SentinelRecord().
int ReadBytes(RecordFormat format, const std::string& bytes, GameRecord& r, std::string& message) {
  r = test::SentinelRecord();
  MemoryByteStream stream(bytes);
  return RecordFormatRowOf(format).ReadStream(stream, r, message);
}

// A reader given a file of another format fails with its message and leaves the record,
// also where the file shares a few lines with its format (names, a board, an end word).
// Every reader gets kif/even.kif, or the file of a format close to its own.
TEST(RecordFormats, EveryReaderRefusesAFileOfAnotherFormat) {
  using F = RecordFormat;
  const std::map<RecordFormat, const char*> neighbours = {
      {F::kMorita, "kif/other_diagram.kif"}, {F::kKif, "csa/even.csa"},
      {F::kEisei, "csa/even.csa"},           {F::kCsa, "eisei/even.kif"},
      {F::kShotest, "s1-1996/game.txt"},     {F::kOm1, "amano/game.txt"},
      {F::kS1Year1996, "ki2/game.ki2"},      {F::kSuperShogi, "ki2/game.ki2"},
      {F::kSekita, "kif/no_moves.kif"}};
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.ReadStream == nullptr) continue;
    const auto neighbour = neighbours.find(row.Format);
    const char* file = neighbour == neighbours.end() ? "kif/even.kif" : neighbour->second;
    GameRecord r;
    std::string message;
    EXPECT_EQ(ReadBytes(row.Format, test::TestData(file), r, message), 1) << row.ToolName;
    EXPECT_EQ(message, row.Format == F::kHShogi ? kMessageNotHShogi
                       : row.Format == F::kPalm ? kMessageOtherFormat
                                                : kMessageMalformed)
        << row.ToolName;
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord())) << row.ToolName;
  }
}

// Each reader takes only moves that can be played where the record stands, and keeps the
// fouls of real games: two pawns in a file, a king left in check.
TEST(RecordFormats, ReadersTakeOnlyMovesThatCanBePlayed) {
  using F = RecordFormat;
  // The KIF and CSA texts of a position up to its moves, and KI2 moves after the names.
  const auto kif = [](const char* sfen, const char* line) {
    return FormatKif(test::MakeRecord(sfen, ""), false) + test::Lines({line});
  };
  const auto csa = [](const char* sfen, const std::string& moves) {
    std::string bytes, message;
    EXPECT_EQ(FormatCsa(test::MakeRecord(sfen, ""), false, bytes, message), 0);
    return bytes.substr(0, bytes.rfind("%CHUDAN")) + moves;
  };
  const auto ki2 = [](const std::string& moves) {
    return test::Lines({"先手：a", "後手：b", moves});
  };
  // After these moves the first player's bishop can take the second player's king on 4四.
  const std::string csa_king_walk =
      "+7776FU\n-5354FU\n+2726FU\n-5152OU\n+2625FU\n-5253OU\n+2524FU\n-5344OU\n";
  const std::string ki2_king_walk =
      "▲７六歩 △５四歩 ▲２六歩 △５二玉 ▲２五歩 △５三玉 ▲２四歩 △４四玉";
  // After these the first player holds a pawn.
  const std::string csa_pawn_won =
      "+2726FU\n-8384FU\n+2625FU\n-8485FU\n+2524FU\n-2324FU\n+2824HI\n-5152OU\n";
  const std::string ki2_pawn_won =
      "▲２六歩 △８四歩 ▲２五歩 △８五歩 ▲２四歩 △同　歩 ▲同　飛 △５二玉";
  const struct {
    RecordFormat format;
    std::string text;
    int count;  // moves read, or -1 when the file is refused
  } cases[] = {
      {F::kKif, kif("startpos", "   1 ５五歩(55)"), -1},  // nothing on the origin
      {F::kKif, kif("startpos", "   1 ５五飛打"), -1},    // no rook in hand
      {F::kKif, kif("startpos", "   1 ３四歩(33)"), -1},  // the opponent's pawn
      {F::kKif, kif("4k4/9/9/9/9/9/9/9/3KR4 b - 1", "   1 ５一飛(59)"), -1},  // takes the king
      {F::kKif, kif("4k4/9/9/9/9/9/9/9/3KR4 b - 1", "   1 ５二飛(59)"), 1},
      {F::kKif, kif("4k4/9/9/9/9/9/4P4/9/4K4 b - 1", "   1 ５六歩成(57)"), -1},  // outside the zone
      {F::kKif, kif("4k4/9/9/9/9/9/4P4/9/4K4 b - 1", "   1 ５六歩(57)"), 1},
      {F::kKif, kif("4k4/9/9/9/9/9/9/9/4K4 w - 1", "   1 ５八玉(59)"),
       -1},  // the first player's king
      {F::kKif, kif("4k4/9/9/9/9/9/9/9/4K4 w - 1", "   1 ５二玉(51)"), 1},
      {F::kKif, kif("4k4/9/9/9/9/9/4P4/9/4K4 b P 1", "   1 ５五歩打"), 1},
      {F::kKif, kif("4k4/9/9/9/4r4/9/9/4G4/4K4 b - 1", "   1 ４七金(58)"), 1},
      {F::kCsa, csa("startpos", "+0012KI\n"), -1},  // a drop from an empty hand
      {F::kCsa, csa("startpos", "+7775FU\n"), -1},  // a pawn does not move two squares
      {F::kCsa, csa("startpos", "+7776TO\n"), -1},  // a promotion outside the zone
      {F::kCsa, csa("startpos", csa_king_walk + "+8844KA\n"), -1},  // takes the king
      {F::kCsa, csa("startpos", csa_king_walk + "+8855KA\n"), 9},
      {F::kCsa, csa("startpos", csa_pawn_won + "+0055FU\n"), 9},
      {F::kCsa, csa("startpos", csa_pawn_won + "+0057FU\n"), -1},  // onto a piece
      {F::kCsa, csa("4k4/9/9/9/4r4/9/9/4G4/4K4 b - 1", "+5847KI\n"), 1},
      {F::kCsa, csa("4k4/9/1N7/9/9/9/9/9/4K4 b - 1", "+8391KE\n"), -1},  // a knight must promote
      {F::kCsa, csa("4k4/9/1N7/9/9/9/9/9/4K4 b - 1", "+8391NK\n"), 1},
      {F::kKi2, ki2("▲５五歩"), -1},  // no pawn reaches 5五 and none is in hand
      {F::kKi2, ki2("▲５五飛打"), -1},
      {F::kKi2, ki2("▲７五歩"), -1},
      {F::kKi2, ki2(ki2_king_walk + " ▲４四角"), -1},
      {F::kKi2, ki2(ki2_king_walk + " ▲５五角"), 9},
      {F::kKi2, ki2(ki2_pawn_won + " ▲５五歩"), 9},
      {F::kKi2, ki2(ki2_pawn_won + " ▲５七歩打"), -1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    GameRecord r;
    std::string message;
    const int rc = ReadBytes(cases[i].format, cases[i].text, r, message);
    test::ExpectReadOutcome(rc, r, message, cases[i].count, "case " + std::to_string(i));
  }
}

// Files of other programs that read well are refused when spoilt in one place (`from`, in
// UTF-8, replaced by `to`), the record left alone.
TEST(RecordFormats, ReadersRefuseAReadableFileSpoiltInOnePlace) {
  using F = RecordFormat;
  const struct {
    RecordFormat format;
    const char* file;
    const char* from;
    const char* to;
  } cases[] = {
      {F::kKif, "kif/other_program.kifu", "２二角不成(88)", "２二角不成(87)"},  // nothing on 8七
      {F::kKif, "kif/other_program.kifu", "同銀(31)", "同銀(32)"},
      {F::kKif, "kif/other_program.kifu", "４五角打", "４五飛打"},     // no rook in hand
      {F::kKif, "kif/diagram_without_handicap.kifu", "|V香", "|V犬"},  // no such piece
      {F::kKif, "kif/diagram_without_handicap.kifu", "| ・ ・ ・ ・ ・ ・ ・ ・ ・|八\n",
       ""},                                              // 8 ranks
      {F::kCsa, "csa/v3_utf8.csa", "PI22KA", "PI22HI"},  // no rook on 2二
      {F::kCsa, "csa/v3_utf8.csa", "PI22KA", "PI22K"},
      {F::kCsa, "csa/v3_utf8.csa", "-4132KI", "-4132KA"},
      {F::kCsa, "csa/v3_utf8.csa", "T2,+7776FU", "T2,-7776FU"},
      {F::kCsa, "csa/several_records.csa", "-3334FU", "-3335FU"},
      // A mark for the wrong side, the giver moving first, a relative word that leaves two
      // golds, a word that fits none, a handicap we do not know.
      {F::kKi2, "ki2/handicap_gote_first.ki2u", "△８二玉", "▲８二玉"},
      {F::kKi2, "ki2/handicap_gote_first.ki2u", "△３四歩    ▲７六歩", "▲７六歩    △３四歩"},
      {F::kKi2, "ki2/handicap_gote_first.ki2u", "▲５八金右", "▲５八金  "},
      {F::kKi2, "ki2/handicap_gote_first.ki2u", "▲５八金右", "▲５八金引"},
      {F::kKi2, "ki2/handicap_gote_first.ki2u", "手合割：香落ち", "手合割：七枚落ち"},
  };
  for (const auto& c : cases) {
    GameRecord r;
    std::string message;
    const int rc = ReadBytes(c.format, test::ChangedTestData(c.file, c.from, c.to), r, message);
    test::ExpectReadOutcome(rc, r, message, -1, std::string(c.file) + ": " + c.from);
  }
}

// The bytes past a reader's line limit are dropped up to the line end: a long comment or
// header line stays what it is, and its tail, here a move, is never read as a line. A line
// of moves cut at the limit is refused (-1), since the cut may split a move.
TEST(RecordFormats, TheRestOfALineLongerThanTheLimitIsDropped) {
  using F = RecordFormat;
  const std::string pad(4096, 'x');
  const auto cut = [&](std::size_t limit, const char* head, const char* tail) {
    return test::Cp(head) + pad.substr(0, limit - test::Cp(head).size()) + test::Cp(tail);
  };
  std::string shuffle;  // 52 moves of the kings, 260 bytes
  for (int i = 0; i < 13; ++i) shuffle += "5958 5152 5859 5251 ";
  const struct {
    RecordFormat format;
    std::string text;
    int moves;  // -1: refused
  } cases[] = {
      {F::kKif,
       test::Lines({"#KIF", "手合割：平手", "手数----指手---------消費時間--", "   1 ７六歩(77)"}) +
           cut(2047, "*", "   2 ３四歩(33)") + "\r\n",
       1},
      {F::kCsa,
       "N+a\r\nN-b\r\nPI\r\n+\r\n+7776FU\r\n" + cut(255, "'", "-3334FU") + "\r\n%TORYO\r\n", 1},
      {F::kCsa, "PI\r\n+\r\n+7776FU,T1" + cut(245, ",T2", ",-3334FU") + "\r\n", -1},
      {F::kKi2, test::Lines({"先手：a", "後手：b", "▲７六歩"}) + cut(255, "*", "△３四歩") + "\r\n",
       1},
      {F::kKi2,
       test::Lines({"先手：a", "後手：b"}) + cut(255, "▲７六歩 △３四歩 ", "▲２六歩") + "\r\n", -1},
      {F::kKitaihei, test::Lines({"▲７六歩"}) + cut(255, "*", "△３四歩") + "\r\n", 1},
      {F::kMorita, test::Lines({"▲７六歩"}) + cut(255, "*", "△３四歩") + "\r\nMAKE\r\n", 1},
      {F::kEisei, "+\r\n1 5\r\n" + cut(255, "a", "7776 ") + "\r\n", 0},
      {F::kKaya, "##\r\n#:t\r\n" + cut(255, "S:", "K:7776 ") + "\r\n", 0},
      {F::kKaya, "##\r\n#:t\r\nK:" + shuffle + "\r\n", -1},
  };
  for (const auto& c : cases) {
    GameRecord r;
    std::string message;
    test::ExpectReadOutcome(ReadBytes(c.format, c.text, r, message), r, message, c.moves,
                            RecordFormatRowOf(c.format).ToolName);
  }
}

// The end words of other programs' KIF and KI2 files end the game: 封じ手 (an adjourned
// game) without a result, 不戦勝 and 不戦敗 by the side to move; a word we do not know where
// the next move would be ends it without a result, unless a move follows it.
TEST(RecordFormats, KakinokiEndWordsOfOtherProgramsEndTheGame) {
  using F = RecordFormat;
  const std::string kif = test::Lines({"#KIF", "手合割：平手", "手数----指手---------消費時間--",
                                       "   1 ７六歩(77)", "   2 ３四歩(33)"});
  const struct {
    RecordFormat format;
    std::string text;
    int result;  // -1: the file is refused
  } cases[] = {
      {F::kKif, kif + test::Lines({"   3 封じ手", "   3 ２六歩(27)"}), kResultNone},
      {F::kKif, kif + test::Lines({"   3 不戦勝"}), kResultFirstWins},
      {F::kKif, kif + test::Lines({"   3 不戦敗"}), kResultSecondWins},
      {F::kKif, kif + test::Lines({"   3 入玉宣言", "", "*comment"}), kResultNone},
      {F::kKif, kif + test::Lines({"   3 入玉宣言", "   4 ２六歩(27)"}), -1},
      {F::kKif, kif + test::Lines({"   3 7六歩(77)"}), -1},
      {F::kKi2, test::Lines({"▲７六歩 △３四歩 ▲封じ手"}), kResultNone},
      {F::kKi2, test::Lines({"▲７六歩 △３四歩 ▲不戦敗"}), kResultSecondWins},
      {F::kKi2, test::Lines({"▲７六歩 △３四歩 ▲入玉宣言"}), kResultNone},
      {F::kKi2, test::Lines({"▲７六歩 △３四歩 ▲入玉宣言", "△８四歩"}), -1},
  };
  for (const auto& c : cases) {
    GameRecord r;
    std::string message;
    const std::string trace = Utf8(c.text);
    test::ExpectReadOutcome(ReadBytes(c.format, c.text, r, message), r, message,
                            c.result < 0 ? -1 : 2, trace);
    if (c.result >= 0) {
      EXPECT_EQ(r.ResultCode, c.result) << trace;
    }
  }
}

// A promotion mark on a piece that is promoted already is dropped: the move is read as the
// plain move of that piece, by every reader that reads the mark.
TEST(RecordFormats, APromotionMarkOnAPromotedPieceIsDropped) {
  using F = RecordFormat;
  const std::string head = test::Lines({"#KIF", "手合割：平手", "手数----指手---------消費時間--"});
  std::string kif = head, sekita = head;  // 関田将棋 writes the moves one column to the right
  for (const char* line : {"   1 ７六歩(77)", "   2 ３四歩(33)", "   3 ２二角成(88)",
                           "   4 ４二銀(31)", "   5 １一馬成(22)"}) {
    kif += test::Lines({line});
    sekita += " " + test::Lines({line});
  }
  const std::pair<RecordFormat, std::string> cases[] = {
      {F::kKif, kif},
      {F::kSekita, sekita},
      {F::kKi2, test::Lines({"▲７六歩 △３四歩 ▲２二角成 △４二銀 ▲１一馬成"})},
      {F::kMorita, "7677\r\n3433\r\n2288N\r\n4231\r\n1122N\r\nBREAK\r\n"},
      {F::kEisei, "+\r\n7776 \r\n3334 \r\n8822N\r\n3142 \r\n2211N\r\n"},
      {F::kKaya, "##\r\n#:t\r\nK:7776 3334 8822+3142 2211+\r\n"},
  };
  for (const auto& [format, text] : cases) {
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes(format, text, r, message), 0) << RecordFormatRowOf(format).ToolName;
    EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d 8h2b+ 3a4b 2b1a") << RecordFormatRowOf(format).ToolName;
  }
}

// The readers of comments and variations refuse damage in them, the record and the tree left
// alone: a JKF file that is no JSON, nests too deep or plays a move that does not fit (on
// the main line or in a fork); a KIF block that branches off a move no line reached.
TEST(RecordFormats, DamagedVariationsAreRefused) {
  using F = RecordFormat;
  const std::string pawn = R"({"move":{"from":{"x":7,"y":7},"to":{"x":7,"y":6},"piece":"FU"}})";
  const std::string leap = R"({"move":{"from":{"x":7,"y":7},"to":{"x":7,"y":5},"piece":"FU"}})";
  const std::string kif = test::Lines({"手合割：平手", "手数----指手---------消費時間--",
                                       "   1 ７六歩(77)", "   2 ３四歩(33)", ""});
  const struct {
    RecordFormat format;
    std::string bytes;
    const char* moves;  // nullptr: refused
  } cases[] = {
      {F::kJkf, R"({"moves":[{},)" + pawn + "]}", "7g7f"},
      {F::kJkf, R"({"moves":[{},)" + pawn, nullptr},
      {F::kJkf,
       R"({"moves":[{},)" + pawn + R"(],"x":)" + std::string(3000, '[') + std::string(3000, ']') +
           "}",
       nullptr},
      {F::kJkf, R"({"moves":[{},)" + leap + "]}", nullptr},
      {F::kJkf,
       R"({"moves":[{},{"move":)" + pawn.substr(8, pawn.size() - 9) + R"(,"forks":[[)" + leap +
           "]]}]}",
       nullptr},
      {F::kJkf, R"({"moves":[{},{"forks":5}]})", nullptr},
      {F::kKif, kif + test::Lines({"変化：2手", "   2 ８四歩(83)"}), "7g7f 3c3d"},
      {F::kKif, kif + test::Lines({"変化：9手", "   9 ８四歩(83)"}), nullptr},
  };
  for (const auto& c : cases) {
    GameRecord r = test::SentinelRecord();
    RecordTree tree;
    tree.StartWithRoot();
    std::string message;
    MemoryByteStream stream(c.bytes);
    const int rc = RecordFormatRowOf(c.format).Notes->Read(stream, false, r, tree, message);
    const std::string trace = Utf8(c.bytes.substr(0, 120));
    if (c.moves == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, trace);
      EXPECT_EQ(tree.Size(), 1) << trace;
    } else {
      ASSERT_EQ(rc, 0) << trace << message;
      EXPECT_EQ(test::UsiMoves(r), c.moves) << trace;
    }
  }
}

}  // namespace
}  // namespace shogi
