// The frame: menus, tool bar, status bar and closing.
#include "shell/gui/main_frame.h"

#include <wx/display.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "resources/commands.h"
#include "shell/board_setup.h"

namespace shogi::gui {
namespace {

using namespace shogi::resources;

wxString U(const char* utf8) {
  return wxString::FromUTF8(utf8);
}

// The status text of a prompt (before "\n") and its tool tip (after).
void SplitPrompt(const char* prompt, wxString& status, wxString& tip) {
  wxString all = U(prompt);
  status = all.BeforeFirst('\n');
  tip = all.AfterFirst('\n');
}

constexpr int kSeparator = -1;
using Ids = std::initializer_list<int>;

}  // namespace

CMainFrame::CMainFrame(const ViewOptions& options)
    : wxFrame(nullptr, wxID_ANY, "Shogi", wxDefaultPosition, wxSize(kFrameWidth, kFrameHeight),
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX) {
  const wxRect work = wxDisplay(static_cast<unsigned>(0)).GetClientArea();
  const WindowPlacement placement =
      LoadWindowPlacement(*options.Settings, work.GetWidth(), work.GetHeight());
  SetPosition(wxPoint(placement.X, placement.Y));

  BuildMenus();
  BuildToolBar();
  CreateStatusBar(4);
  const int widths[4] = {-1, 44, 44, 48};
  SetStatusWidths(4, widths);

  view_ = new CShogiView(this, options);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(view_, 1, wxEXPAND);
  SetSizer(sizer);
  // Menus and bars are taller on some platforms than the layout allows for: the view keeps
  // its full size and the frame grows instead.
  const wxSize client = GetClientSize();
  if (client.x < kViewWidth || client.y < kViewHeight) {
    SetClientSize(std::max(client.x, kViewWidth), std::max(client.y, kViewHeight));
  }
  SetDocumentName("");

  view_->OnDocumentName = [this](const std::string& path) { SetDocumentName(path); };
  view_->OnEndProgram = [this](int code) {
    exit_code_ = code;
    CallAfter([this] { Destroy(); });
  };
  Bind(
      wxEVT_MENU, [this](wxCommandEvent& e) { view_->RunCommand(e.GetId()); }, kCmdReadKif,
      kCmdResultFirst + 20);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, kCmdReadKif, kCmdResultFirst + 20);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleIndicators, this);
}

void CMainFrame::BuildMenus() {
  auto add = [this](wxMenu* menu, int id, wxItemKind kind = wxITEM_NORMAL) {
    if (id == kSeparator) {
      menu->AppendSeparator();
      return;
    }
    const CommandText* text = FindCommandText(id);
    wxString status, tip;
    if (text) SplitPrompt(text->Prompt, status, tip);
    menu->Append(id, text ? U(text->Label) : wxString(), status, kind);
  };
  auto* bar = new wxMenuBar;

  auto* file = new wxMenu;
  for (int id :
       Ids{kCmdReadKif, kCmdReadKi2, kCmdReadCsa, kSeparator, kCmdSaveKif, kSeparator, kCmdExit}) {
    add(file, id);
  }
  bar->Append(file, U("ファイル(&F)"));

  auto* view = new wxMenu;
  add(view, kCmdFlip, wxITEM_CHECK);
  add(view, kCmdClockMinutes, wxITEM_CHECK);
  add(view, kSeparator);
  add(view, kCmdWindowPosition);
  bar->Append(view, U("表示(&V)"));

  auto* replay = new wxMenu;
  for (int id :
       Ids{kCmdStepForward, kCmdContinuousForward, kCmdToLast, kSeparator, kCmdStepBack,
           kCmdContinuousBack, kCmdToInitial, kSeparator, kCmdReplaySpeed, kCmdStopReplay}) {
    add(replay, id);
  }
  replay->AppendSeparator();
  auto* results = new wxMenu;
  for (int code = 0; code < kResultCodeCount; ++code) {
    results->AppendCheckItem(ResultCommand(code), U(ResultMenuText(code)));
  }
  replay->AppendSubMenu(results, U("勝敗結果"));
  bar->Append(replay, U("再現(&R)"));

  auto* game = new wxMenu;
  for (int id : Ids{kCmdStartGame, kCmdStartComputerGame, kCmdSuspend, kCmdResign, kSeparator,
                    kCmdConditions, kCmdComputerConditions, kSeparator}) {
    add(game, id);
  }
  add(game, kCmdRepetitionCheck, wxITEM_CHECK);
  bar->Append(game, U("対局(&G)"));

  auto* setup = new wxMenu;
  add(setup, kCmdFirstToMove, wxITEM_CHECK);
  for (int id : Ids{kSeparator, kCmdMateSetUp, kCmdFreeSetUp, kCmdEndSetUp, kSeparator}) {
    add(setup, id);
  }
  for (int preset = kPresetEven; preset < kPresetCount; ++preset) {
    setup->Append(PresetCommand(preset), U(StartPresetName(preset)));
  }
  add(setup, kSeparator);
  add(setup, kCmdMirror);
  bar->Append(setup, U("盤面設定(&S)"));

  auto* mate = new wxMenu;
  for (int id : Ids{kCmdNewProblem, kCmdEditProblem, kSeparator, kCmdMate1, kCmdMate2, kCmdMate3,
                    kSeparator, kCmdMateInGame}) {
    add(mate, id);
  }
  bar->Append(mate, U("詰将棋(&T)"));

  auto* help = new wxMenu;
  add(help, kCmdAbout);
  bar->Append(help, U("ヘルプ(&H)"));
  SetMenuBar(bar);
}

