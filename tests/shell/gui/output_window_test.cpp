// The output commands in the window: the standard diagram read back from the real clipboard,
// the record and diagram prints rendered through the printout's drawing into PNG pictures, and
// the problem bitmap dialog showing the picture of output/.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/gtk/print.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "shell/command_table.h"
#include "shell/gui/output_dialogs.h"
#include "shell/gui/printing.h"
#include "tests/shell/gui/gui_fixture.h"
#include "tests/support/test_files.h"

namespace shogi::gui {
namespace {

// What the test needs of GTK to answer the platform's print dialog, looked up in the toolkit
// that wxWidgets has loaded (the build has no GTK headers).
struct GtkListNode {
  void* data;
  GtkListNode* next;
  GtkListNode* prev;
};
template <class F>
F GtkFunction(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

// Prints `state` through 印刷開始 on A4 into <pictures>/<name>.pdf, the printer "Print to
// File" chosen beforehand: when the print dialog shows, the screen is saved as the picture
// print_dialog and the dialog is answered with its print button. The page as a picture of
// `dpi` dots an inch, also written as <name>.png; empty when no print dialog came. `pdf`
// receives the file's bytes.
wxImage PrintedPage(wxWindow* parent, const ProgramState& state, const std::string& name, int dpi,
                    std::string& pdf) {
  const std::string png = GuiFixture::PicturePath(name).utf8_string();
  const std::string path = png.substr(0, png.size() - 4) + ".pdf";
  wxPrintData& data = PrinterData();
  data.SetPrinterName("Print to File");
  data.SetPaperId(wxPAPER_A4);
  data.ConvertToNative();
  auto* settings = static_cast<wxGtkPrintNativeData*>(data.GetNativeData())->GetPrintConfig();
  const auto set =
      GtkFunction<void (*)(GtkPrintSettings*, const char*, const char*)>("gtk_print_settings_set");
  const auto toplevels = GtkFunction<GtkListNode* (*)()>("gtk_window_list_toplevels");
  const auto dialog_type = GtkFunction<unsigned long (*)()>("gtk_print_unix_dialog_get_type");
  const auto is_a = GtkFunction<int (*)(void*, unsigned long)>("g_type_check_instance_is_a");
  const auto printer = GtkFunction<void* (*)(void*)>("gtk_print_unix_dialog_get_selected_printer");
  const auto respond = GtkFunction<void (*)(void*, int)>("gtk_dialog_response");
  if (!set || !toplevels || !dialog_type || !is_a || !printer || !respond) return wxImage();
  set(settings, "output-uri", ("file://" + path).c_str());
  set(settings, "output-file-format", "pdf");
  std::remove(path.c_str());  // else the dialog asks whether to replace it

  bool shown = false;
  wxEvtHandler handler;
  wxTimer timer(&handler);
  handler.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (GtkListNode* w = toplevels(); w != nullptr; w = w->next) {
      if (!is_a(w->data, dialog_type()) || printer(w->data) == nullptr) continue;
      // Under Xvfb the toolkit paints only the first dialog of the program.
      static bool pictured = false;
      if (!pictured) GuiFixture::SaveScreenPicture(wxRect(wxGetDisplaySize()), "print_dialog");
      pictured = true;
      shown = true;
      respond(w->data, -5);  // GTK_RESPONSE_OK
    }
  });
  timer.Start(500);
  RunPrintAction(parent, state, PrintAction::kPrint);
  timer.Stop();
  // The file printer writes the job out from the event loop.
  for (int i = 0; i < 200 && (pdf = test::FileBytes(path)).find("%%EOF") == pdf.npos; ++i) {
    GuiFixture::Pump();
    wxMilliSleep(50);
  }
  const std::string command = std::string(SHOGI_PDFTOPPM) + " -r " + std::to_string(dpi) +
                              " -png -singlefile '" + path + "' '" + png.substr(0, png.size() - 4) +
                              "'";
  wxImage image;
  if (shown && std::system(command.c_str()) == 0) image.LoadFile(wxString::FromUTF8(png));
  return image;
}

bool Dark(const wxImage& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight() &&
         image.GetRed(x, y) < 128 && image.GetGreen(x, y) < 128 && image.GetBlue(x, y) < 128;
}

// The longest run of dark pixels along a row of `image` of at most `most` pixels: where it
// starts and how long it is (the board's top line, in a picture of a diagram).
wxRect LongestDarkRow(const wxImage& image, int most = 1 << 30) {
  wxRect best;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0, run = 0; x <= image.GetWidth(); ++x) {
      if (Dark(image, x, y)) {
        ++run;
        continue;
      }
      if (run > best.width && run <= most) best = wxRect(x - run, y, run, 1);
      run = 0;
    }
  }
  return best;
}

