// The text diagrams and the standard record of the output menu. Every grid is laid out in
// bytes of cp932, which a Mincho font shows as half (one byte) or full (two bytes) width, so
// that the columns line up on the reader's screen and on paper.
#include "output/text_diagram.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/cp932.h"
#include "records/kaya.h"
#include "records/ki2_notation.h"
#include "records/notation.h"

namespace shogi {
namespace {

// The Morita cell table, indexed 0 the empty square, 1..15 the first player's codes, 16 + k
// the second player's code -k. The second player's pieces are their katakana initials, so
// that a reader tells the two sides apart at a glance. (The Kaya grids take the cells of the
// Kaya file's diagram, KayaCell.)
constexpr const char* kMoritaCells[32] = {
    "　", "歩", "香", "桂", "銀", "金", "角", "飛", "玉", "と", "杏", "圭", "全", "金", "馬", "龍",
    "　", "フ", "キ", "ケ", "ギ", "ン", "カ", "ヒ", "オ", "ト", "ヨ", "ネ", "ゼ", "ン", "ウ", "リ"};

int CellIndex(int code) {
  return code >= 0 ? code : 16 - code;
}

std::string Cell(const char* const (&table)[32], int code) {
  return Cp932(table[CellIndex(code)]);
}

std::string Name(const GameRecord& record, Side side) {
  return std::string(side == kFirst ? FieldText(record.FirstName) : FieldText(record.SecondName));
}

// A full-width number: "１", "１８" (the digits of n >= 0).
std::string FullWidthNumber(int n) {
  static const char* const kDigits[10] = {"０", "１", "２", "３", "４",
                                          "５", "６", "７", "８", "９"};
  std::string out = n >= 10 ? FullWidthNumber(n / 10) : "";
  return out + Cp932(kDigits[n % 10]);
}

std::string PadBytes(std::string text, std::size_t width, const std::string& pad) {
  while (text.size() + pad.size() <= width) text += pad;
  return text;
}

// The KI2 text of the move at `index` without side mark, trailing blanks removed.
std::string MoveText(const GameRecord& record, int index) {
  std::string text = FormatKi2Move(record, index, "");
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

bool OnPreviousSquare(const std::string& text) {
  return text.compare(0, Notation().same_square.size(), Notation().same_square) == 0;
}

// The move text of captions: "７六歩", or "同歩" for a capture on the previous destination.
std::string CaptionMoveText(const GameRecord& record, int index) {
  const std::string text = MoveText(record, index);
  if (!OnPreviousSquare(text)) return text;
  return Cp932("同") + text.substr(Notation().same_square.size());
}

bool MoveMade(const GameRecord& record) {
  return record.PlyCount > record.StartIndex && record.PlyCount >= 1;
}

int MoveNumber(const GameRecord& record) {
  return record.PlyCount - record.StartIndex;
}

// Entry k (1..5) of the last-five-moves column, oldest first: "  ▲７六歩", or "" where the
// move would lie before the record's start.
std::string MoveColumnEntry(const GameRecord& record, int k) {
  const int index = record.PlyCount - 6 + k;
  if (index < record.StartIndex || index < 0) return "";
  return "  " + Cp932(SideOfPly(index) == kFirst ? "▲" : "▽") + MoveText(record, index);
}

// The letter of a piece type in the standard, mail and merged diagrams: the notation's
// letters, but the dragon is written 竜 there.
std::string DiagramLetter(int type) {
  if (type == kDragon) return Cp932("竜");
  return Notation().piece_letter[type];
}

// The nine cells of a rank in the standard diagram's letters: " 歩", "v歩", " ・".
std::string StandardCells(const Position& pos, int rank) {
  std::string row;
  for (int file = 9; file >= 1; --file) {
    const int code = pos.Board[SquareOf(file, rank)];
    row += code < 0 ? "v" : " ";
    row += DiagramLetter(TypeOf(code));
  }
  return row;
}

std::string KayaCells(const Position& pos, int rank) {
  std::string row;
  for (int file = 9; file >= 1; --file) row += KayaCell(pos.Board[SquareOf(file, rank)]);
  return row;
}

// A hand written downward in the Kaya grids: each kind held as its letter and, for two or more,
// its count in full-width digits; "・・" when empty. Nine characters, blanks at the end.
std::vector<std::string> HandColumn(const Position& pos, Side side) {
  std::vector<std::string> column;
  for (int type = kRook; type >= kPawn; --type) {
    const int count = pos.Hand[side][type];
    if (count <= 0) continue;
    column.push_back(Notation().piece_letter[type]);
    if (count < 2) continue;
    const std::string digits = FullWidthNumber(count);
    for (std::size_t i = 0; i < digits.size(); i += 2) column.push_back(digits.substr(i, 2));
  }
  if (column.empty()) column = {Cp932("・"), Cp932("・")};
  column.resize(9, Cp932("　"));
  return column;
}

// The standard diagram's rows: "|" nine cells "|" the rank numeral, the moves column.
std::string StandardRow(const GameRecord& record, const Position& pos, int rank) {
  return "|" + StandardCells(pos, rank) + "|" + Notation().rank_numeral[rank] +
         (rank <= 5 ? MoveColumnEntry(record, rank) : "");
}

std::string StandardBody(const GameRecord& record, const Position& pos) {
  std::string out;
  out += SideLabel(record, kSecond) + "  " + Name(record, kSecond) + "\n";
  out += HandText(pos, kSecond) + "\n\n";
  out += Cp932("  ９ ８ ７ ６ ５ ４ ３ ２ １") + "\n";
  out += "+---------------------------+\n";
  for (int rank = 1; rank <= 9; ++rank) out += StandardRow(record, pos, rank) + "\n";
  out += "+---------------------------+\n";
  out += SideLabel(record, kFirst) + "  " + Name(record, kFirst) + "\n";
  out += HandText(pos, kFirst) + "\n";
  return out;
}

// "@@%d:" with the number of the first listed move, then the last five moves as digits: origin
// file and rank (0 and the piece type for a drop), destination file and rank, "+" for a
// promotion, which also stands in for the next move's leading space. At the start "@@1:" alone.
std::string MoveDigitLine(const GameRecord& record) {
  const int first = std::max(record.StartIndex, record.PlyCount - 5);
  std::string out = "@@" + std::to_string(first - record.StartIndex + 1) + ":";
  bool after_promotion = false;
  for (int index = first; index < record.PlyCount; ++index) {
    const MoveCode m = record.MoveList[index];
    if (!after_promotion) out += " ";
    const int origin = OriginOf(m), to = DestinationOf(m);
    char digits[8];
    if (IsDrop(m)) {
      std::snprintf(digits, sizeof digits, "0%d%d%d", DroppedType(origin) % 10, FileOf(to),
                    RankOf(to));
    } else {
      std::snprintf(digits, sizeof digits, "%d%d%d%d", FileOf(origin), RankOf(origin), FileOf(to),
                    RankOf(to));
    }
    out += digits;
    after_promotion = IsPromotion(m);
    if (after_promotion) out += "+";
  }
  return out + "\n";
}

// The name line of the merged diagram: label, name, spaces to 24 bytes, the hand text.
std::string MergedNameLine(const GameRecord& record, const Position& pos, Side side) {
  return PadBytes(SideLabel(record, side) + "  " + Name(record, side), 24, " ") +
         HandText(pos, side) + "\n";
}

}  // namespace

std::string SideLabel(const GameRecord& record, Side side) {
  if (record.StartIndex == 0) return Cp932(side == kFirst ? "先手" : "後手");
  return Cp932(side == kFirst ? "下手" : "上手");
}

std::string HandText(const Position& pos, Side side) {
  std::string kinds;
  for (int type = kRook; type >= kPawn; --type) {
    const int count = pos.Hand[side][type];
    if (count <= 0) continue;
    if (!kinds.empty()) kinds += ",";
    kinds += Notation().piece_letter[type];
    if (count >= 2) kinds += std::to_string(count);
  }
  return Cp932("持駒  ") + (kinds.empty() ? Cp932("なし") : kinds);
}

std::string LastMoveCaption(const GameRecord& record) {
  if (!MoveMade(record)) return "";
  const int last = record.PlyCount - 1;
  return SideLabel(record, SideOfPly(last)) + std::to_string(MoveNumber(record)) + Cp932("手目") +
         CaptionMoveText(record, last);
}

std::string StandardDiagram(const GameRecord& record) {
  const Position pos = PositionAt(record, record.PlyCount);
  std::string out;
  if (MoveMade(record)) out += LastMoveCaption(record) + "\n\n";
  return out + StandardBody(record, pos) + "\n\n";
}

std::string MailDiagram(const GameRecord& record) {
  const Position pos = PositionAt(record, record.PlyCount);
  std::string out;
  if (MoveMade(record)) out += LastMoveCaption(record) + "\n";
  out += StandardBody(record, pos) + "\n";
  out += Cp932("手数＝") + std::to_string(MoveNumber(record));
  if (MoveMade(record)) {
    const int last = record.PlyCount - 1;
    out += Cp932(SideOfPly(last) == kFirst ? "　▲" : "　△") + CaptionMoveText(record, last) +
           Cp932("まで");
  }
  return out + "\n";
}

std::string KayaDiagram(const GameRecord& record) {
  const Position pos = PositionAt(record, record.PlyCount);
  const std::vector<std::string> gote = HandColumn(pos, kSecond);
  const std::vector<std::string> sente = HandColumn(pos, kFirst);
  std::string out = PadBytes("", 24, Cp932("・")) + "\n";
  if (MoveMade(record))
    out += Cp932("・     左図は") + LastMoveCaption(record) + Cp932("まで") + "\n";
  for (int rank = 1; rank <= 9; ++rank) {
    out += gote[rank - 1] + KayaCells(pos, rank) + Notation().rank_numeral[rank] + sente[rank - 1];
    if (rank >= 2 && rank <= 6) out += MoveColumnEntry(record, rank - 1);
    if (rank == 8) out += "  " + SideLabel(record, kSecond) + "  " + Name(record, kSecond);
    if (rank == 9) out += "  " + SideLabel(record, kFirst) + "  " + Name(record, kFirst);
    out += "\n";
  }
  return out + MoveDigitLine(record) + "\n\n";
}

std::string MergedDiagram(const GameRecord& record) {
  const Position pos = PositionAt(record, record.PlyCount);
  const std::vector<std::string> gote = HandColumn(pos, kSecond);
  const std::vector<std::string> sente = HandColumn(pos, kFirst);
  std::string out;
  if (MoveMade(record)) out += Cp932("図は") + LastMoveCaption(record) + Cp932("まで") + "\n";
  out += MergedNameLine(record, pos, kSecond);
  out += Cp932("                                ９ ８ ７ ６ ５ ４ ３ ２ １") + "\n";
  out += Cp932("    ・・・・・・・・・・      +---------------------------+") + "\n";
  for (int rank = 1; rank <= 9; ++rank) {
    out += gote[rank - 1] + "  " + KayaCells(pos, rank) + Notation().rank_numeral[rank] + "  " +
           sente[rank - 1] + "  " + StandardRow(record, pos, rank) + "\n";
  }
  out += "                              +---------------------------+\n";
  out += MergedNameLine(record, pos, kFirst);
  return out + MoveDigitLine(record) + "\n\n";
}

std::string MoritaDiagram(const GameRecord& record, int counter) {
  const Position pos = PositionAt(record, record.PlyCount);
  const NotationTables& n = Notation();
  const std::string wide_space = Cp932("　"), dot = Cp932("・");
  std::string out =
      Cp932("      【第") + FullWidthNumber(((counter + 1) % 10 + 10) % 10) + Cp932("図");
  if (MoveMade(record)) {
    const int last = record.PlyCount - 1;
    const std::string text = MoveText(record, last);
    out += Cp932("は・");
    if (OnPreviousSquare(text)) {
      const int to = DestinationOf(record.MoveList[last]);
      out += n.file_digit[FileOf(to)] + n.rank_numeral[RankOf(to)] + Cp932("同") +
             text.substr(n.same_square.size());
    } else {
      out += text;
    }
    out += Cp932("まで");
  }
  out += Cp932("】") + "\n\n";

  // The hands run down the edges two bytes a line: sente's from its start on the right, gote's
  // from its end on the left, so that gote's reads upward as if the paper were turned.
  constexpr std::size_t kHandBytes = 42;
  auto hand_line = [&](const char* label, Side side) {
    std::string line = Cp932(label) + KanjiHandText(pos, side);
    line.resize(Cp932CutLength(line, kHandBytes));
    return PadBytes(line, kHandBytes, wide_space);
  };
  const std::string sente = hand_line("　  ・先手  ", kFirst);
  const std::string gote = hand_line("　  ・・・  ", kSecond);
  constexpr int kLines = static_cast<int>(kHandBytes / 2);

  const std::string frame = PadBytes("", 38, dot) + wide_space;
  for (int line = 0; line < kLines; ++line) {
    std::string body;
    if (line == 0) {
      body = Cp932("　９　８　７　６　５　４　３　２　１　") + wide_space;
    } else if (line % 2 == 1 && line <= 19) {
      body = frame;
    } else if (line <= 18) {
      const int rank = line / 2;
      for (int file = 9; file >= 1; --file)
        body += dot + Cell(kMoritaCells, pos.Board[SquareOf(file, rank)]);
      body += dot + n.rank_numeral[rank];
    } else {
      body = PadBytes("", 40, wide_space);
    }
    out += gote.substr((kLines - 1 - line) * 2, 2) + body + sente.substr(line * 2, 2) + "\n";
  }
  return out + "\n";
}

std::string StandardRecordText(const GameRecord& record) {
  std::string out;
  if (record.StartIndex == 0) {
    out += Cp932("先手：") + Name(record, kFirst) + "\n" + Cp932("後手：") + Name(record, kSecond);
  } else {
    out += Cp932("上手：") + Name(record, kSecond) + "\n" + Cp932("下手：") + Name(record, kFirst);
  }
  out += "\n\n";
  const int end = std::min(RecordEndPly(record), kRecordTextLastIndex + 1);
  int cells = 0;
  for (int index = 0; index < end; ++index) {
    if (index < record.StartIndex) {
      out += std::string(12, ' ');
    } else {
      std::string field =
          FormatKi2Move(record, index, Cp932(SideOfPly(index) == kFirst ? "▲" : "△"));
      if (field.size() > 12 && field[12] == ' ')
        field.resize(12);
      else if (field.size() > 14 && field[14] == ' ')
        field.resize(14);
      out += field;
    }
    if (++cells % 6 == 0) out += "\n";
  }
  if (cells % 6 != 0) out += "\n";

  const int moves = RecordMoveCount(record);
  std::string result;
  switch (record.ResultCode) {
    case kResultFirstWins:
    case kResultSecondWins:
      result = Cp932("まで") + std::to_string(moves) + Cp932("手、") +
               Name(record, record.ResultCode == kResultFirstWins ? kFirst : kSecond) +
               Cp932("勝ち");
      break;
    case kResultRepetition:
      result = Cp932("まで") + std::to_string(moves) + Cp932("手、千日手");
      break;
    case kResultImpasse:
      result = Cp932("まで") + std::to_string(moves) + Cp932("手、持将棋");
      break;
    case kResultFirstWinsLater:
    case kResultSecondWinsLater:
      result = Cp932("以下、") +
               Name(record, record.ResultCode == kResultFirstWinsLater ? kFirst : kSecond) +
               Cp932("勝ち");
      break;
    case kResultRepetitionLater:
      result = Cp932("以下、千日手");
      break;
    case kResultImpasseLater:
      result = Cp932("以下、持将棋");
      break;
    default:
      break;
  }
  if (!result.empty()) out += result + "\n";
  return out + "\n\n";
}

std::string KanjiHandText(const Position& pos, Side side) {
  const NotationTables& n = Notation();
  std::string out;
  for (int type = kRook; type >= kPawn; --type) {
    const int count = pos.Hand[side][type];
    if (count <= 0) continue;
    out += n.piece_letter[type];
    if (count >= 10) out += Cp932("十");
    if (count >= 2 && count % 10 != 0) out += n.rank_numeral[count % 10];
  }
  return out.empty() ? Cp932("なし") : out;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace shogi
