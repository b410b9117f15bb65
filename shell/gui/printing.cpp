// The printout: record pages as lines of text; diagram pages as the diagram's lines, marks and
// characters drawn with the print font at the printer's resolution, with the title and the
// comments in the same font.
#include "shell/gui/printing.h"

#include <algorithm>
#include <map>
#include <vector>

#include <wx/cmndata.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/printdlg.h>

namespace shogi::gui {
namespace {

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

// Draws the diagram's drawing data from (x, y): lines a sixteenth of the text height wide,
// each character as text of the dc's font scaled to the smaller side of its glyph and centred
// in its box (gote's turned by 180 degrees), the side marks as polygons. A printer's context
// does not squeeze text, so 成 over its base kanji is drawn at half size.
void DrawDiagram(wxDC& dc, const DiagramLayout& layout, int x, int y) {
  const int h = dc.GetCharHeight();
  const wxFont font = dc.GetFont();
  // A full-width character is one em wide.
  const int em = std::max(1, dc.GetTextExtent(wxString::FromUTF8("国")).x);
  dc.SetPen(wxPen(*wxBLACK, std::max(1, h / 16)));
  for (const DiagramLine& l : layout.Lines) dc.DrawLine(x + l.X1, y + l.Y1, x + l.X2, y + l.Y2);
  std::map<int, wxFont> sized;
  for (const DiagramGlyph& g : layout.Glyphs) {
    const int size = std::max(1, std::min(g.GlyphWidth, g.GlyphHeight));
    auto f = sized.find(size);
    if (f == sized.end())
      f = sized.emplace(size, font.Scaled(static_cast<float>(size) / static_cast<float>(em))).first;
    dc.SetFont(f->second);
    const wxString text = wxString::FromUTF8(g.Text);
    const wxSize extent = dc.GetTextExtent(text);
    const int left = x + g.X + (g.Width - extent.x) / 2;
    const int top = y + g.Y + (g.Height - extent.y) / 2;
    if (g.Turned)
      dc.DrawRotatedText(text, left + extent.x, top + extent.y, 180);
    else
      dc.DrawText(text, left, top);
  }
  dc.SetFont(font);
  // An outline is drawn as a closed line, not as a polygon with a transparent brush: the
  // GTK printer's context then keeps a transparent colour for the text that follows.
  dc.SetBrush(*wxBLACK_BRUSH);
  for (const DiagramMark& m : layout.Marks) {
    std::vector<wxPoint> corners;
    for (const PicturePoint& p : MarkCorners(m)) corners.emplace_back(x + p.X, y + p.Y);
    if (m.Filled) {
      dc.DrawPolygon(static_cast<int>(corners.size()), corners.data());
    } else {
      corners.push_back(corners.front());
      dc.DrawLines(static_cast<int>(corners.size()), corners.data());
    }
  }
}

}  // namespace

wxPrintData& PrinterData() {
  static wxPrintData data;
  return data;
}

PrintJob PrintJobOf(const ProgramState& state) {
  PrintJob job;
  job.Kind = state.Print.Kind;
  job.Record = state.Record;
  job.Shown = PositionAt(state.Record, state.Record.PlyCount);
  job.Settings = state.Print;
  return job;
}

wxFont PrintFont(double printer_per_screen) {
  return wxFont(
      wxFontInfo(10.0 * printer_per_screen).FaceName("IPAMincho").Encoding(wxFONTENCODING_DEFAULT));
}

int PrintPageCount(wxDC& dc, const PrintJob& job, wxSize page) {
  const int h = dc.GetCharHeight();
  if (job.Kind == PrintKind::kRecord)
    return static_cast<int>(RecordPrintPages(job.Record, h).size());
  const wxSize printable = Printable(dc, page);
  return static_cast<int>(
      DiagramPrintPages(job.Shown, job.Settings, h, printable.x, printable.y).size());
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
  const wxSize printable = Printable(dc, size);
  const auto pages = DiagramPrintPages(job.Shown, job.Settings, h, printable.x, printable.y);
  if (page < 1 || page > static_cast<int>(pages.size())) return;
  const DiagramPage& p = pages[page - 1];
  DrawDiagram(dc, p.Layout, m, m);
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

wxDC* CShogiPrintout::PreparedDC() {
  wxDC* dc = GetDC();
  if (dc == nullptr) return nullptr;
  // The preview draws smaller than the printer: the printer's pixels are mapped onto its DC.
  FitThisSizeToPaper(PageSize());
  int screen_x = 0, screen_y = 0, printer_x = 0, printer_y = 0;
  GetPPIScreen(&screen_x, &screen_y);
  GetPPIPrinter(&printer_x, &printer_y);
  dc->SetFont(PrintFont(screen_y > 0 && printer_y > 0 ? double(printer_y) / screen_y : 1.0));
  return dc;
}

void CShogiPrintout::OnPreparePrinting() {
  if (wxDC* dc = PreparedDC()) pages_ = std::max(1, PrintPageCount(*dc, job_, PageSize()));
}

bool CShogiPrintout::HasPage(int page) {
  return page >= 1 && page <= pages_;
}

void CShogiPrintout::GetPageInfo(int* min_page, int* max_page, int* from, int* to) {
  *min_page = *from = 1;
  *max_page = *to = pages_;
}

bool CShogiPrintout::OnPrintPage(int page) {
  wxDC* dc = PreparedDC();
  if (dc == nullptr) return false;
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
      // At 100 % the page shows at its size on paper; the frame takes an A4 page's width
      // and what the screen has of its height.
      preview->SetZoom(100);
      const wxRect screen = wxGetClientDisplayRect();
      const int width = wxGetDisplayPPI().x * 210 * 10 / 254 + 80;
      auto* frame = new wxPreviewFrame(
          preview, parent, wxString::FromUTF8("印刷プレビュー"), wxDefaultPosition,
          wxSize(std::min(width, screen.width), screen.height * 9 / 10));
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