// The rows of `area` in `image` that hold ink: the first and the last (-1, -1 when none).
std::pair<int, int> InkRows(const wxImage& image, const wxRect& area) {
  int first = -1, last = -1;
  for (int y = area.GetTop(); y <= area.GetBottom(); ++y) {
    for (int x = area.GetLeft(); x <= area.GetRight(); ++x) {
      if (!Dark(image, x, y)) continue;
      if (first < 0) first = y;
      last = y;
      break;
    }
  }
  return {first, last};
}

constexpr const char* kMiddleGame =
    "7g7f 3c3d 8h2b+ 3a2b 2g2f 8c8d 2f2e 8d8e 2e2d 2c2d 2h2d P*2c 2d2f 8e8f 8g8f 8b8f P*8g "
    "8f8d B*6e 4c4d 6e4c+ 4a4b 4c3b 4b3b";

class OutputWindowTest : public GuiFixture {
 protected:
  void ShowGame(const char* usi) {
    test::Game game;
    ASSERT_TRUE(game.Play(usi));
    CopyCp932Field(game.record.FirstName, Cp932("先手太郎"));
    CopyCp932Field(game.record.SecondName, Cp932("後手花子"));
    view->State().Record = game.record;
    RebuildShown(view->State());
  }

  // A page as the printout draws it: A4 at 100 dots an inch, the print font, white paper.
  wxImage PrintedPage(const PrintJob& job, int page, const std::string& name) {
    const wxSize size(827, 1169);
    wxBitmap bitmap(size.x, size.y, 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(*wxWHITE_BRUSH);
      dc.Clear();
      dc.SetFont(PrintFont());
      DrawPrintPage(dc, job, page, size);
    }
    EXPECT_TRUE(bitmap.ConvertToImage().SaveFile(PicturePath(name), wxBITMAP_TYPE_PNG));
    return bitmap.ConvertToImage();
  }
};

// The 出力 and 印刷 menus hold their items in order; the tool bar's last but one button prints.
TEST_F(OutputWindowTest, TheOutputAndPrintMenusAndThePrintButton) {
  wxMenuBar* bar = frame->GetMenuBar();
  const struct {
    const char* title;
    std::vector<int> ids;
  } menus[] = {
      {"出力(&O)",
       {kCmdOutputFile, 0, kCmdStandardDiagram, kCmdKayaDiagram, kCmdMergedDiagram,
        kCmdMoritaDiagram, kCmdMailDiagram, 0, kCmdStandardRecord, kCmdKayaRecord}},
      {"印刷(&P)",
       {kCmdRecordPrint, kCmdDiagramPrint, 0, kCmdPrint, kCmdPrintPreview, kCmdPrintSetup}},
  };
  for (const auto& m : menus) {
    const int index = bar->FindMenu(wxString::FromUTF8(m.title));
    ASSERT_NE(index, wxNOT_FOUND) << m.title;
    wxMenu* menu = bar->GetMenu(static_cast<std::size_t>(index));
    std::vector<int> ids;
    for (const wxMenuItem* item : menu->GetMenuItems())
      ids.push_back(item->IsSeparator() ? 0 : item->GetId());
    EXPECT_EQ(ids, m.ids) << m.title;
  }
  wxToolBar* tools = frame->GetToolBar();
  ASSERT_NE(tools, nullptr);
  const int count = static_cast<int>(tools->GetToolsCount());
  EXPECT_EQ(tools->GetToolByPos(count - 2)->GetId(), kCmdPrint);
  EXPECT_EQ(tools->GetToolByPos(count - 1)->GetId(), kCmdAbout);
}

