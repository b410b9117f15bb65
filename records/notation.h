// The character tables of the Japanese move notation in cp932, and the KIF move column.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rules/position.h"

namespace shogi {

// A two-byte cp932 character as one number (lead byte * 256 + trail byte), so that table
// lookups compare integers instead of strings.
using Kanji = std::uint16_t;

// The character at byte `i` of `text`; the caller makes sure bytes i and i + 1 exist.
inline Kanji KanjiAt(std::string_view text, std::size_t i) {
  return static_cast<Kanji>(static_cast<unsigned char>(text[i]) << 8 |
                            static_cast<unsigned char>(text[i + 1]));
}
// Whether `text` holds the two-byte character `k` at byte `i` (false past the end).
inline bool KanjiIs(std::string_view text, std::size_t i, Kanji k) {
  return i + 1 < text.size() && KanjiAt(text, i) == k;
}

// Appends the two bytes of `k` to `out`.
inline void AppendKanji(std::string& out, Kanji k) {
  out.push_back(static_cast<char>(k >> 8));
  out.push_back(static_cast<char>(k & 0xFF));
}

// Every text of the notation, in cp932, built once from the UTF-8 sources.
struct NotationTables {
  std::string file_digit[10];    // [1..9] "１".."９"
  std::string rank_numeral[10];  // [1..9] "一".."九", also the counts of pieces in hand
  std::string piece_name[16];  // [type] 歩 香 桂 銀 金 角 飛 玉 と 成香 成桂 成銀 金 馬 龍
  std::string piece_letter[16];  // [type] "・歩香桂銀金角飛玉と杏圭全金馬龍", for diagrams
  std::string same_square;  // "同　", as writers put it
  std::string promote;      // "成"
  std::string no_promote;   // "不成"
  std::string drop;         // "打"
  std::string sente_mark;   // "▲"
  std::string gote_mark;    // "△"

  Kanji file_digit_code[10];
  Kanji rank_numeral_code[10];
  Kanji letter_code[16];  // one-character piece letters; [13] repeats 金
  Kanji dragon_variant;   // "竜", read as 龍
  Kanji king_variant;     // "王", read as 玉
  Kanji same;             // "同"
  Kanji wide_space;       // "　"
  Kanji promote_code;     // "成"
  Kanji no_code;          // "不"
  Kanji drop_code;        // "打"
  Kanji sente_mark_code;  // "▲"
  Kanji gote_mark_code;   // "△"
  Kanji ten;              // "十"
  Kanji right, left, straight, up, back, sideways, forward;  // 右 左 直 上 引 寄 行
};
const NotationTables& Notation();

// 1..9 for a file digit "１".."９", else 0.
int FileDigitValue(Kanji k);
// 1..9 for a numeral "一".."九", else 0.
int NumeralValue(Kanji k);
// The type 1..7 of a piece name that may be dropped (歩 香 桂 銀 金 角 飛), else 0.
int DropTypeOf(Kanji k);
// The type 0..15 of a one-character piece letter ("・" is 0, "竜" is 15, "王" is 8), else -1.
int LetterTypeOf(Kanji k);

// Appends the destination of a move as both notations write it: "同　" when it is the
// previous move's destination, else the file digit and the rank numeral ("７六").
void AppendDestination(std::string& out, int destination, int previous_destination);

// Width of the KIF move column, padded with ASCII spaces.
constexpr std::size_t kKifMoveColumnWidth = 13;

// The KIF move column of `move` (13 bytes, cp932), e.g. "７六歩(77)   ", "同　角成(88) ",
// "４五桂打     ". `before` is the position before the move, `previous_destination` the
// destination square of the move before it (0 for the first move of a list). The move must
// be well-formed (IsWellFormedMove).
std::string FormatKifMove(MoveCode move, const Position& before, int previous_destination);

// Reads the move column of a KIF move line (a four-byte move number and a space, then the
// column at byte 5). False when a destination, piece or origin character is not in its
// table, or "同" has no previous move to refer to.
[[nodiscard]] bool ParseKifMove(std::string_view line, int previous_destination, MoveCode& move);

// The largest count of one kind in hand that the kanji numerals of a hand express (十九).
constexpr int kMaxHandCount = 19;

// Appends the count of a kind in hand as the diagrams write it after the letter: nothing for
// one, a numeral up to nine, "十" and the numeral of the rest above nine (up to 十九).
void AppendHandCount(std::string& out, int n);

// Reads the pieces in hand written after a hand label: each letter adds one, a numeral sets
// the count of the last letter, "十" and a numeral set ten plus the numeral.
void ReadHandText(std::string_view text, std::int8_t* hand);

// One rank of a diagram: "|", nine cells of a side byte (" ", "v" or "V") and a piece
// letter for files 9 down to 1. False on a short line or an unknown letter.
bool ReadDiagramRank(std::string_view line, int rank, Position& pos);

}  // namespace shogi
