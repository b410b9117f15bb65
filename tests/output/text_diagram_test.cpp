// The text diagrams and the standard record, line by line.
#include "output/text_diagram.h"

#include <gtest/gtest.h>

#include "tests/output/output_test_util.h"

namespace shogi::test {
namespace {

using test::MakeRecord;
using Lines = std::vector<std::string>;

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

Lines Slice(const Lines& lines, std::size_t from, std::size_t count) {
  if (from >= lines.size()) return {};
  return Lines(lines.begin() + static_cast<std::ptrdiff_t>(from),
               lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), from + count)));
}

TEST(StandardDiagram, StartPositionHasNoCaptionAndNoMoveColumn) {
  const Lines expected = {
      "後手  後手花子",
      "持駒  なし",
      "",
      "  ９ ８ ７ ６ ５ ４ ３ ２ １",
      "+---------------------------+",
      "|v香v桂v銀v金v玉v金v銀v桂v香|一",
      "| ・v飛 ・ ・ ・ ・ ・v角 ・|二",
      "|v歩v歩v歩v歩v歩v歩v歩v歩v歩|三",
      "| ・ ・ ・ ・ ・ ・ ・ ・ ・|四",
      "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五",
      "| ・ ・ ・ ・ ・ ・ ・ ・ ・|六",
      "| 歩 歩 歩 歩 歩 歩 歩 歩 歩|七",
      "| ・ 角 ・ ・ ・ ・ ・ 飛 ・|八",
      "| 香 桂 銀 金 玉 金 銀 桂 香|九",
      "+---------------------------+",
      "先手  先手太郎",
      "持駒  なし",
      "",
      "",
  };
  EXPECT_EQ(Utf8Lines(StandardDiagram(PlayedGame(""))), expected);
}

TEST(StandardDiagram, ThreeMovesFillRanksThreeToFiveOnly) {
  const Lines lines = Utf8Lines(StandardDiagram(PlayedGame("7g7f 3c3d 2g2f")));
  EXPECT_EQ(lines[0], "先手3手目２六歩");
  EXPECT_EQ(lines[1], "");
  const Lines rows = Slice(lines, 7, 9);
  const Lines column = {"", "", "  ▲７六歩", "  ▽３四歩", "  ▲２六歩", "", "", "", ""};
  for (int rank = 1; rank <= 9; ++rank) {
    const std::string& row = rows[rank - 1];
    // "|", nine cells of three bytes, "|", the numeral: 29 bytes of ASCII and full-width.
    EXPECT_EQ(Utf8(Cp932(row).substr(Cp932("|").size() + 27 + 1 + 2)), column[rank - 1]) << row;
  }
}

TEST(StandardDiagram, HandTextsListKindsFromRookDownAndPrintCounts) {
  struct Case {
    const char* sfen;
    const char* sente;
    const char* gote;
  };
  const Case cases[] = {
      {"4k4/9/9/9/9/9/9/9/4K4 b - 1", "持駒  なし", "持駒  なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b G2S3P 1", "持駒  金,銀2,歩3", "持駒  なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 18P2r 1", "持駒  歩18", "持駒  飛2"},
      {"4k4/9/9/9/9/9/9/9/4K4 b RBGSNLP 1", "持駒  飛,角,金,銀,桂,香,歩", "持駒  なし"},
  };
  for (const Case& c : cases) {
    const Position pos = test::FromSfen(c.sfen).pos;
    EXPECT_EQ(Utf8(HandText(pos, kFirst)), c.sente) << c.sfen;
    EXPECT_EQ(Utf8(HandText(pos, kSecond)), c.gote) << c.sfen;
  }
}

TEST(StandardDiagram, CaptureOnThePreviousSquareIsCaptionedWithDou) {
  const GameRecord record = PlayedGame(kMiddleGameUsi);
  EXPECT_EQ(Utf8(LastMoveCaption(record)), "後手24手目同金");
  const Lines lines = Utf8Lines(StandardDiagram(record));
  EXPECT_EQ(lines[2], "後手  後手花子");
  EXPECT_EQ(lines[3], "持駒  角2,歩");
  EXPECT_EQ(lines[7], "|v香v桂v銀v金v玉 ・ ・v桂v香|一  ▽４四歩");
  EXPECT_EQ(lines[11], "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五  ▽同　金");
}

TEST(StandardDiagram, HandicapGamesNameTheSidesUpperAndLower) {
  GameRecord record =
      MakeRecord("lnsgkgsnl/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", "3c3d 7g7f");
  record.PlyCount = 3;
  EXPECT_EQ(Utf8(LastMoveCaption(record)), "下手2手目７六歩");
  const Lines lines = Utf8Lines(StandardDiagram(record));
  EXPECT_EQ(lines[2].substr(0, std::string("上手").size()), "上手");
  EXPECT_EQ(lines[17].substr(0, std::string("下手").size()), "下手");
  EXPECT_EQ(Utf8Lines(StandardRecordText(record))[0], "上手：人間");
}

