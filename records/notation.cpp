// The notation tables and the KIF move column.
#include "records/notation.h"

#include <cstdio>

#include "platform/cp932.h"

namespace shogi {
namespace {

Kanji CodeOf(const std::string& cp932) {
  return cp932.size() == 2 ? KanjiAt(cp932, 0) : 0;
}

// Splits a UTF-8 text of two-byte cp932 characters into cp932 entries.
void FillCharacters(std::string_view utf8, std::string* out, int first, int count) {
  const std::string all = Cp932(utf8);
  for (int i = 0; i < count; ++i) out[first + i] = all.substr(2 * static_cast<std::size_t>(i), 2);
}

NotationTables BuildTables() {
  NotationTables t;
  FillCharacters("１２３４５６７８９", t.file_digit, 1, 9);
  FillCharacters("一二三四五六七八九", t.rank_numeral, 1, 9);
  FillCharacters("・歩香桂銀金角飛玉と杏圭全金馬龍", t.piece_letter, 0, 16);
  static constexpr const char* kNames[16] = {"",   "歩", "香",   "桂",   "銀",   "金", "角", "飛",
                                             "玉", "と", "成香", "成桂", "成銀", "金", "馬", "龍"};
  for (int type = 0; type < 16; ++type) t.piece_name[type] = Cp932(kNames[type]);
  t.same_square = Cp932("同　");
  t.promote = Cp932("成");
  t.no_promote = Cp932("不成");
  t.drop = Cp932("打");
  t.sente_mark = Cp932("▲");
  t.gote_mark = Cp932("△");
  for (int i = 1; i <= 9; ++i) {
    t.file_digit_code[i] = CodeOf(t.file_digit[i]);
    t.rank_numeral_code[i] = CodeOf(t.rank_numeral[i]);
  }
  t.file_digit_code[0] = t.rank_numeral_code[0] = 0;
  for (int type = 0; type < 16; ++type) t.letter_code[type] = CodeOf(t.piece_letter[type]);
  t.dragon_variant = CodeOf(Cp932("竜"));
  t.king_variant = CodeOf(Cp932("王"));
  t.same = CodeOf(Cp932("同"));
  t.wide_space = CodeOf(Cp932("　"));
  t.promote_code = CodeOf(t.promote);
  t.no_code = CodeOf(Cp932("不"));
  t.drop_code = CodeOf(t.drop);
  t.sente_mark_code = CodeOf(t.sente_mark);
  t.gote_mark_code = CodeOf(t.gote_mark);
  t.ten = CodeOf(Cp932("十"));
  t.right = CodeOf(Cp932("右"));
  t.left = CodeOf(Cp932("左"));
  t.straight = CodeOf(Cp932("直"));
  t.up = CodeOf(Cp932("上"));
  t.back = CodeOf(Cp932("引"));
  t.sideways = CodeOf(Cp932("寄"));
  t.forward = CodeOf(Cp932("行"));
  return t;
}

}  // namespace

const NotationTables& Notation() {
  static const NotationTables tables = BuildTables();
  return tables;
}

int FileDigitValue(Kanji k) {
  const NotationTables& t = Notation();
  for (int i = 1; i <= 9; ++i)
    if (t.file_digit_code[i] == k) return i;
  return 0;
}

int NumeralValue(Kanji k) {
  const NotationTables& t = Notation();
  for (int i = 1; i <= 9; ++i)
    if (t.rank_numeral_code[i] == k) return i;
  return 0;
}

int DropTypeOf(Kanji k) {
  const NotationTables& t = Notation();
  for (int type = kPawn; type <= kRook; ++type)
    if (t.letter_code[type] == k) return type;
  return 0;
}

int LetterTypeOf(Kanji k) {
  const NotationTables& t = Notation();
  if (k == t.dragon_variant) return kDragon;
  if (k == t.king_variant) return kKing;
  for (int type = 0; type < 16; ++type)  // the first 金 (5) wins over the filler at 13
    if (t.letter_code[type] == k) return type;
  return -1;
}

void AppendDestination(std::string& out, int destination, int previous_destination) {
  const NotationTables& t = Notation();
  if (destination == previous_destination) {
    out += t.same_square;
  } else {
    out += t.file_digit[FileOf(destination)];
    out += t.rank_numeral[RankOf(destination)];
  }
}

std::string FormatKifMove(MoveCode move, const Position& before, int previous_destination) {
  const NotationTables& t = Notation();
  std::string out;
  out.reserve(kKifMoveColumnWidth + 2);
  const int to = DestinationOf(move);
  AppendDestination(out, to, previous_destination);
  if (IsDrop(move)) {
    out += t.piece_name[DroppedType(move.from)];
    out += t.drop;
  } else {
    int type = TypeOf(before.Board[move.from]);
    // An empty origin only occurs in a damaged record; name it like an empty square.
    out += (type >= 1 && type <= 15) ? t.piece_name[type] : t.piece_letter[0];
    if (IsPromotion(move)) out += t.promote;
    char origin[8];
    std::snprintf(origin, sizeof origin, "(%d%d)", FileOf(move.from), RankOf(move.from));
    out += origin;
  }
  if (out.size() < kKifMoveColumnWidth) out.append(kKifMoveColumnWidth - out.size(), ' ');
  return out;
}

namespace {

// The origin written as "(" file rank ")" at byte `at`: the pairs "(1".."(9" and "1)".."9)".
int ParseKifOrigin(std::string_view line, std::size_t at) {
  if (line.size() < at + 4) return 0;
  char open = line[at], file = line[at + 1], rank = line[at + 2], close = line[at + 3];
  if (open != '(' || close != ')' || file < '1' || file > '9' || rank < '1' || rank > '9') return 0;
  return SquareOf(file - '0', rank - '0');
}

}  // namespace

bool ParseKifMove(std::string_view line, int previous_destination, MoveCode& move) {
  const NotationTables& t = Notation();
  if (line.size() < 13) return false;  // destination and piece at least
  int to;
  if (KanjiAt(line, 5) == t.same) {
    if (!IsSquare(previous_destination)) return false;
    to = previous_destination;
  } else {
    int file = FileDigitValue(KanjiAt(line, 5));
    int rank = NumeralValue(KanjiAt(line, 7));
    if (file == 0 || rank == 0) return false;
    to = SquareOf(file, rank);
  }
  const Kanji after_piece = KanjiAt(line, 11);
  if (after_piece == t.drop_code) {
    int type = DropTypeOf(KanjiAt(line, 9));
    if (type == 0) return false;
    move = EncodeMove(DropOrigin(type), to, 0);
    return true;
  }
  bool promote = after_piece == t.promote_code;
  // The origin follows a one-character name at byte 11; after name + 成 or after a
  // two-character name (成香, 成桂, 成銀) it is at byte 13.
  std::size_t at = (promote || KanjiAt(line, 9) == t.promote_code) ? 13 : 11;
  int from = ParseKifOrigin(line, at);
  if (from == 0) return false;
  move = EncodeMove(from, to, promote ? 1 : 0);
  return true;
}

void AppendHandCount(std::string& out, int n) {
  const NotationTables& t = Notation();
  if (n > kMaxHandCount) n = kMaxHandCount;
  if (n >= 10) {
    AppendKanji(out, t.ten);
    if (n > 10) out += t.rank_numeral[n - 10];
  } else if (n >= 2) {
    out += t.rank_numeral[n];
  }
}

void ReadHandText(std::string_view text, std::int8_t* hand) {
  const NotationTables& t = Notation();
  int last = 0;
  bool after_ten = false;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsCp932LeadByte(static_cast<unsigned char>(text[i])) || i + 1 >= text.size()) {
      ++i;
      after_ten = false;
      continue;
    }
    const Kanji k = KanjiAt(text, i);
    i += 2;
    if (int type = DropTypeOf(k)) {
      if (hand[type] < kMaxHandCount) ++hand[type];
      last = type;
      after_ten = false;
    } else if (k == t.ten) {
      if (last != 0) hand[last] = 10;
      after_ten = true;
    } else if (int n = NumeralValue(k)) {
      if (last != 0) hand[last] = static_cast<std::int8_t>(after_ten ? 10 + n : n);
      after_ten = false;
    } else {
      after_ten = false;
    }
  }
}

bool ReadDiagramRank(std::string_view line, int rank, Position& pos) {
  if (line.size() < 28) return false;
  for (int file = 9; file >= 1; --file) {
    const std::size_t at = 1 + 3 * static_cast<std::size_t>(9 - file);
    const int type = LetterTypeOf(KanjiAt(line, at + 1));
    if (type < 0) return false;
    const bool gote = line[at] == 'v' || line[at] == 'V';
    pos.Board[SquareOf(file, rank)] = static_cast<std::int8_t>(gote ? -type : type);
  }
  return true;
}

}  // namespace shogi
