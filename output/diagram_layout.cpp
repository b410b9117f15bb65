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
      Character(kPieceKanji[type], column, row, 1, turned);
      return;
    }
    // 成 stands above the base kanji as its owner reads the piece.
    const int inner = m.Cell - 2, half = inner / 2;
    const int x = X(column) + 1, top = Y(row) + 1, bottom = top + inner - half;
    layout.Glyphs.push_back({x, turned ? bottom : top, inner, half, inner, half, "成", turned});
    layout.Glyphs.push_back(
        {x, turned ? top : bottom, inner, half, inner, half, kPieceKanji[type], turned});
  }

  void HandCharacter(const std::string& c, int column, int row, bool turned) {
    const bool filled = c == "▲" || c == "▼";
    if (filled || c == "▽" || c == "△") {
      layout.Marks.push_back({X(column), Y(row), m.Cell, m.Cell, filled, turned});
      return;
    }
    Character(c, column, row, 1, turned);
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
  // Sente's text runs down the column right of the numerals and ends at the board's foot;
  // gote's reads upward from the foot in the column left of the board, turned.
  const std::vector<std::string> s = Characters(sente), g = Characters(gote);
  const int start = std::min(8, std::max(0, 10 - static_cast<int>(s.size())));
  for (std::size_t i = 0; i < s.size(); ++i)
    b.HandCharacter(s[i], 11, start + static_cast<int>(i), false);
  for (std::size_t i = 0; i < g.size(); ++i)
    b.HandCharacter(g[i], 0, 9 - static_cast<int>(i), true);
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