TEST(MailDiagram, CaptionHasOneLineEndAndTheClosingLineNamesTheLastMove) {
  struct Case {
    const char* usi;
    const char* first_line;
    const char* closing;
  };
  const Case cases[] = {
      {"", "後手  後手花子", "手数＝0"},
      {"7g7f 3c3d 2g2f", "先手3手目２六歩", "手数＝3　▲２六歩まで"},
      {kMiddleGameUsi, "後手24手目同金", "手数＝24　△同金まで"},
  };
  for (const Case& c : cases) {
    const Lines lines = Utf8Lines(MailDiagram(PlayedGame(c.usi)));
    EXPECT_EQ(lines.front(), c.first_line) << c.usi;
    if (*c.usi != '\0') {
      EXPECT_EQ(lines[1], "後手  後手花子") << c.usi;
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3].rfind("持駒  ", 0), 0u) << c.usi;
    EXPECT_EQ(lines[lines.size() - 2], "") << c.usi;
    EXPECT_EQ(lines.back(), c.closing) << c.usi;
  }
}

TEST(MoritaDiagram, TitleCountsWithAFullWidthDigit) {
  struct Case {
    int counter;
    const char* usi;
    const char* title;
  };
  const Case cases[] = {
      {0, "", "      【第１図】"},
      {8, "7g7f", "      【第９図は・７六歩まで】"},
      {9, "7g7f", "      【第０図は・７六歩まで】"},
      {10, kMiddleGameUsi, "      【第１図は・３二同金まで】"},
  };
  for (const Case& c : cases) {
    const Lines lines = Utf8Lines(MoritaDiagram(PlayedGame(c.usi), c.counter));
    EXPECT_EQ(lines[0], c.title) << c.counter;
    EXPECT_EQ(lines[1], "") << c.counter;
  }
}

TEST(MoritaDiagram, HandsRunDownTheEdgesAndTheGridLinesUp) {
  const Lines lines = Utf8Lines(MoritaDiagram(PlayedGame(kMiddleGameUsi), 0));
  ASSERT_EQ(lines.size(), 2u + 21u + 1u);
  std::string sente, gote;
  for (int i = 0; i < 21; ++i) {
    const std::string line = Cp932(lines[2 + i]);
    // Every grid line is 44 bytes: a hand character, 20 full-width characters, a hand character.
    EXPECT_EQ(line.size(), 44u) << lines[2 + i];
    sente += line.substr(42, 2);
    gote = line.substr(0, 2) + gote;
  }
  // 42 bytes each: the label lines padded with full-width spaces.
  EXPECT_EQ(Utf8(sente), "　  ・先手  歩" + Repeat("　", 14));
  EXPECT_EQ(Utf8(gote), "　  ・・・  角二歩" + Repeat("　", 12));
  EXPECT_EQ(lines[2 + 2], "　・キ・ケ・ギ・ン・オ・　・　・ケ・キ・一・");
}

TEST(KayaDiagram, HandsAreWrittenDownTheEdgesAndTheLastMovesAsDigits) {
  const Lines lines = Utf8Lines(KayaDiagram(PlayedGame(kMiddleGameUsi)));
  const Lines expected = {
      "・・・・・・・・・・・・",
      "・     左図は後手24手目同金まで",
      "角きけぎんお・・けき一歩",
      "２・・・・・・んぎ・二　  ▽４四歩",
      "歩ふ・ふふふ・・ふふ三　  ▲４三角成",
      "　・ひ・・・ふふ・・四　  ▽４二金",
      "　・・・・・・・・・五　  ▲３二馬",
      "　・・歩・・・・飛・六　  ▽同　金",
      "　歩歩・歩歩歩歩・歩七　",
      "　・・・・・・・・・八　  後手  後手花子",
      "　香桂銀金玉金銀桂香九　  先手  先手太郎",
      "@@20: 4344 6543+4142 4332 4232",
      "",
      "",
  };
  EXPECT_EQ(lines, expected);
}

TEST(KayaDiagram, EmptyHandsAreTwoDotsAndDropsStartWithZero) {
  const Lines lines = Utf8Lines(KayaDiagram(PlayedGame("")));
  EXPECT_EQ(lines[1], "・きけぎんおんぎけき一・");
  EXPECT_EQ(lines[2], "・・ひ・・・・・か・二・");
  EXPECT_EQ(lines[3], "　ふふふふふふふふふ三　");
  EXPECT_EQ(lines[10], "@@1:");  // no move: the digit line all the same
  const GameRecord dropped = PlayedGame("7g7f 3c3d 8h2b+ 3a2b B*4e");
  EXPECT_EQ(Utf8Lines(KayaDiagram(dropped))[11], "@@1: 7776 3334 8822+3122 0645");
}