TEST_F(OutputWindowTest, TheStandardDiagramIsReadBackFromTheClipboard) {
  ShowGame(kMiddleGame);
  view->RunCommand(kCmdStandardDiagram);
  ASSERT_FALSE(ui.Messages.empty());
  EXPECT_EQ(ui.Messages.back().Text, "クリップボードに作成しました。");
  wxTextDataObject data;
  {
    wxClipboardLocker locker;
    ASSERT_FALSE(!locker);
    ASSERT_TRUE(wxTheClipboard->GetData(data));
  }
  const std::string text = data.GetText().utf8_string();
  EXPECT_EQ(text, Utf8(WithCrLf(StandardDiagram(view->State().Record))));
  EXPECT_EQ(text.substr(0, text.find('\r')), "後手24手目同金");
  EXPECT_NE(text.find("|v香v桂v銀v金v玉 ・ ・v桂v香|一  ▽４四歩\r\n"), std::string::npos);
}

TEST_F(OutputWindowTest, PrintedPagesOfTheRecordAndTheDiagram) {
  ShowGame(kMiddleGame);
  PrintJob job = PrintJobOf(view->State());
  job.Kind = PrintKind::kRecord;
  wxBitmap probe(10, 10, 24);
  wxMemoryDC measure(probe);
  measure.SetFont(PrintFont());
  const int h = measure.GetCharHeight();
  const int m = 2 * h;
  ASSERT_GT(h, 5);
  const wxImage record = PrintedPage(job, 1, "print_record");
  // Something is written on the first header line and on the first move row.
  bool header = false, row = false;
  for (int x = m; x < m + 200; ++x) {
    for (int y = m; y < m + h; ++y) header = header || Dark(record, x, y);
    for (int y = m + 6 * h; y < m + 7 * h; ++y) row = row || Dark(record, x, y);
  }
  EXPECT_TRUE(header);
  EXPECT_TRUE(row);

  job.Kind = PrintKind::kDiagram;
  PrepareDiagramPrint(job.Settings, job.Record);
  job.Settings.SenteLabel = "▲先手太郎";
  job.Settings.GoteLabel = "▽後手花子";
  job.Settings.Comments[0] = "次の一手は？";
  for (int mag : {1, 3}) {
    job.Settings.Magnification = mag;
    const wxImage page = PrintedPage(job, 1, "print_diagram_x" + std::to_string(mag));
    const int c = mag * h;
    // The grid's corners: (C, 2C) and (10C, 11C) from the page's margin.
    EXPECT_TRUE(Dark(page, m + c, m + 2 * c)) << mag;
    EXPECT_TRUE(Dark(page, m + 10 * c, m + 11 * c)) << mag;
    // The inside of the empty square 5e is white; 5i holds sente's king.
    bool empty_ink = false, king_ink = false;
    for (int y = 1; y < c; ++y) {
      for (int x = 1; x < c; ++x) {
        empty_ink = empty_ink || Dark(page, m + 5 * c + x, m + 6 * c + y);
        king_ink = king_ink || Dark(page, m + 5 * c + x, m + 10 * c + y);
      }
    }
    EXPECT_FALSE(empty_ink) << mag;
    EXPECT_TRUE(king_ink) << mag;
  }
}

// A mate problem's diagram with long hands, shown in the window with its title and labels.
void ShowProblemForPrint(CShogiView& view, int magnification) {
  test::Game game("7nl/5+Ls1k/6ppp/9/8P/9/9/9/4K4 b R2Pb2g2s2n2l9p 1");
  view.State().Record = game.record;
  RebuildShown(view.State());
  PrintSettings& print = view.State().Print;
  print.Kind = PrintKind::kDiagram;
  PrepareDiagramPrint(print, view.State().Record);
  print.SenteLabel = "▲先手太郎";
  print.GoteLabel = "▽後手花子";
  print.Comments[0] = "次の一手は？";
  print.Magnification = magnification;
}

