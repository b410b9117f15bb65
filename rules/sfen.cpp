// SFEN positions and USI moves.
#include "rules/sfen.h"

#include <cctype>
#include <cstring>

namespace shogi {
namespace {

// USI letters of the unpromoted types 1..8.
constexpr char kLetters[] = " PLNSGBRK";
// The most pieces of each type a set holds (hands are refused beyond this).
constexpr int kSetCount[8] = {0, 18, 4, 4, 4, 4, 2, 2};

int TypeOfLetter(char c) {
  const char* p = std::strchr(kLetters + 1, std::toupper(static_cast<unsigned char>(c)));
  return (p != nullptr && c != '\0') ? static_cast<int>(p - kLetters) : 0;
}

std::string_view NextField(std::string_view& rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  std::size_t n = rest.find(' ');
  std::string_view field = rest.substr(0, n);
  rest.remove_prefix(n == std::string_view::npos ? rest.size() : n);
  return field;
}

int Fail(std::string& message, const char* text) {
  message = text;
  return 1;
}

}  // namespace

int ParseSfen(std::string_view text, Position& pos_out, Side& side_out, int& number_out,
              std::string& message) {
  if (text == "startpos") text = kStartSfen;
  std::string_view rest = text;
  std::string_view board = NextField(rest), side = NextField(rest), hands = NextField(rest),
                   number = NextField(rest);
  if (!NextField(rest).empty()) return Fail(message, "SFEN: unexpected text after the move number");
  if (board.empty() || side.empty() || hands.empty())
    return Fail(message, "SFEN: expected board, side to move and hands");

  Position pos{};
  int rank = 1, file = 9;  // SFEN lists each rank from file 9 to file 1
  bool promoted = false;
  int kings[2] = {0, 0};
  for (char c : board) {
    if (c == '/') {
      if (promoted || file != 0) return Fail(message, "SFEN: a rank does not hold nine squares");
      if (++rank > 9) return Fail(message, "SFEN: more than nine ranks");
      file = 9;
    } else if (c >= '1' && c <= '9') {
      if (promoted) return Fail(message, "SFEN: '+' must precede a piece letter");
      file -= c - '0';
      if (file < 0) return Fail(message, "SFEN: a rank holds more than nine squares");
    } else if (c == '+') {
      if (promoted) return Fail(message, "SFEN: '+' must precede a piece letter");
      promoted = true;
    } else {
      int type = TypeOfLetter(c);
      if (type == 0) return Fail(message, "SFEN: unknown piece letter on the board");
      if (promoted && !CanPromote(type)) return Fail(message, "SFEN: this piece cannot promote");
      if (file < 1) return Fail(message, "SFEN: a rank holds more than nine squares");
      if (promoted) type = PromotedType(type);
      Side owner = std::isupper(static_cast<unsigned char>(c)) ? kFirst : kSecond;
      if (type == kKing && ++kings[owner] > 1)
        return Fail(message, "SFEN: more than one king of a side");
      pos.Board[SquareOf(file, rank)] = static_cast<std::int8_t>(CodeOf(type, owner));
      promoted = false;
      --file;
    }
  }
  if (rank != 9 || file != 0 || promoted)
    return Fail(message, "SFEN: the board needs nine ranks of nine squares");
  FindKingSquares(pos);

  Side to_move;
  if (side == "b") {
    to_move = kFirst;
  } else if (side == "w") {
    to_move = kSecond;
  } else {
    return Fail(message, "SFEN: side to move must be 'b' or 'w'");
  }

  if (hands != "-") {
    int count = 0;
    bool has_count = false;
    for (char c : hands) {
      if (std::isdigit(static_cast<unsigned char>(c))) {
        count = count * 10 + (c - '0');
        has_count = true;
        if (count > 18) return Fail(message, "SFEN: too many pieces in hand");
        continue;
      }
      int type = TypeOfLetter(c);
      if (type == 0 || type == kKing) return Fail(message, "SFEN: unknown piece letter in hand");
      if (has_count && count < 1) return Fail(message, "SFEN: a hand count must be at least 1");
      Side owner = std::isupper(static_cast<unsigned char>(c)) ? kFirst : kSecond;
      int total = pos.Hand[owner][type] + (has_count ? count : 1);
      if (total > kSetCount[type]) return Fail(message, "SFEN: too many pieces in hand");
      pos.Hand[owner][type] = static_cast<std::int8_t>(total);
      count = 0;
      has_count = false;
    }
    if (has_count) return Fail(message, "SFEN: a hand count without a piece letter");
  }

  int move_number = 1;
  if (!number.empty()) {
    move_number = 0;
    for (char c : number) {
      if (!std::isdigit(static_cast<unsigned char>(c)) || move_number > 100000)
        return Fail(message, "SFEN: the move number must be a positive integer");
      move_number = move_number * 10 + (c - '0');
    }
    if (move_number < 1) return Fail(message, "SFEN: the move number must be a positive integer");
  }

  pos_out = pos;
  side_out = to_move;
  number_out = move_number;
  return 0;
}

std::string ToSfen(const Position& pos, Side side_to_move, int move_number) {
  std::string out;
  for (int rank = 1; rank <= 9; ++rank) {
    int empty = 0;
    for (int file = 9; file >= 1; --file) {
      int code = pos.Board[SquareOf(file, rank)];
      if (code == 0) {
        ++empty;
        continue;
      }
      if (empty) out += static_cast<char>('0' + empty);
      empty = 0;
      int type = TypeOf(code);
      if (type > kKing) out += '+';
      char letter = kLetters[BaseType(type)];
      out +=
          code > 0 ? letter : static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    }
    if (empty) out += static_cast<char>('0' + empty);
    if (rank < 9) out += '/';
  }
  out += side_to_move == kFirst ? " b " : " w ";
  std::string hands;
  static constexpr int kOrder[] = {kRook, kBishop, kGold, kSilver, kKnight, kLance, kPawn};
  for (Side s : {kFirst, kSecond}) {
    for (int type : kOrder) {
      int n = pos.Hand[s][type];
      if (n <= 0) continue;
      if (n > 1) hands += std::to_string(n);
      char letter = kLetters[type];
      hands += s == kFirst ? letter
                           : static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    }
  }
  out += hands.empty() ? "-" : hands;
  out += ' ';
  out += std::to_string(move_number);
  return out;
}

bool ParseUsiMove(std::string_view text, MoveCode& move) {
  auto square = [](char f, char r) -> int {
    if (f < '1' || f > '9' || r < 'a' || r > 'i') return 0;
    return SquareOf(f - '0', r - 'a' + 1);
  };
  if (text.size() == 4 && text[1] == '*') {
    int type = TypeOfLetter(text[0]);
    int to = square(text[2], text[3]);
    if (!std::isupper(static_cast<unsigned char>(text[0])) || type == 0 || type == kKing || to == 0)
      return false;
    move = EncodeMove(DropOrigin(type), to, 0);
    return true;
  }
  if (text.size() != 4 && !(text.size() == 5 && text[4] == '+')) return false;
  int from = square(text[0], text[1]), to = square(text[2], text[3]);
  if (from == 0 || to == 0 || from == to) return false;
  move = EncodeMove(from, to, text.size() == 5 ? 1 : 0);
  return true;
}

std::string FormatUsiMove(MoveCode move) {
  auto square = [](int s) {
    return std::string{static_cast<char>('0' + FileOf(s)), static_cast<char>('a' + RankOf(s) - 1)};
  };
  std::string out;
  if (IsDrop(move)) {
    out += kLetters[DroppedType(move.from)];
    out += '*';
  } else {
    out += square(move.from);
  }
  out += square(DestinationOf(move));
  if (IsPromotion(move)) out += '+';
  return out;
}

}  // namespace shogi