void CMainFrame::BuildToolBar() {
  wxToolBar* tools = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
  tools->SetToolBitmapSize(wxSize(16, 15));
  const Artwork art;  // the icons only; the view draws with its own
  struct Button {
    int Id;
    ToolIcon Icon;
  };
  const Button buttons[] = {
      {kCmdStepForward, ToolIcon::kForward},
      {kCmdContinuousForward, ToolIcon::kContinuousForward},
      {kCmdToLast, ToolIcon::kToLast},
      {kSeparator, ToolIcon::kForward},
      {kCmdReplaySpeed, ToolIcon::kSpeed},
      {kSeparator, ToolIcon::kForward},
      {kCmdToInitial, ToolIcon::kToInitial},
      {kCmdContinuousBack, ToolIcon::kContinuousBack},
      {kCmdStepBack, ToolIcon::kBack},
      {kSeparator, ToolIcon::kForward},
      {kCmdStopReplay, ToolIcon::kStopReplay},
      {kSeparator, ToolIcon::kForward},
      {kCmdMateInGame, ToolIcon::kMateAnalysis},
      {kSeparator, ToolIcon::kForward},
      {kCmdAbout, ToolIcon::kAbout},
  };
  for (const Button& b : buttons) {
    if (b.Id == kSeparator) {
      tools->AddSeparator();
      continue;
    }
    wxString status, tip;
    SplitPrompt(FindCommandText(b.Id)->Prompt, status, tip);
    tools->AddTool(b.Id, tip, art.Tool(b.Icon), tip, wxITEM_NORMAL)->SetLongHelp(status);
  }
  tools->Realize();
}

void CMainFrame::SetDocumentName(const std::string& path) {
  wxString name = path.empty() ? U("無題") : wxFileName(wxString::FromUTF8(path)).GetFullName();
  SetTitle(name + " - Shogi");
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
  if (!view_) return;
  event.Enable(view_->CommandEnabledNow(event.GetId()));
  if (event.IsCheckable()) event.Check(view_->CommandCheckedNow(event.GetId()));
}

void CMainFrame::OnIdleIndicators(wxIdleEvent& event) {
  // The three lock-key indicators of the status bar.
  static const wxKeyCode kKeys[3] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};
  static const char* const kNames[3] = {"CAP", "NUM", "SCRL"};
  for (int i = 0; i < 3; ++i) {
    const bool on = wxGetKeyState(kKeys[i]);
    if (on != indicators_[i] || GetStatusBar()->GetStatusText(i + 1).empty() != !on) {
      indicators_[i] = on;
      SetStatusText(on ? wxString(kNames[i]) : wxString(), i + 1);
    }
  }
  event.Skip();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  // A running search must return first; the game driver then ends the program.
  if (view_ && view_->CloseRequested() && event.CanVeto()) {
    event.Veto();
    return;
  }
  Destroy();
}

}  // namespace shogi::gui
