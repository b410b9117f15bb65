// The pages of the two prints.
#include "output/print_layout.h"

#include <algorithm>
#include <cstdio>

#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "records/ki2_notation.h"

namespace shogi {
namespace {

constexpr const char* kWideDigits[10] = {"０", "１", "２", "３", "４",
                                         "５", "６", "７", "８", "９"};

std::string FieldUtf8(const char* field, std::size_t size) {
  return Utf8(FieldText(field, size));
}

// The list index after the record's last move, looked for from StartIndex up to index 300.
int RecordPrintEnd(const GameRecord& record) {
  int end = record.StartIndex;
  while (end <= kRecordTextLastIndex && end < kMaxMoves && !IsEndMarker(record.MoveList[end]))
    ++end;
  return end;
}

// The 16-byte KI2 field with side mark of list index `index`; blanks before StartIndex and
// after the end.
std::string MoveField(const GameRecord& record, int index, int end) {
  if (index < record.StartIndex || index >= end) return std::string(kKi2MoveFieldWidth, ' ');
  return FormatKi2Move(record, index, Cp932(SideOfPly(index) == kFirst ? "▲" : "△"));
}

}  // namespace

void PrepareDiagramPrint(PrintSettings& settings, const GameRecord& record) {
  if (record.PlyCount == settings.LastPlyCount) return;
  settings.LastPlyCount = record.PlyCount;
  for (std::string& c : settings.Comments) c.clear();
  ++settings.DiagramCounter;
  std::string title =
      Cp932("【第") + Cp932(kWideDigits[settings.DiagramCounter % 10]) + Cp932("図");
  if (record.PlyCount > record.StartIndex) {
    // The 16-byte field without its padding: the title closes right after the move.
    std::string move = FormatKi2Move(record, record.PlyCount - 1, "");
    while (!move.empty() && move.back() == ' ') move.pop_back();
    title += Cp932("は") + move + Cp932("まで");
  }
  title += Cp932("】");
  const int indent = (settings.Magnification == 1 ? 11 : 22) - static_cast<int>(title.size()) / 2;
  settings.Title = std::string(static_cast<std::size_t>(std::max(0, indent)), ' ') + Utf8(title);
}

std::vector<DiagramPage> DiagramPrintPages(const Position& pos, const PrintSettings& settings,
                                           int h, int page_width, int page_height) {
  const int mag = std::clamp(settings.Magnification, 1, kMaxMagnification);
  // The whole design shrinks with the cell where it would not fit across the page.
  const int c = std::max(1, std::min(mag * h, page_width / 12));
  h = std::max(1, c / mag);
  static constexpr int kMarginQuarters[kMaxMagnification + 1] = {0, 0, 2, 3, 4, 5};
  DiagramMetrics metrics;
  metrics.Cell = c;
  metrics.Left = 0;
  metrics.Top = c;
  metrics.DigitMargin = kMarginQuarters[mag] * h / 4;
  metrics.Inset = std::max(1, c / 10);
  std::vector<DiagramPage> pages(1);
  DiagramPage& first = pages[0];
  first.Layout = LayoutDiagram(pos, settings.SenteLabel.empty() ? " " : settings.SenteLabel,
                               settings.GoteLabel.empty() ? " " : settings.GoteLabel, metrics);
  first.Width = 12 * c;
  first.Height = 11 * c;
  first.Texts.push_back({mag == 1 ? 0 : c - h / 3, 0, settings.Title});
  int y = 12 * c;  // one cell below the board
  for (const std::string& comment : settings.Comments) {
    if (y + h > page_height && y > 0) {
      pages.emplace_back();
      y = 0;
    }
    pages.back().Texts.push_back({0, y, comment});
    y += c;
  }
  return pages;
}

std::vector<std::vector<std::string>> RecordPrintPages(const GameRecord& record, int h) {
  const int rows = h > 24 ? 35 : 45;
  const int end = RecordPrintEnd(record);
  std::vector<std::vector<std::string>> pages(1);
  std::vector<std::string>& header = pages[0];
  header.push_back("先手：" + FieldUtf8(record.FirstName, sizeof record.FirstName));
  header.push_back("後手：" + FieldUtf8(record.SecondName, sizeof record.SecondName));
  header.push_back("棋戦：" + FieldUtf8(record.Tournament, sizeof record.Tournament));
  char date[64];
  std::snprintf(date, sizeof date, "日付：%4d年%2d月%2d日", record.Year, record.Month, record.Day);
  header.push_back(date);
  header.push_back("戦型：" + FieldUtf8(record.Opening, sizeof record.Opening));
  header.push_back("");
  // Page p holds columns 3p..3p+2, each `rows` pairs of list entries.
  for (int page = 0;; ++page) {
    const int base = page * 3 * rows * 2;
    if (base >= end && page > 0) break;
    if (page > 0) pages.emplace_back();
    for (int row = 0; row < rows; ++row) {
      const int first = base + row * 2;
      if (first >= end && !(page == 0 && row == 0)) break;
      std::string line;
      for (int column = 0; column < 3; ++column) {
        const int index = first + column * rows * 2;
        if (column > 0) line += "    ";
        line += MoveField(record, index, end) + MoveField(record, index + 1, end);
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      pages.back().push_back(Utf8(line));
      if (row % 5 == 4) pages.back().push_back("");
    }
    if (base + 3 * rows * 2 >= end) break;
  }
  return pages;
}

}  // namespace shogi
