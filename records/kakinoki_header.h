// What KIF and KI2 files share before their moves: the header lines (handicap, names,
// tournament, opening, date, side to move) in any order, the board diagram, and the words
// that end a record. Both readers take every line before the moves through one
// KakinokiHeader, so that the two formats accept the same headers.
#pragma once

#include <string_view>

#include "rules/game_record.h"

namespace shogi {

class KakinokiHeader {
 public:
  // Starts from `record` as PrepareRecordForReading left it: the even game, no names.
  explicit KakinokiHeader(GameRecord& record) : r_(record) {}

  // Takes one line before the moves. True when it was a header or diagram line (or one to
  // skip: comments "*", "#", "&", unknown "key：value" lines); false when it is none of these,
  // which the caller then reads as the start of the moves. `malformed` is set for a
  // diagram rank that cannot be read.
  bool Take(std::string_view line, bool& malformed);

  // Whether the header is complete for the moves to begin: a handicap name that is not
  // known needs the diagram after it, and a diagram needs all nine ranks.
  [[nodiscard]] bool ReadyForMoves() const;

  bool HasFirstName() const { return first_name_; }
  bool HasSecondName() const { return second_name_; }

 private:
  void TakeHandicap(std::string_view name);
  void StartDiagram(std::string_view gote_hand);

  GameRecord& r_;
  bool first_name_ = false, second_name_ = false;
  bool needs_diagram_ = false;  // 手合割 named no position we know
  int ranks_ = -1;              // diagram ranks read; -1 outside a diagram
};

// Whether `line` ends the main line: the first variation begins ("変化："; the variations
// are not read), or a summary line "まで64手で後手の勝ち" gives the result, stored in
// `result` (a record without an end word still gets its result from it).
[[nodiscard]] bool EndsMainLine(std::string_view line, int& result);

// How a record ends, by the word at the front of `text` (投了, 詰み, 中断, 千日手, 持将棋,
// 不詰, 切れ負け, 反則勝ち, 反則負け, 入玉勝ち, 不戦勝, 不戦敗, 封じ手: the sealed move of an
// adjourned game, no result) with the side to move given by `index`, the ply of the move
// that was not made: the ResultCode, or -1 when `text` holds no end word.
int EndWordResult(std::string_view text, int index);

// Whether `text` holds at byte `at` a word that no move begins with: a kana or kanji
// character other than 同 (a move begins with a full-width file digit or 同). Where the next
// move would stand, such a word (封じ手 and words we do not know) ends the game.
bool BeginsEndWordText(std::string_view text, std::size_t at);

}  // namespace shogi