TEST(MergedDiagram, KayaGridAndStandardDiagramShareTheirRows) {
  const Lines lines = Utf8Lines(MergedDiagram(PlayedGame(kMiddleGameUsi)));
  EXPECT_EQ(lines[0], "図は後手24手目同金まで");
  EXPECT_EQ(lines[1], "後手  後手花子          持駒  角2,歩");
  EXPECT_EQ(lines[2], "                                ９ ８ ７ ６ ５ ４ ３ ２ １");
  EXPECT_EQ(lines[3], "    ・・・・・・・・・・      +---------------------------+");
  EXPECT_EQ(lines[4], "角  きけぎんお・・けき一  歩  |v香v桂v銀v金v玉 ・ ・v桂v香|一  ▽４四歩");
  for (int row = 4; row < 13; ++row) EXPECT_EQ(Cp932(lines[row]).find('|'), 30u) << lines[row];
  EXPECT_EQ(lines[13], "                              +---------------------------+");
  EXPECT_EQ(lines[14], "先手  先手太郎          持駒  歩");
  EXPECT_EQ(lines[15], "@@20: 4344 6543+4142 4332 4232");
}

// The dragon is 竜 in the standard, mail and merged diagrams; the Kaya grids draw the Kaya
// file's cells. Each diagram's rank-one row, from the cells on.
TEST(TextDiagrams, TheDragonIsWrittenInEachDiagramsOwnLetters) {
  GameRecord record = MakeRecord("+R3k4/9/9/9/9/9/9/9/4K3+r w - 1");
  record.PlyCount = 1;
  const struct {
    std::string (*diagram)(const GameRecord&);
    std::size_t line;
    const char* row;
  } cases[] = {
      {StandardDiagram, 5, "| 竜 ・ ・ ・v玉 ・ ・ ・ ・|一"},
      {MailDiagram, 5, "| 竜 ・ ・ ・v玉 ・ ・ ・ ・|一"},
      {MergedDiagram, 3, "・  龍・・・お・・・・一  ・  | 竜 ・ ・ ・v玉 ・ ・ ・ ・|一"},
      {KayaDiagram, 1, "・龍・・・お・・・・一・"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8Lines(c.diagram(record))[c.line], c.row) << c.row;
}

TEST(StandardRecord, SixMovesALineAndTheResultLine) {
  GameRecord record = PlayedGame(kMiddleGameUsi);
  record.ResultCode = kResultSecondWins;
  const Lines expected = {
      "先手：先手太郎",
      "後手：後手花子",
      "",
      "▲７六歩    △３四歩    ▲２二角成  △同　銀    ▲２六歩    △８四歩    ",
      "▲２五歩    △８五歩    ▲２四歩    △同　歩    ▲同　飛    △２三歩    ",
      "▲２六飛    △８六歩    ▲同　歩    △同　飛    ▲８七歩    △８四飛    ",
      "▲６五角    △４四歩    ▲４三角成  △４二金    ▲３二馬    △同　金    ",
      "まで24手、後手花子勝ち",
      "",
      "",
  };
  EXPECT_EQ(Utf8Lines(StandardRecordText(record)), expected);
}

TEST(StandardRecord, ResultLinesByResultCode) {
  const char* const expected[kResultCodeCount] = {"",
                                                  "まで3手、先手太郎勝ち",
                                                  "まで3手、後手花子勝ち",
                                                  "まで3手、千日手",
                                                  "まで3手、持将棋",
                                                  "以下、先手太郎勝ち",
                                                  "以下、後手花子勝ち",
                                                  "以下、千日手",
                                                  "以下、持将棋"};
  for (int code = 0; code < kResultCodeCount; ++code) {
    GameRecord record = PlayedGame("7g7f 3c3d 2g2f");
    record.ResultCode = code;
    const Lines lines = Utf8Lines(StandardRecordText(record));
    EXPECT_EQ(lines[3], "▲７六歩    △３四歩    ▲２六歩    ") << code;
    EXPECT_EQ(lines[4], expected[code]) << code;
  }
}

TEST(StandardRecord, StopsAfterListIndexThreeHundredAndLeavesGotesFirstCellBlank) {
  std::string usi;
  for (int i = 0; i < 80; ++i) usi += "5i5h 5a5b 5h5i 5b5a ";
  GameRecord record = MakeRecord("startpos", usi);
  const Lines lines = Utf8Lines(StandardRecordText(record));
  // Indices 0..300: fifty full lines and one with the cell of index 300.
  ASSERT_EQ(lines.size(), 3u + 51u + 2u);
  EXPECT_EQ(lines[3 + 50], "▲５八玉    ");

  GameRecord gote_first =
      MakeRecord("lnsgkgsnl/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", "3c3d 7g7f");
  EXPECT_EQ(Utf8Lines(StandardRecordText(gote_first))[3], "            △３四歩    ▲７六歩    ");
}

TEST(TextDiagrams, CrLfLineEnds) {
  EXPECT_EQ(WithCrLf("a\nb\n\n"), "a\r\nb\r\n\r\n");
  EXPECT_EQ(WithCrLf("no end"), "no end");
}

}  // namespace
}  // namespace shogi::test
