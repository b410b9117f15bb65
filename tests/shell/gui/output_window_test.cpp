// The output commands in the window: the standard diagram read back from the real clipboard,
// the record and diagram prints rendered through the printout's drawing into PNG pictures, and
// the problem bitmap dialog showing the picture of output/.
#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "shell/command_table.h"
#include "shell/gui/output_dialogs.h"
#include "shell/gui/printing.h"
#include "tests/shell/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

constexpr const char* kMiddleGame =
    "7g7f 3c3d 8h2b+ 3a2b 2g2f 8c8d 2f2e 8d8e 2e2d 2c2d 2h2d P*2c 2d2f 8e8f 8g8f 8b8f P*8g "
    "8f8d B*6e 4c4d 6e4c+ 4a4b 4c3b 4b3b";

class OutputWindowTest : public GuiFixture {
 protected:
  void ShowGame(const char* usi) {
    test_support::Game game;
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

  static bool Black(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) < 128 && image.GetGreen(x, y) < 128 && image.GetBlue(x, y) < 128;
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
    for (int y = m; y < m + h; ++y) header = header || Black(record, x, y);
    for (int y = m + 6 * h; y < m + 7 * h; ++y) row = row || Black(record, x, y);
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
    EXPECT_TRUE(Black(page, m + c, m + 2 * c)) << mag;
    EXPECT_TRUE(Black(page, m + 10 * c, m + 11 * c)) << mag;
    // The inside of the empty square 5e is white; 5i holds sente's king.
    bool empty_ink = false, king_ink = false;
    for (int y = 1; y < c; ++y) {
      for (int x = 1; x < c; ++x) {
        empty_ink = empty_ink || Black(page, m + 5 * c + x, m + 6 * c + y);
        king_ink = king_ink || Black(page, m + 5 * c + x, m + 10 * c + y);
      }
    }
    EXPECT_FALSE(empty_ink) << mag;
    EXPECT_TRUE(king_ink) << mag;
  }
}

TEST_F(DialogPictureTest, ProblemBitmapShowsThePictureAndFlipsIt) {
  test_support::Game game;
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
