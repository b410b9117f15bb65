// The printed pages as plain data: the settings of the diagram print (CInsatsu), the
// diagram page (the problem picture's design scaled by the text height and the magnification)
// and the record page (header lines and three columns of move pairs), split into pages where
// one does not hold everything.
#pragma once

#include <string>
#include <vector>

#include "output/diagram_layout.h"
#include "rules/game_record.h"

namespace shogi {

enum class PrintKind { kRecord, kDiagram };

constexpr int kMaxMagnification = 5;
constexpr std::size_t kPrintTitleBytes = 99;
constexpr std::size_t kPrintLabelBytes = 11;
constexpr std::size_t kPrintCommentBytes = 99;
// The print commands work on records of at most this many plies shown.
constexpr int kPrintPlyLimit = 255;

// Kept while the program runs. Texts are UTF-8.
struct PrintSettings {
  PrintKind Kind = PrintKind::kRecord;
  int Magnification = 1;  // 1..5
  std::string Title;
  std::string SenteLabel;  // "棋士名１："
  std::string GoteLabel;   // "棋士名２："
  std::string Comments[3];
  int LastPlyCount = -1;  // PlyCount at the last diagram print
  int DiagramCounter = 0;
};

// "局面図印刷" before the dialog: when PlyCount differs from the last diagram print, remember
// it, clear the comments, count the diagram and build the title "【第Ｎ図は…まで】" preceded by
// spaces (11, or 22 from magnification 2, less half its cp932 byte length).
void PrepareDiagramPrint(PrintSettings& settings, const GameRecord& record);

// A line of text at a place on the page (device units), UTF-8.
struct PageText {
  int X = 0, Y = 0;
  std::string Text;
};

struct DiagramPage {
  DiagramLayout Layout;       // in device units from the page's top left
  int Width = 0, Height = 0;  // the extent of the layout
  std::vector<PageText> Texts;
};

// The diagram print at text height `h` on pages of `page_width` x `page_height`: a cell is
// the magnification times h, or less where the diagram's twelve columns would be wider than
// the page; the comments that do not fit on a page go on the next.
std::vector<DiagramPage> DiagramPrintPages(const Position& pos, const PrintSettings& settings,
                                           int h, int page_width, int page_height);

// The record print: each page a list of text lines (cp932 converted to UTF-8; "" an empty
// line), one text height apart. Rows of 35 (text height above 24) or 45 move pairs a column,
// three columns a page, an empty line after every fifth row; the rows stop after the one that
// holds the record's end (looked for from StartIndex up to list index 300).
std::vector<std::vector<std::string>> RecordPrintPages(const GameRecord& record, int h);

}  // namespace shogi
