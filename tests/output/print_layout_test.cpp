// The pages of the record print and of the diagram print, as plain data.
#include "output/print_layout.h"

#include <gtest/gtest.h>

#include <array>

#include "records/ki2_notation.h"
#include "tests/output/output_test_util.h"

namespace shogi::test {
namespace {

// A record of `plies` plies: both kings stepping forward and back.
GameRecord LongGame(int plies) {
  const char* const steps[4] = {"5i5h", "5a5b", "5h5i", "5b5a"};
  std::string usi;
  for (int i = 0; i < plies; ++i) usi += std::string(steps[i % 4]) + " ";
  return test::MakeRecord("startpos", usi);
}

TEST(RecordPrint, HeaderRowsAndEmptyLinesEveryFiveRows) {
  GameRecord record = PlayedGame(kMiddleGameUsi);
  record.Year = 2026;
  record.Month = 3;
  record.Day = 7;
  CopyCp932Field(record.Tournament, Cp932("王将戦"));
  const auto pages = RecordPrintPages(record, 14);
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<std::string>& p = pages[0];
  EXPECT_EQ(p[0], "先手：先手太郎");
  EXPECT_EQ(p[1], "後手：後手花子");
  EXPECT_EQ(p[2], "棋戦：王将戦");
  EXPECT_EQ(p[3], "日付：2026年 3月 7日");
  EXPECT_EQ(p[4], "戦型：");
  EXPECT_EQ(p[5], "");
  EXPECT_EQ(p[6], "▲７六歩        △３四歩");
  EXPECT_EQ(p[7], "▲２二角成      △同　銀");
  EXPECT_EQ(p[11], "");  // after the fifth row
  EXPECT_EQ(p[12], "▲同　飛        △２三歩");
  // Twelve rows for 24 plies: the row holding the end marker (index 24) is the last.
  EXPECT_EQ(p.size(), 6u + 12u + 2u);
  EXPECT_EQ(p.back(), "▲３二馬        △同　金");
}

TEST(RecordPrint, A150MoveRecordFillsThreeColumnsByTheTextHeight) {
  const GameRecord record = LongGame(150);
  ASSERT_EQ(RecordMoveCount(record), 150);
  struct Case {
    int h;
    std::size_t rows;
    int third_column;
  } cases[] = {{14, 45, 180}, {24, 45, 180}, {25, 35, 140}, {60, 35, 140}};
  for (const Case& c : cases) {
    const auto pages = RecordPrintPages(record, c.h);
    ASSERT_EQ(pages.size(), 1u) << c.h;
    const std::vector<std::string>& p = pages[0];
    // Every row, with an empty line after each fifth.
    EXPECT_EQ(p.size(), 6 + c.rows + c.rows / 5) << c.h;
    const std::string first = Cp932(p[6]);
    // Three columns of two 16-byte fields, four spaces between the columns.
    EXPECT_EQ(first.substr(0, 16), FormatKi2Move(record, 0, Cp932("▲"))) << c.h;
    if (c.third_column < 150) {
      ASSERT_GE(first.size(), 2u * (32 + 4) + 16) << c.h;
      EXPECT_EQ(first.substr(2 * (32 + 4), 16), FormatKi2Move(record, c.third_column, Cp932("▲")))
          << c.h;
    } else {
      EXPECT_LE(first.size(), 2u * (32 + 4)) << c.h;  // the third column is empty
    }
  }
}

TEST(RecordPrint, ALongRecordContinuesOnAnotherPage) {
  const GameRecord record = LongGame(256);
  const auto pages = RecordPrintPages(record, 30);  // 35 rows, 210 entries a page
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(Cp932(pages[1][0]).substr(0, 16), FormatKi2Move(record, 210, Cp932("▲")));
}

TEST(DiagramPrint, CellsAreTheMagnificationInTextLines) {
  const Position pos = test::FromSfen("startpos").pos;
  for (int mag = 1; mag <= 5; ++mag) {
    PrintSettings settings;
    settings.Magnification = mag;
    settings.Title = "【第１図】";
    settings.Comments[0] = "一";
    settings.Comments[2] = "三";
    const int h = 20, c = mag * h;
    const auto pages = DiagramPrintPages(pos, settings, h, 10000, 10000);
    ASSERT_EQ(pages.size(), 1u);
    const DiagramPage& p = pages[0];
    // Ten horizontal lines from (C, 2C + kC) to (10C, 2C + kC) and ten vertical ones.
    ASSERT_EQ(p.Layout.Lines.size(), 20u);
    EXPECT_EQ(p.Layout.Lines[0].X1, c);
    EXPECT_EQ(p.Layout.Lines[0].Y1, 2 * c);
    EXPECT_EQ(p.Layout.Lines[0].X2, 10 * c);
    EXPECT_EQ(p.Layout.Lines[2].Y1, 3 * c);
    EXPECT_EQ(p.Layout.Lines[1].X1, c);
    EXPECT_EQ(p.Layout.Lines[1].Y2, 11 * c);
    EXPECT_EQ(p.Layout.Lines[19].X1, 10 * c);
    // The title indented unless at 1x, the comments one cell apart below the board.
    ASSERT_EQ(p.Texts.size(), 4u);
    EXPECT_EQ(p.Texts[0].X, mag == 1 ? 0 : c - h / 3);
    EXPECT_EQ(p.Texts[1].Y, 11 * mag * h + c);
    EXPECT_EQ(p.Texts[3].Y, 11 * mag * h + 3 * c);
    // The file digits stand in from their cells by the margin of the magnification.
    const int margins[] = {0, 0, h / 2, 3 * h / 4, h, 5 * h / 4};
    EXPECT_EQ(p.Layout.Glyphs[0].Text, "９");
    EXPECT_EQ(p.Layout.Glyphs[0].X, c + margins[mag]);
    EXPECT_EQ(p.Layout.Glyphs[0].Y, c + margins[mag]);
  }
}

TEST(DiagramPrint, ADiagramWiderThanThePageShrinksWithItsCells) {
  PrintSettings settings;
  settings.Magnification = 5;
  settings.Comments[0] = "一";
  // Twelve cells of 5 x 20 would take 1200 across a page of 960: cells of 80.
  const auto pages =
      DiagramPrintPages(test::FromSfen("startpos").pos, settings, 20, 960, 5000);
  ASSERT_EQ(pages.size(), 1u);
  const DiagramPage& p = pages[0];
  EXPECT_EQ(p.Layout.Lines[0].X1, 80);
  EXPECT_EQ(p.Layout.Lines[0].X2, 800);
  EXPECT_EQ(p.Width, 960);
  EXPECT_EQ(p.Texts[1].Y, 12 * 80);
  for (const DiagramGlyph& g : p.Layout.Glyphs) EXPECT_LE(g.X + g.Width, 960) << g.Text;
}

// Long labels and hands: the hands keep to the ten rows beside the board, under the title's
// line (cells of one text line at magnification 1), and no two characters or marks overlap.
TEST(DiagramPrint, LongHandsStayInTheRowsBesideTheBoard) {
  PrintSettings settings;
  settings.Title = "【第１図は２六歩まで】";
  settings.SenteLabel = "▲先手太郎";
  settings.GoteLabel = "▽後手花子";
  const int h = 20;
  for (const char* sfen :
       {"4k4/9/9/9/9/9/9/9/4K4 b RBGSNL2P 1", "4k4/9/9/9/9/9/9/9/4K4 b R2G2S2N2L9Pb2g2s2n2l9p 1"}) {
    const auto pages =
        DiagramPrintPages(test::FromSfen(sfen).pos, settings, h, 10000, 10000);
    std::vector<std::array<int, 4>> boxes;  // left, top, right, bottom
    for (const DiagramGlyph& g : pages[0].Layout.Glyphs)
      boxes.push_back({g.X, g.Y, g.X + g.Width, g.Y + g.Height});
    for (const DiagramMark& m : pages[0].Layout.Marks)
      boxes.push_back({m.X, m.Y, m.X + m.Width, m.Y + m.Height});
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const auto& a = boxes[i];
      EXPECT_TRUE(a[1] >= h && a[3] <= 11 * h) << sfen << " " << i;
      for (std::size_t j = i + 1; j < boxes.size(); ++j) {
        const auto& b = boxes[j];
        EXPECT_FALSE(a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3]) << sfen << i << j;
      }
    }
  }
}

TEST(DiagramPrint, CommentsThatDoNotFitGoOnTheNextPage) {
  PrintSettings settings;
  settings.Magnification = 5;
  for (std::string& c : settings.Comments) c = "コメント";
  const auto pages =
      DiagramPrintPages(test::FromSfen("startpos").pos, settings, 20, 10000, 1300);
  // The board ends at 1100; comments at 1200 (fits) and 1300, 1400 (next page).
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].Texts.size(), 2u);
  ASSERT_EQ(pages[1].Texts.size(), 2u);
  EXPECT_EQ(pages[1].Texts[0].Y, 0);
  EXPECT_EQ(pages[1].Texts[1].Y, 100);
  EXPECT_TRUE(pages[1].Layout.Glyphs.empty());
}

}  // namespace
}  // namespace shogi::test
