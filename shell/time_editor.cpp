// The time-used editor's minutes table and pages.
#include "shell/time_editor.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp932.h"
#include "records/ki2_notation.h"

namespace shogi {

TimeEditor::TimeEditor(const GameRecord& record)
    : record_(record), moves_(RecordMoveCount(record)) {
  minutes_.assign(static_cast<std::size_t>(PageCount()) * kTimeEditorFields, 0);
  const int start = record.StartIndex;
  for (int i = 0; i < moves_; ++i) {
    // Each side's clock is cumulative: a move's time is the growth since that side's last move.
    const int before = i < 2 ? 0 : record.MoveTimes[start + i - 2];
    // Times that go down (a damaged or edited file) give no negative minutes: every field
    // the editor fills in is one its own check accepts.
    const long long seconds = static_cast<long long>(record.MoveTimes[start + i]) - before;
    minutes_[i] = static_cast<int>(std::clamp<long long>(seconds / 60, 0, kMaxFieldMinutes));
  }
}

std::string TimeEditor::PageLabel() const {
  char text[32];
  std::snprintf(text, sizeof text, "(%d/%d)", page_, PageCount());
  return text;
}

std::string TimeEditor::MoveLabel(int k) const {
  const int i = (page_ - 1) * kTimeEditorFields + k;
  if (k < 0 || k >= kTimeEditorFields || i >= moves_) return {};
  const int ply = record_.StartIndex + i;
  const std::string mark = Cp932(SideOfPly(ply) == kFirst ? "▲" : "△");
  std::string text = FormatKi2Move(record_, ply, mark);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return Utf8(text);
}

int TimeEditor::Field(int k) const {
  return minutes_[(page_ - 1) * kTimeEditorFields + k];
}

void TimeEditor::TakeFields(const std::array<int, kTimeEditorFields>& fields) {
  for (int k = 0; k < kTimeEditorFields; ++k)
    minutes_[(page_ - 1) * kTimeEditorFields + k] = std::clamp(fields[k], 0, kMaxFieldMinutes);
}

void TimeEditor::NextPage() {
  if (page_ < PageCount()) ++page_;
}

void TimeEditor::PreviousPage() {
  if (page_ > 1) --page_;
}

void TimeEditor::ClearAll() {
  std::fill(minutes_.begin(), minutes_.end(), 0);
}

void TimeEditor::Apply(GameRecord& record) const {
  std::int32_t sums[2] = {0, 0};
  for (int i = 0; i < moves_; ++i) {
    const int ply = record.StartIndex + i;
    std::int32_t& sum = sums[ply % 2];
    sum += minutes_[i] * 60;
    record.MoveTimes[ply] = sum;
  }
}

}  // namespace shogi
