// The problem picture: its drawing data, its pixels and its bitmap file.
#include "output/problem_bitmap.h"

#include <gtest/gtest.h>

#include "output/mincho_glyphs.h"
#include "tests/output/output_test_util.h"
#include "tests/support/test_files.h"

namespace shogi::test {
namespace {

using test::FromSfen;

unsigned LittleEndian(const std::string& bytes, std::size_t at, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Whether any pixel of the box is black.
bool AnyBlack(const OneBitPicture& picture, int x, int y, int w, int h) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (picture.IsBlack(i, j)) return true;
  return false;
}

const char* const kPositions[] = {
    "startpos",
    "9/9/9/9/9/9/9/9/9 b - 1",
    "8k/9/9/9/9/9/9/9/K8 b 2R2B4G4S4N4L9P9p 1",
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
};

TEST(ProblemBitmap, TheFileIsAlways4766BytesWithItsFixedHeader) {
  for (const char* sfen : kPositions) {
    const std::string bytes =
        ProblemBitmapBytes(DrawProblem(FromSfen(sfen).pos, kDefaultSenteLabel, kDefaultGoteLabel));
    ASSERT_EQ(bytes.size(), 4766u) << sfen;
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const struct {
      std::size_t at;
      int size;
      unsigned value;
    } fields[] = {{2, 4, 4766}, {6, 4, 0},     {10, 4, 62}, {14, 4, 40},
                  {18, 4, 200}, {22, 4, 168},  {26, 2, 1},  {28, 2, 1},
                  {30, 4, 0},   {34, 4, 4704}, {38, 4, 0},  {42, 4, 0},
                  {46, 4, 0},   {50, 4, 0},    {54, 4, 0},  {58, 4, 0x00FFFFFF}};
    for (const auto& f : fields) EXPECT_EQ(LittleEndian(bytes, f.at, f.size), f.value) << f.at;
    for (int row = 0; row < kProblemHeight; ++row) {
      EXPECT_EQ(bytes.substr(62 + row * 28 + 25, 3), std::string(3, '\0')) << row;
    }
  }
}

TEST(ProblemBitmap, RowsRunFromTheBottomUpAndWhiteIsBitOne) {
  OneBitPicture picture(kProblemWidth, kProblemHeight);
  picture.SetBlack(0, 0);      // top left: the last row of the file, its first bit
  picture.SetBlack(199, 167);  // bottom right: the first row, its 200th bit
  picture.SetBlack(9, 1);
  const std::string bytes = ProblemBitmapBytes(picture);
  const auto row = [&](int file_row) { return bytes.substr(62 + file_row * 28, 25); };
  EXPECT_EQ(static_cast<unsigned char>(row(167)[0]), 0x7F);
  EXPECT_EQ(static_cast<unsigned char>(row(0)[24]), 0xFE);
  EXPECT_EQ(static_cast<unsigned char>(row(166)[1]), 0xBF);
  EXPECT_EQ(row(100), std::string(25, '\xFF'));
}

TEST(ProblemBitmap, WritingReportsThePathAndAFileThatCannotBeMade) {
  test::TempFolder folder;
  const OneBitPicture picture = DrawProblem(FromSfen("startpos").pos, "▲先手", "▽後手");
  std::string message;
  const std::string path = folder.Path() + "kyokumen.bmp";
  ASSERT_EQ(WriteProblemBitmap(path, picture, message), 0);
  EXPECT_EQ(message, path + "を作成しました。");
  EXPECT_EQ(test::FileBytes(path), ProblemBitmapBytes(picture));
  const std::string bad = folder.Path() + "no/such.bmp";
  EXPECT_EQ(WriteProblemBitmap(bad, picture, message), 1);
  EXPECT_EQ(message, bad + "が作成出来ません。");
}

TEST(ProblemBitmap, HandTextsAndTheShorteningRule) {
  struct Case {
    const char* sfen;
    const char* sente;
    const char* gote;
  };
  const Case cases[] = {
      {"4k4/9/9/9/9/9/9/9/4K4 b - 1", "▲先手　なし", "▽後手　なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b G2S 1", "▲先手　金銀二", "▽後手　なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b RBGSNL 1", "▲先手　飛角金銀桂香", "▽後手　なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b RBGSNLP 1", "▲飛角金銀桂香歩", "▽なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 18P 1", "▲先手　歩十八", "▽後手　なし"},
      {"4k4/9/9/9/9/9/9/9/4K4 b 10P2l 1", "▲先手　歩十", "▽後手　香二"},
  };
  for (const Case& c : cases) {
    std::string sente, gote;
    DiagramHandTexts(FromSfen(c.sfen).pos, "▲先手", "▽後手", sente, gote);
    EXPECT_EQ(sente, c.sente) << c.sfen;
    EXPECT_EQ(gote, c.gote) << c.sfen;
  }
}

TEST(ProblemBitmap, LayoutTurnsGotesPiecesAndPutsPromotionAboveTheBase) {
  const Position pos = FromSfen("4k4/9/9/9/4+s4/9/9/9/4+S4 b - 1").pos;
  const DiagramLayout layout = LayoutDiagram(pos, "▲先手", "▽後手", DiagramMetrics{});
  const auto glyphs_at = [&](int x, int y) {
    std::vector<DiagramGlyph> out;
    for (const DiagramGlyph& g : layout.Glyphs)
      if (g.X >= x && g.X < x + 16 && g.Y >= y && g.Y < y + 16) out.push_back(g);
    return out;
  };
  // Square 5e: column 5, row 5 of the picture's cells; 5i: row 9; 5a: row 1.
  const std::vector<DiagramGlyph> gote = glyphs_at(2 + 5 * 16, 5 * 16);
  const std::vector<DiagramGlyph> sente = glyphs_at(2 + 5 * 16, 9 * 16);
  ASSERT_EQ(gote.size(), 2u);
  ASSERT_EQ(sente.size(), 2u);
  EXPECT_EQ(sente[0].Text, "成");
  EXPECT_EQ(sente[1].Text, "銀");
  EXPECT_LT(sente[0].Y, sente[1].Y);
  EXPECT_EQ(sente[0].GlyphHeight * 2, sente[0].GlyphWidth);
  EXPECT_FALSE(sente[0].Turned);
  EXPECT_EQ(gote[0].Text, "成");
  EXPECT_GT(gote[0].Y, gote[1].Y);
  EXPECT_TRUE(gote[0].Turned && gote[1].Turned);
  const std::vector<DiagramGlyph> king = glyphs_at(2 + 5 * 16, 16);
  ASSERT_EQ(king.size(), 1u);
  EXPECT_EQ(king[0].Text, "玉");
  EXPECT_TRUE(king[0].Turned);
  // The marks: sente's filled in the right-hand column, gote's outlined and turned on the left.
  ASSERT_EQ(layout.Marks.size(), 2u);
  EXPECT_TRUE(layout.Marks[0].Filled);
  EXPECT_EQ(layout.Marks[0].X, 2 + 11 * 16);
  EXPECT_FALSE(layout.Marks[1].Filled);
  EXPECT_TRUE(layout.Marks[1].Turned);
  EXPECT_EQ(layout.Marks[1].X, 2);
  EXPECT_EQ(layout.Marks[1].Y, 9 * 16);
  EXPECT_EQ(layout.Lines.size(), 20u);
}

TEST(ProblemBitmap, EmptyHandIsDrawnAsLabelSpaceAndNashi) {
  const Position pos = FromSfen("4k4/9/9/9/9/9/9/9/4K4 b - 1").pos;
  const DiagramLayout layout = LayoutDiagram(pos, "▲先手", "▽後手", DiagramMetrics{});
  std::string right_column;
  for (const DiagramGlyph& g : layout.Glyphs)
    if (g.X >= 2 + 11 * 16) right_column += g.Text;
  EXPECT_EQ(right_column, "先手　なし");
  // Six characters end at the board's foot: the mark in row 4, し in row 9.
  EXPECT_EQ(layout.Marks[0].Y, 4 * 16);
}

TEST(ProblemBitmap, PiecesGridAndMarksArePainted) {
  ASSERT_TRUE(MinchoAvailable()) << "the IPA Mincho font (fonts-ipafont-mincho) is needed";
  const OneBitPicture picture =
      DrawProblem(FromSfen("4k4/9/9/9/9/9/9/9/4K4 b - 1").pos, "▲先手", "▽後手");
  // The grid's corners and the inside of an empty square.
  EXPECT_TRUE(picture.IsBlack(18, 16));
  EXPECT_TRUE(picture.IsBlack(162, 160));
  EXPECT_FALSE(AnyBlack(picture, 19, 17, 15, 15));
  // The two kings (5a and 5i) and the digit ９ above file 9.
  EXPECT_TRUE(AnyBlack(picture, 2 + 5 * 16 + 1, 17, 15, 15));
  EXPECT_TRUE(AnyBlack(picture, 2 + 5 * 16 + 1, 9 * 16 + 1, 15, 15));
  EXPECT_TRUE(AnyBlack(picture, 18, 0, 16, 16));
  // Sente's filled mark: its centre is black; gote's outlined mark: its centre is white.
  EXPECT_TRUE(picture.IsBlack(2 + 11 * 16 + 8, 4 * 16 + 9));
  EXPECT_FALSE(picture.IsBlack(2 + 8, 9 * 16 + 7));
  EXPECT_TRUE(AnyBlack(picture, 2, 9 * 16, 16, 16));
}

TEST(ProblemBitmap, FlippingTwiceRestoresThePicture) {
  const GameRecord record = PlayedGame(kMiddleGameUsi);
  const Position pos = PositionAt(record, record.PlyCount);
  const Position flipped = FlipProblem(pos);
  for (Square s = 1; s <= 81; ++s) EXPECT_EQ(flipped.Board[s], -pos.Board[82 - s]) << s;
  EXPECT_EQ(flipped.Hand[kFirst][kBishop], pos.Hand[kSecond][kBishop]);
  EXPECT_EQ(flipped.Hand[kSecond][kPawn], pos.Hand[kFirst][kPawn]);
  EXPECT_EQ(FlipProblem(flipped), pos);
  const OneBitPicture picture = DrawProblem(pos, "▲先手", "▽後手");
  EXPECT_FALSE(DrawProblem(flipped, "▲先手", "▽後手") == picture);
  EXPECT_TRUE(DrawProblem(FlipProblem(flipped), "▲先手", "▽後手") == picture);
}

}  // namespace
}  // namespace shogi::test
