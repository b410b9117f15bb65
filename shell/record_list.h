// The list dialog of a file of several games (かや, 赤富士) without its window: the title, the
// header line, the rows, the twenty rows shown at a time under the scroll bar, and the game
// the person chose.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace shogi {

class RecordListModel {
 public:
  static constexpr int kVisibleRows = 20;

  RecordListModel(std::string title, std::string header, std::vector<std::string> rows)
      : title_(std::move(title)), header_(std::move(header)), rows_(std::move(rows)) {}

  const std::string& Title() const { return title_; }
  const std::string& Header() const { return header_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // The first shown row (from 0) and the scroll bar's highest position: the list scrolls
  // until its last row is the bottom one.
  int Top() const { return top_; }
  int ScrollMax() const { return RowCount() > kVisibleRows ? RowCount() - kVisibleRows : 0; }
  // Moves the first shown row to `top`, kept within 0..ScrollMax().
  void ScrollTo(int top);
  // The text of shown line `line` (0..19); "" below the last row.
  std::string ShownRow(int line) const;

  // Chooses the game on shown line `line`; false for an empty line.
  bool ChooseShown(int line);
  // The chosen game's number (from 1), 0 while none is chosen.
  int Chosen() const { return chosen_; }

 private:
  std::string title_, header_;
  std::vector<std::string> rows_;
  int top_ = 0;
  int chosen_ = 0;
};

}  // namespace shogi
