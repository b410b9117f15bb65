// CMainFrame, the single frame: caption, system menu and minimise box, no sizing; menus,
// tool bar and status bar; the view filling the client area; the closing rules.
#pragma once

#include <wx/frame.h>

#include "shell/gui/shogi_view.h"

namespace shogi::gui {

class CMainFrame : public wxFrame {
 public:
  // Created 650 x 480 at the position stored under "初期位置" (centred by default), grown
  // where the platform's menus and bars would leave the view less room than its layout, and
  // sized to the view at its scale.
  CMainFrame(const ViewOptions& options);

  CShogiView* View() const { return view_; }
  // The exit code the program ends with (set when the program is ended during a search).
  int ExitCode() const { return exit_code_; }

 private:
  void BuildMenus();
  void BuildToolBar();
  void OnClose(wxCloseEvent& event);
  void OnUpdateCommand(wxUpdateUIEvent& event);
  void OnIdleIndicators(wxIdleEvent& event);
  void SetDocumentName(const std::string& path);
  // The client area: the view at its scale and the margin it had at 100 %.
  void FitView();

  CShogiView* view_ = nullptr;
  wxSize view_margin_;
  int exit_code_ = 0;
  bool indicators_[3] = {};
};

}  // namespace shogi::gui