// 印刷開始 shows the print dialog (printer, copies) and prints on A4 at the printer's
// resolution: the diagram as lines and text (no picture in the file), its cells three text
// lines of the 10-point font high at magnification 3, the hands in their columns beside the
// board, clear of the title; then the record on a page of its own.
TEST_F(DialogPictureTest, PrintedDiagramOnA4) {
  ShowProblemForPrint(*view, 3);
  constexpr int kDpi = 100;
  std::string pdf;
  const wxImage page = PrintedPage(frame, view->State(), "printed_diagram", kDpi, pdf);
  EXPECT_EQ(pdf.find("/Image"), std::string::npos);
  EXPECT_NE(pdf.find("IPAMincho"), std::string::npos);
  ASSERT_NEAR(page.GetWidth(), 827, 2);  // A4
  const wxRect top = LongestDarkRow(page);
  const double cell_points = top.width / 9.0 * 72 / kDpi;
  EXPECT_GE(cell_points, 3 * 9.0);
  EXPECT_LE(cell_points, 3 * 12.0);
  // The columns beside the board hold ink from the digits' row to the board's foot only,
  // below the title and above the comments.
  const int c = top.width / 9, x0 = top.x, y0 = top.y;
  for (const int left : {x0 - c, x0 + 10 * c + 2}) {
    const auto [first, last] = InkRows(page, wxRect(left, 0, c - 2, y0 + 10 * c));
    EXPECT_GE(first, y0 - c) << left;
    EXPECT_LE(last, y0 + 9 * c + 2) << left;
  }
  // The title: one line of the font, a third of a cell, at the top.
  const auto [title_top, title_foot] = InkRows(page, wxRect(x0, 0, 9 * c, y0 - c));
  EXPECT_GE(title_top, y0 - 2 * c - 1);
  EXPECT_LE(title_foot, y0 - 2 * c + c / 3 + 1);

  test::Game game;
  ASSERT_TRUE(game.Play(kMiddleGame));
  view->State().Record = game.record;
  view->State().Print.Kind = PrintKind::kRecord;
  const wxImage record = PrintedPage(frame, view->State(), "printed_record", kDpi, pdf);
  ASSERT_TRUE(record.IsOk());
  // Lines of 10 points: six header lines and twelve rows of moves with two empty lines.
  const auto [first, last] = InkRows(record, wxRect(0, 0, record.GetWidth(), record.GetHeight()));
  EXPECT_NEAR(last - first, 20 * 10 * kDpi / 72, 5 * kDpi / 72);
}

// 印刷プレビュー opens at 100 % with the page as large as on paper: the board of magnification
// 2 is eighteen lines of the 10-point font wide on the screen.
TEST_F(DialogPictureTest, PrintPreviewOfTheDiagram) {
  ShowProblemForPrint(*view, 2);
  RunPrintAction(frame, view->State(), PrintAction::kPreview);
  wxPreviewFrame* preview = nullptr;
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* p = dynamic_cast<wxPreviewFrame*>(w)) preview = p;
  ASSERT_NE(preview, nullptr);
  // The page's edge is longer than half the picture; the board's lines are not.
  const wxImage shot = SaveShownDialogPicture(*preview, "print_preview");
  const double ten_points = wxGetDisplayPPI().y * 10.0 / 72;
  EXPECT_GE(LongestDarkRow(shot, shot.GetWidth() / 2).width, 2 * 9 * ten_points * 0.9);
  preview->Destroy();
  Pump();
}

TEST_F(DialogPictureTest, ProblemBitmapShowsThePictureAndFlipsIt) {
  test::Game game;
  ASSERT_TRUE(game.Play(kMiddleGame));
  view->State().Record = game.record;
  RebuildShown(view->State());
  MemoryProfile settings_profile;
  ProgramSettings settings;
  settings.Files.Bitmap = "/tmp/never-written.bmp";
  ShellContext ctx{view->State(), ui, nullptr, nullptr};
  ProblemBitmapSession session(ctx, settings_profile, settings);
  CTumeBmp dialog(frame, session);
  EXPECT_EQ(dialog.GetTitle().utf8_string(), "詰将棋--->BMP");
  const auto shown = [&] { return dialog.Picture()->GetBitmap().ConvertToImage(); };
  const auto same = [](const wxImage& a, const wxImage& b) {
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
  };
  const wxImage first = shown();
  EXPECT_EQ(first.GetWidth(), 200);
  EXPECT_EQ(first.GetHeight(), 168);
  EXPECT_TRUE(same(
      first, PictureBitmap(DrawProblem(view->State().Shown, "▲先手", "▽後手")).ConvertToImage()));
  dialog.PressFlip();
  EXPECT_FALSE(same(shown(), first));
  dialog.PressFlip();
  EXPECT_TRUE(same(shown(), first));
  dialog.SenteField()->ChangeValue(wxString::FromUTF8("▲先手番"));
  dialog.PressRedraw();
  EXPECT_EQ(ui.LastMessage(), "棋士名は6バイト以内で入力してください。");
  dialog.SenteField()->ChangeValue(wxString::FromUTF8("▲攻方"));
  dialog.PressRedraw();
  EXPECT_FALSE(same(shown(), first));
  SaveDialogPicture(dialog, "problem_bitmap_dialog");
}

}  // namespace
}  // namespace shogi::gui
