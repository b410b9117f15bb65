// The list of a file's games, twenty rows at a time.
#include "shell/record_list.h"

#include <algorithm>

namespace shogi {

void RecordListModel::ScrollTo(int top) {
  top_ = std::clamp(top, 0, ScrollMax());
}

std::string RecordListModel::ShownRow(int line) const {
  const int row = top_ + line;
  if (line < 0 || line >= kVisibleRows || row >= RowCount()) return {};
  return rows_[row];
}

bool RecordListModel::ChooseShown(int line) {
  const int row = top_ + line;
  if (line < 0 || line >= kVisibleRows || row >= RowCount()) return false;
  chosen_ = row + 1;
  return true;
}

}  // namespace shogi
