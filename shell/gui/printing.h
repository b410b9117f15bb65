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

// The font the pages are written in: the Mincho face at 10 points.
wxFont PrintFont();

// The number of pages of `job` on `dc` (its font set to PrintFont()).
int PrintPageCount(wxDC& dc, const PrintJob& job, wxSize page);
// Draws page `page` (from 1) of `job` on `dc`, whose page is `size` device units.
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
  PrintJob job_;
  int pages_ = 1;
};

// "印刷開始", "印刷プレビュー", "プリンタの設定" over `parent`.
void RunPrintAction(wxWindow* parent, const ProgramState& state, PrintAction action);

}  // namespace shogi::gui
