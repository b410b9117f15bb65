// The time-used editor "消費時間設定　　" (CShohi) without its window: the minutes of every
// move of the record, ten moves a page, and the move times rebuilt from them on OK.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/game_record.h"

namespace shogi {

inline constexpr const char kTimeEditorTitle[] = "消費時間設定　　";
constexpr int kTimeEditorFields = 10;
// A minutes field takes 0..9999; the sums of a whole record then stay far inside 32 bits.
constexpr int kMaxFieldMinutes = 9999;

// The dialog's state while it is open. The table holds one entry per move of the record:
// records longer than the old 302-entry table keep every move's minutes instead of being
// refused, since the move arrays (512) bound them anyway.
class TimeEditor {
 public:
  // Builds the minutes from the record's cumulative times (each within 0..kMaxFieldMinutes,
  // so that the fields as filled in pass the dialog's check) and shows page 1.
  explicit TimeEditor(const GameRecord& record);

  int MoveCount() const { return moves_; }
  int PageCount() const { return (moves_ - 1) / kTimeEditorFields + 1; }
  int Page() const { return page_; }
  // "(%d/%d)": the page and the page count.
  std::string PageLabel() const;
  // Move k (0..9) of the page: its KI2 text with its side mark (UTF-8), or "" past the
  // record's last move. On the dialog move k sits in row k / 2, left for even k.
  std::string MoveLabel(int k) const;
  // The minutes field of move k of the page.
  int Field(int k) const;
  const std::vector<int>& Minutes() const { return minutes_; }

  // The fields of the page as the person left them (次頁, 前頁 and ＯＫ take them first).
  void TakeFields(const std::array<int, kTimeEditorFields>& fields);
  void NextPage();      // 次頁: the next page, if there is one
  void PreviousPage();  // 前頁
  void ClearAll();      // ０クリア: every move's minutes 0
  // ＯＫ: the move times from the minutes, one running sum per side.
  void Apply(GameRecord& record) const;

 private:
  const GameRecord& record_;
  int moves_ = 0;
  int page_ = 1;
  std::vector<int> minutes_;  // PageCount() * 10 entries; those past the last move stay unused
};

}  // namespace shogi
