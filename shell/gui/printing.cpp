// The printout: record pages as lines of text, diagram pages as the diagram drawn one bit deep
// at the printer's resolution (the same Mincho characters as the problem bitmap) with the title
// and comments in the printer font.
#include "shell/gui/printing.h"

#include <algorithm>

#include <wx/cmndata.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/printdlg.h>

#include "output/problem_bitmap.h"

namespace shogi::gui {
namespace {

// Kept while the program runs: the printer and the page as last set up.
wxPrintData& PrinterData() {
  static wxPrintData data;
  return data;
}
wxPageSetupDialogData& PageData() {
  static wxPageSetupDialogData data(PrinterData());
  return data;
}

// The pages stand in from the paper's edge by two text lines.
int Margin(wxDC& dc) {
  return 2 * dc.GetCharHeight();
}

wxSize Printable(wxDC& dc, wxSize page) {
  const int m = Margin(dc);
  return wxSize(std::max(1, page.x - 2 * m), std::max(1, page.y - 2 * m));
}

// Writes a line with its characters on a grid of half text heights: a one-byte character of
// cp932 takes one column, a two-byte one two, each centred in its columns, so that the record's
// columns line up whatever widths the font gives its characters.
void DrawGridText(wxDC& dc, const std::string& utf8, int x, int y) {
  const int half = std::max(1, dc.GetCharHeight() / 2);
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    const wxString ch = wxString::FromUTF8(utf8.substr(i, n));
    // ASCII and the half-width katakana (U+FF61..U+FF9F) take one column.
    const auto byte = [&](std::size_t k) {
      return k < utf8.size() ? static_cast<unsigned char>(utf8[k]) : 0;
    };
    const bool half_kana = n == 3 && c == 0xEF &&
                           (byte(i + 1) == 0xBE || (byte(i + 1) == 0xBD && byte(i + 2) >= 0xA1));
    const int columns = n == 1 || half_kana ? 1 : 2;
    if (ch != " ") {
      const int w = dc.GetTextExtent(ch).x;
      dc.DrawText(ch, x + (columns * half - w) / 2, y);
    }
    x += columns * half;
    i += n;
  }
}

}  // namespace

PrintJob PrintJobOf(const ProgramState& state) {
  PrintJob job;
  job.Kind = state.Print.Kind;
  job.Record = state.Record;
  job.Shown = PositionAt(state.Record, state.Record.PlyCount);
  job.Settings = state.Print;
  return job;
}

wxFont PrintFont() {
  return wxFont(wxFontInfo(10).FaceName("IPAMincho").Encoding(wxFONTENCODING_DEFAULT));
}

int PrintPageCount(wxDC& dc, const PrintJob& job, wxSize page) {
  const int h = dc.GetCharHeight();
  if (job.Kind == PrintKind::kRecord)
    return static_cast<int>(RecordPrintPages(job.Record, h).size());
  return static_cast<int>(
      DiagramPrintPages(job.Shown, job.Settings, h, Printable(dc, page).y).size());
}

wxBitmap PictureBitmap(const OneBitPicture& picture) {
  wxImage image(picture.Width(), picture.Height());
  unsigned char* rgb = image.GetData();
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x, rgb += 3) {
      const unsigned char v = picture.IsBlack(x, y) ? 0 : 255;
      rgb[0] = rgb[1] = rgb[2] = v;
    }
  }
  return wxBitmap(image);
}

void DrawPrintPage(wxDC& dc, const PrintJob& job, int page, wxSize size) {
  const int h = dc.GetCharHeight();
  const int m = Margin(dc);
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxTRANSPARENT);
  if (job.Kind == PrintKind::kRecord) {
    const auto pages = RecordPrintPages(job.Record, h);
    if (page < 1 || page > static_cast<int>(pages.size())) return;
    int y = m;
    for (const std::string& line : pages[page - 1]) {
      DrawGridText(dc, line, m, y);
      y += h;
    }
    return;
  }
  const auto pages = DiagramPrintPages(job.Shown, job.Settings, h, Printable(dc, size).y);
  if (page < 1 || page > static_cast<int>(pages.size())) return;
  const DiagramPage& p = pages[page - 1];
  if (p.Width > 0 && p.Height > 0) {
    OneBitPicture picture(p.Width + 1, p.Height + 1);
    RenderDiagram(p.Layout, picture);
    dc.DrawBitmap(PictureBitmap(picture), m, m);
  }
  for (const PageText& t : p.Texts) DrawGridText(dc, t.Text, m + t.X, m + t.Y);
}

CShogiPrintout::CShogiPrintout(PrintJob job)
    : wxPrintout(job.Kind == PrintKind::kRecord ? "棋譜印刷" : "局面図印刷"),
      job_(std::move(job)) {}

wxSize CShogiPrintout::PageSize() {
  int w = 0, h = 0;
  GetPageSizePixels(&w, &h);
  return wxSize(w, h);
}

void CShogiPrintout::OnPreparePrinting() {
  if (wxDC* dc = GetDC()) {
    dc->SetFont(PrintFont());
    pages_ = std::max(1, PrintPageCount(*dc, job_, PageSize()));
  }
}

bool CShogiPrintout::HasPage(int page) {
  return page >= 1 && page <= pages_;
}

void CShogiPrintout::GetPageInfo(int* min_page, int* max_page, int* from, int* to) {
  *min_page = *from = 1;
  *max_page = *to = pages_;
}

bool CShogiPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (dc == nullptr) return false;
  // The preview draws smaller than the printer: the printer's pixels are mapped onto its DC.
  FitThisSizeToPaper(PageSize());
  dc->SetFont(PrintFont());
  DrawPrintPage(*dc, job_, page, PageSize());
  return true;
}

void RunPrintAction(wxWindow* parent, const ProgramState& state, PrintAction action) {
  switch (action) {
    case PrintAction::kPrint: {
      wxPrintDialogData data(PrinterData());
      wxPrinter printer(&data);
      CShogiPrintout printout(PrintJobOf(state));
      if (printer.Print(parent, &printout, true))
        PrinterData() = printer.GetPrintDialogData().GetPrintData();
      break;
    }
    case PrintAction::kPreview: {
      wxPrintDialogData data(PrinterData());
      auto* preview = new wxPrintPreview(new CShogiPrintout(PrintJobOf(state)),
                                         new CShogiPrintout(PrintJobOf(state)), &data);
      if (!preview->IsOk()) {
        delete preview;
        return;
      }
      auto* frame = new wxPreviewFrame(preview, parent, "印刷プレビュー", wxDefaultPosition,
                                       wxSize(700, 800));
      frame->Centre(wxBOTH);
      frame->Initialize();
      frame->Show();
      break;
    }
    case PrintAction::kSetup: {
      PageData() = wxPageSetupDialogData(PrinterData());
      wxPageSetupDialog dialog(parent, &PageData());
      if (dialog.ShowModal() == wxID_OK) {
        PageData() = dialog.GetPageSetupDialogData();
        PrinterData() = PageData().GetPrintData();
      }
      break;
    }
  }
}

}  // namespace shogi::gui
