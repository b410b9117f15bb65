// The position diagram as plain drawing data, the one design of the problem bitmap and of the
// printed diagram: file digits, rank numerals, pieces (gote's turned, 成 over the base kanji
// for promoted lance, knight and silver), the grid and both sides' hands written down the
// columns beside the board with their ▲ / ▽ marks drawn as pieces.
#pragma once

#include <string>
#include <vector>

#include "output/one_bit_picture.h"
#include "rules/position.h"

namespace shogi {

// One character (UTF-8) to draw with the Mincho font, its ink centred in the box, at
// GlyphWidth x GlyphHeight pixels; Turned: rotated by 180 degrees.
struct DiagramGlyph {
  int X = 0, Y = 0, Width = 0, Height = 0;
  int GlyphWidth = 0, GlyphHeight = 0;
  std::string Text;
  bool Turned = false;
};

// A side mark drawn as a piece-shaped pentagon in its box: "▲" filled, "▽" outlined; a turned
// mark points down.
struct DiagramMark {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool Filled = false;
  bool Turned = false;
};

struct DiagramLine {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct DiagramLayout {
  std::vector<DiagramGlyph> Glyphs;
  std::vector<DiagramMark> Marks;
  std::vector<DiagramLine> Lines;
};

// Cell: the side of a square. The column left of the board (gote's hand) begins at Left, the
// row of file digits at Top; the board's squares follow one cell right and one cell down.
// DigitMargin: how far the digits and numerals stand in from their cells' edges; Inset: how
// far the pieces and the hands' characters do.
struct DiagramMetrics {
  int Cell = 16;
  int Left = 2;
  int Top = 0;
  int DigitMargin = 0;
  int Inset = 1;
};

// The sides' labels (UTF-8) of the problem bitmap.
inline constexpr const char* kDefaultSenteLabel = "▲先手";
inline constexpr const char* kDefaultGoteLabel = "▽後手";

// The hand texts as drawn: the label, "　" and the kanji hand text; when either is longer than
// 10 characters, the three characters after each text's first are removed from both. UTF-8.
void DiagramHandTexts(const Position& pos, const std::string& sente_label,
                      const std::string& gote_label, std::string& sente, std::string& gote);

DiagramLayout LayoutDiagram(const Position& pos, const std::string& sente_label,
                            const std::string& gote_label, const DiagramMetrics& metrics);

// The corners of a mark's pentagon in its box.
std::vector<PicturePoint> MarkCorners(const DiagramMark& mark);

}  // namespace shogi
