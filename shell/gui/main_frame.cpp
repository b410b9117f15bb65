// The frame: menus, tool bar, status bar and closing.
#include "shell/gui/main_frame.h"
#include "shell/gui/wx_text.h"

#include <wx/display.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "shell/menu_layout.h"

namespace shogi::gui {
namespace {

using namespace shogi::resources;

// The status text of a prompt (before "\n") and its tool tip (after).
void SplitPrompt(const std::string& prompt, wxString& status, wxString& tip) {
  wxString all = U(prompt);
  status = all.BeforeFirst('\n');
  tip = all.AfterFirst('\n');
}

void AppendCommand(wxMenu* menu, const CommandRow& row) {
  wxString status, tip;
  SplitPrompt(row.Prompt, status, tip);
  menu->Append(row.Id, U(row.Label), status, row.Checked ? wxITEM_CHECK : wxITEM_NORMAL);
}

// The screens' work areas, the main screen first.
std::vector<ScreenArea> Screens() {
  std::vector<ScreenArea> screens;
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    const wxDisplay display(i);
    const wxRect r = display.GetClientArea();
    screens.insert(display.IsPrimary() ? screens.begin() : screens.end(),
                   ScreenArea{r.x, r.y, r.width, r.height});
  }
  return screens;
}

}  // namespace

CMainFrame::CMainFrame(const ViewOptions& options)
    : wxFrame(nullptr, wxID_ANY, "Shogi", wxDefaultPosition, wxSize(kFrameWidth, kFrameHeight),
              wxDEFAULT_FRAME_STYLE),
      settings_(*options.Settings) {
  SetMinSize(wxSize(kFrameWidth, kFrameHeight));
  BuildMenus();
  BuildToolBar();
  CreateStatusBar(4);
  const int widths[4] = {-1, 44, 44, 48};
  SetStatusWidths(4, widths);

  view_ = new CShogiView(this, options);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(view_, 1, wxEXPAND);
  SetSizer(sizer);
  // The menus and bars take what room the platform gives them: the view keeps its full size
  // and the frame grows instead, also when a window manager lays the frame out after it is
  // shown, and when the view's scale changes (the frame's border cannot be dragged).
  if (view_->FitsWindow()) {
    const FrameSize size = LoadFrameSize(settings_);
    SetSize(size.Width, size.Height);
  }
  FitView(true);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    e.Skip();
    CallAfter([this] { FitView(); });
  });
  view_->OnSizeChanged = [this] { FitView(true); };
  PlaceOnScreen();
  view_->SetFocus();  // ← → Home End reach the view
  SetDocumentName("");

  view_->OnDocumentName = [this](const std::string& path) { SetDocumentName(path); };
  view_->OnEndProgram = [this](int code) { exit_code_ = code; };
  for (const CommandRow& row : CommandTable()) {
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& e) { view_->RunCommand(e.GetId()); }, row.Id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, row.Id);
  }
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleIndicators, this);
}

void CMainFrame::FitView(bool rescaled) {
  Layout();
  // A fitted view takes the room the frame gives it (its own size is kept at the close).
  const wxSize wanted = view_->FitsWindow() ? view_->GetSize() : view_->ScaledSize();
  const wxSize have = view_->GetSize();
  // The platform's bars are measured anew each time: under a window manager they are known
  // only after the frame was shown. A frame wider than the view (for the menu bar) stays.
  const bool lacks = have.x < wanted.x || have.y < wanted.y;
  if (lacks || (rescaled && have != wanted)) {
    SetClientSize(wanted);
  } else if (IsShownOnScreen() && !placed_) {
    // A window manager may ignore where a frame was put before it was shown: it is put
    // there again now.
    placed_ = true;
    PlaceOnScreen();
  } else if (IsShownOnScreen()) {
    // Under a window manager the frame's size is known only now: the frame stays whole on
    // its screen with it.
    const wxPoint at = GetPosition();
    const wxSize size = GetSize();
    const WindowPlacement kept = KeepOnScreen({at.x, at.y}, Screens(), size.x, size.y);
    if (kept.X != at.x || kept.Y != at.y) Move(kept.X, kept.Y);
  }
}

void CMainFrame::PlaceOnScreen() {
  const wxSize size = GetSize();
  const WindowPlacement p = LoadWindowPlacement(settings_, Screens(), size.x, size.y);
  SetPosition(wxPoint(p.X, p.Y));
}

void CMainFrame::BuildMenus() {
  auto* bar = new wxMenuBar;
  wxMenu* menu = nullptr;
  wxMenu* sub = nullptr;
  const char* sub_title = nullptr;
  for (const MenuEntry& e : kMenuBar) {
    wxMenu* target = sub ? sub : menu;
    switch (e.Kind) {
      case MenuEntryKind::kMenu:
        menu = new wxMenu;
        bar->Append(menu, U(e.Title));
        break;
      case MenuEntryKind::kCommand:
        // A command the table leaves out while it cannot run (読み込み（永世）) has no item.
        if (const CommandRow* row = FindCommand(e.Command)) AppendCommand(target, *row);
        break;
      case MenuEntryKind::kGroup:
        for (const CommandRow& row : CommandTable()) {
          if (row.Group == e.Group) AppendCommand(target, row);
        }
        break;
      case MenuEntryKind::kSeparator:
        target->AppendSeparator();
        break;
      case MenuEntryKind::kSubMenu:
        sub = new wxMenu;
        sub_title = e.Title;
        break;
      case MenuEntryKind::kEndSubMenu:
        menu->AppendSubMenu(sub, U(sub_title));
        sub = nullptr;
        break;
    }
  }
  SetMenuBar(bar);
}

void CMainFrame::BuildToolBar() {
  wxToolBar* tools = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
  tools->SetToolBitmapSize(wxSize(16, 15));
  const Artwork art;  // the icons only; the view draws with its own
  for (const ToolButton& b : kToolBar) {
    if (b.Command == 0) {
      tools->AddSeparator();
      continue;
    }
    wxString status, tip;
    SplitPrompt(FindCommand(b.Command)->Prompt, status, tip);
    tools->AddTool(b.Command, tip, art.Tool(b.Icon), tip, wxITEM_NORMAL)->SetLongHelp(status);
  }
  tools->Realize();
}

void CMainFrame::SetDocumentName(const std::string& path) {
  wxString name = path.empty() ? U("無題") : wxFileName(wxString::FromUTF8(path)).GetFullName();
  SetTitle(name + " - Shogi");
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
  if (!view_) return;
  const ProgramState& state = view_->State();
  event.Enable(CommandEnabled(state, event.GetId()));
  if (event.IsCheckable()) event.Check(CommandChecked(state, event.GetId()));
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
  if (view_ && event.CanVeto()) {
    // Long work must end first; the view closes the frame again once it has.
    if (view_->CloseRequested()) {
      SetStatusText(U("処理の終了を待っています。"), 0);
      event.Veto();
      return;
    }
    if (!view_->ConfirmClose()) {
      event.Veto();
      return;
    }
  }
  if (view_ && view_->FitsWindow() && !IsMaximized() && !IsIconized())
    SaveFrameSize(settings_, {GetSize().x, GetSize().y});
  Destroy();
}

}  // namespace shogi::gui
