// Reading the western move notation.
#include "records/western_notation.h"

#include <cstring>

namespace shogi {
namespace {

constexpr char kPieceLetters[] = "PLNSGBRK";  // types 1..8

// A square "7f"; 0 when it is none.
int WesternSquare(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size()) return 0;
  const int file = text[at] - '0', rank = text[at + 1] - 'a' + 1;
  if (file < 1 || file > 9 || rank < 1 || rank > 9) return 0;
  return SquareOf(file, rank);
}

int LetterType(char c) {
  const char* letter = c == '\0' ? nullptr : std::strchr(kPieceLetters, c);
  return letter == nullptr ? 0 : static_cast<int>(letter - kPieceLetters) + 1;
}

}  // namespace

bool BeginsWesternMove(char c) {
  return c == '+' || LetterType(c) != 0;
}

bool ReadWesternMove(std::string_view text, const Position& pos, Side side, MoveCode& m,
                     std::size_t& length) {
  std::size_t i = 0;
  const bool promoted = i < text.size() && text[i] == '+';
  if (promoted) ++i;
  if (i >= text.size()) return false;
  int type = LetterType(text[i]);
  if (type == 0) return false;
  if (promoted) {
    if (!CanPromote(type)) return false;
    type = PromotedType(type);
  }
  ++i;
  if (i < text.size() && (text[i] == '*' || text[i] == '\'')) {
    const int to = WesternSquare(text, i + 1);
    if (to == 0 || type > kRook) return false;
    m = EncodeMove(DropOrigin(type), to, 0);
    length = i + 3;
    return true;
  }
  const int from = WesternSquare(text, i);
  if (from == 0 || i + 2 >= text.size() || (text[i + 2] != '-' && text[i + 2] != 'x')) return false;
  const int to = WesternSquare(text, i + 3);
  if (to == 0 || pos.Board[from] != CodeOf(type, side)) return false;
  length = i + 5;
  const bool promote = length < text.size() && text[length] == '+';
  if (length < text.size() && (text[length] == '+' || text[length] == '=')) ++length;
  m = EncodeMove(from, to, promote ? 1 : 0);
  return true;
}

}  // namespace shogi
