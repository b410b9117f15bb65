// Printing through wxWidgets' framework: the printout of the record or the diagram (drawn from
// the UI-free page layouts of output/print_layout.h), print, preview and the printer set-up,
// and the one-bit pictures of output/ as bitmaps.
#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/print.h>

#include "output/one_bit_picture.h"
#include "output/print_layout.h"
#include "shell/program_state.h"
#include "shell/shell_user_interface.h"

namespace shogi::gui {

// What a print works from, copied when it starts.
struct PrintJob {
  PrintKind Kind = PrintKind::kRecord;
  GameRecord Record;
  Position Shown{};
  PrintSettings Settings;
};
PrintJob PrintJobOf(const ProgramState& state);

// The font the pages are written in: the Mincho face at 10 points on paper. wxWidgets sizes
// fonts in screen points, so on a device context whose logical unit is one printer pixel the
// size is `printer_per_screen` (the printer's pixels an inch over the screen's) times larger.
wxFont PrintFont(double printer_per_screen = 1.0);

// The number of pages of `job` on `dc`, its font set to the print font; `page` is the paper
// in logical units.
int PrintPageCount(wxDC& dc, const PrintJob& job, wxSize page);
// Draws page `page` (from 1) of `job` on `dc`, its font set to the print font, whose text
// height is the H that every measure of the page follows. The diagram is drawn as lines,
// polygons and text: pieces as characters of the print font scaled to their cells, gote's
// turned by 180 degrees.
void DrawPrintPage(wxDC& dc, const PrintJob& job, int page, wxSize size);

// A one-bit picture as a black-and-white bitmap.
wxBitmap PictureBitmap(const OneBitPicture& picture);

class CShogiPrintout : public wxPrintout {
 public:
  explicit CShogiPrintout(PrintJob job);

  void OnPreparePrinting() override;
  bool HasPage(int page) override;
  void GetPageInfo(int* min_page, int* max_page, int* from, int* to) override;
  bool OnPrintPage(int page) override;

 private:
  wxSize PageSize();
  // The printout's device context with one printer pixel a logical unit and the print font
  // sized for it; null when there is none.
  wxDC* PreparedDC();
  PrintJob job_;
  int pages_ = 1;
};

// The printer, the paper and the copies as last chosen, kept while the program runs.
wxPrintData& PrinterData();

// "印刷開始", "印刷プレビュー", "プリンタの設定" over `parent`.
void RunPrintAction(wxWindow* parent, const ProgramState& state, PrintAction action);

}  // namespace shogi::gui
