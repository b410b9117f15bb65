// The frame: menus, tool bar, status bar and closing.
#include "shell/gui/main_frame.h"

#include <wx/display.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "resources/menu_layout.h"

namespace shogi::gui {
namespace {

using namespace shogi::resources;

wxString U(const std::string& utf8) {
  return wxString::FromUTF8(utf8);
}

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
  view_margin_ = wxSize(std::max(client.x - kViewWidth, 0), std::max(client.y - kViewHeight, 0));
  FitView();
  // The view's scale changes its size: the frame follows (its border cannot be dragged).
  view_->OnSizeChanged = [this] { FitView(); };
  view_->SetFocus();  // ← → Home End reach the view
  SetDocumentName("");

  view_->OnDocumentName = [this](const std::string& path) { SetDocumentName(path); };
  view_->OnEndProgram = [this](int code) {
    exit_code_ = code;
    CallAfter([this] { Destroy(); });
  };
  for (const CommandRow& row : CommandTable()) {
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& e) { view_->RunCommand(e.GetId()); }, row.Id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, row.Id);
  }
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleIndicators, this);
}

void CMainFrame::FitView() {
  const wxSize view = view_->ScaledSize();
  const wxSize wanted(view.x + view_margin_.x, view.y + view_margin_.y);
  if (GetClientSize() != wanted) SetClientSize(wanted);
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
  // A running search must return first; the game driver then ends the program.
  if (view_ && view_->CloseRequested() && event.CanVeto()) {
    event.Veto();
    return;
  }
  Destroy();
}

}  // namespace shogi::gui
