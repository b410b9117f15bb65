// The diagram's drawing data in cells: row 0 the file digits, rows 1..9 the ranks; column 0
// gote's hand, columns 1..9 the files 9..1, column 10 the rank numerals, column 11 sente's hand.
#include "output/diagram_layout.h"

#include <algorithm>

#include "output/text_diagram.h"
#include "platform/cp932.h"

namespace shogi {
namespace {

constexpr const char* kFileDigits[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
constexpr const char* kRankNumerals[10] = {"",   "一", "二", "三", "四",
                                           "五", "六", "七", "八", "九"};
// The kanji of each piece type as the diagram draws it; promoted lance, knight and silver are
// 成 over their base kanji.
constexpr const char* kPieceKanji[16] = {"",   "歩", "香", "桂", "銀", "金", "角", "飛",
                                         "玉", "と", "香", "桂", "銀", "金", "馬", "龍"};

bool DrawnAsPromoted(int type) {
  return type == kPromotedLance || type == kPromotedKnight || type == kPromotedSilver;
}

// The UTF-8 characters of `text`, one string each.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

std::string Joined(const std::vector<std::string>& chars) {
  std::string out;
  for (const std::string& c : chars) out += c;
  return out;
}

struct Builder {
  const DiagramMetrics& m;
  DiagramLayout layout;

  int X(int column) const { return m.Left + column * m.Cell; }
  int Y(int row) const { return m.Top + row * m.Cell; }

  // A character standing `inset` in from the cell's edges.
  void Character(const std::string& text, int column, int row, int inset, bool turned) {
    const int side = m.Cell - 2 * inset;
    layout.Glyphs.push_back(
        {X(column) + inset, Y(row) + inset, side, side, side - 2, side - 2, text, turned});
  }

  void Piece(int code, int column, int row) {
    const int type = TypeOf(code);
    const bool turned = code < 0;
    if (!DrawnAsPromoted(type)) {
      Character(kPieceKanji[type], column, row, m.Inset, turned);
      return;
    }
    // 成 stands above the base kanji as its owner reads the piece.
    const int inner = m.Cell - 2 * m.Inset, half = inner / 2;
    const int x = X(column) + m.Inset, top = Y(row) + m.Inset, bottom = top + inner - half;
    layout.Glyphs.push_back({x, turned ? bottom : top, inner, half, inner, half, "成", turned});
    layout.Glyphs.push_back(
        {x, turned ? top : bottom, inner, half, inner, half, kPieceKanji[type], turned});
  }

  // A hand's character in the box of `column` from `top`, `height` high: a side mark as a
  // piece-shaped pentagon, anything else as a character, both square and centred across.
  void HandCharacter(const std::string& c, int column, int top, int height, bool turned) {
    const int side = std::min(m.Cell, height);
    const int x = X(column) + (m.Cell - side) / 2, y = top + (height - side) / 2;
    const bool filled = c == "▲" || c == "▼";
    if (filled || c == "▽" || c == "△") {
      layout.Marks.push_back({x, y, side, side, filled, turned});
      return;
    }
    const int inner = std::max(1, side - 2 * m.Inset);
    layout.Glyphs.push_back(
        {x + m.Inset, y + m.Inset, inner, inner, inner - 2, inner - 2, c, turned});
  }

  // A hand text down `column` beside the board, one character a cell ending at the board's
  // foot (sente's starts no lower than row 8; gote's is turned and reads upward from the
  // foot). A text of more than ten characters shares the ten rows 0..9 out evenly, so that it
  // reaches neither the title above the board nor the comments below it.
  void HandColumn(const std::vector<std::string>& text, int column, bool turned) {
    const int n = static_cast<int>(text.size());
    if (n <= 10) {
      const int start = std::min(8, 10 - n);
      for (int i = 0; i < n; ++i)
        HandCharacter(text[i], column, Y(turned ? 9 - i : start + i), m.Cell, turned);
      return;
    }
    for (int i = 0; i < n; ++i) {
      const int k = turned ? n - 1 - i : i;  // the slot from the top
      const int top = Y(0) + k * 10 * m.Cell / n, bottom = Y(0) + (k + 1) * 10 * m.Cell / n;
      HandCharacter(text[i], column, top, bottom - top, turned);
    }
  }
};

}  // namespace

void DiagramHandTexts(const Position& pos, const std::string& sente_label,
                      const std::string& gote_label, std::string& sente, std::string& gote) {
  std::vector<std::string> s = Characters(sente_label + "　" + Utf8(KanjiHandText(pos, kFirst)));
  std::vector<std::string> g = Characters(gote_label + "　" + Utf8(KanjiHandText(pos, kSecond)));
  if (s.size() > 10 || g.size() > 10) {
    for (std::vector<std::string>* text : {&s, &g}) {
      const std::size_t n = std::min<std::size_t>(3, text->size() > 0 ? text->size() - 1 : 0);
      text->erase(text->begin() + 1, text->begin() + 1 + static_cast<std::ptrdiff_t>(n));
    }
  }
  sente = Joined(s);
  gote = Joined(g);
}

DiagramLayout LayoutDiagram(const Position& pos, const std::string& sente_label,
                            const std::string& gote_label, const DiagramMetrics& metrics) {
  Builder b{metrics, {}};
  for (int file = 9; file >= 1; --file)
    b.Character(kFileDigits[file], 10 - file, 0, metrics.DigitMargin, false);
  for (int rank = 1; rank <= 9; ++rank)
    b.Character(kRankNumerals[rank], 10, rank, metrics.DigitMargin, false);
  for (int rank = 1; rank <= 9; ++rank) {
    for (int file = 9; file >= 1; --file) {
      const int code = pos.Board[SquareOf(file, rank)];
      if (code != 0) b.Piece(code, 10 - file, rank);
    }
  }
  for (int k = 0; k <= 9; ++k) {
    b.layout.Lines.push_back({b.X(1), b.Y(1 + k), b.X(10), b.Y(1 + k)});
    b.layout.Lines.push_back({b.X(1 + k), b.Y(1), b.X(1 + k), b.Y(10)});
  }

  std::string sente, gote;
  DiagramHandTexts(pos, sente_label, gote_label, sente, gote);
  // Sente's text runs down the column right of the numerals, gote's left of the board.
  b.HandColumn(Characters(sente), 11, false);
  b.HandColumn(Characters(gote), 0, true);
  return b.layout;
}

std::vector<PicturePoint> MarkCorners(const DiagramMark& mark) {
  const int w = mark.Width, h = mark.Height;
  const PicturePoint corners[5] = {{25 * w / 48, 0},
                                   {w / 6, 14 * h / 48},
                                   {w / 12, 40 * h / 48},
                                   {46 * w / 48, 40 * h / 48},
                                   {42 * w / 48, 14 * h / 48}};
  std::vector<PicturePoint> out;
  for (const PicturePoint& p : corners) {
    if (mark.Turned)
      out.push_back({mark.X + w - 1 - p.X, mark.Y + h - 1 - p.Y});
    else
      out.push_back({mark.X + p.X, mark.Y + p.Y});
  }
  return out;
}

}  // namespace shogi
