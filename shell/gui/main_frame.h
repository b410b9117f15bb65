// CMainFrame, the single frame: caption, system menu, sizing border; menus, tool bar and
// status bar; the view filling the client area; the closing rules.
#pragma once

#include <wx/frame.h>

#include "shell/gui/shogi_view.h"

namespace shogi::gui {

class CMainFrame : public wxFrame {
 public:
  // Created 650 x 480, grown where the platform's menus and bars would leave the view less
  // room than its layout at its scale, and placed where "初期位置" stored it when that is on
  // a screen (centred by default).
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
  // Sizes the frame to the view at its scale when the view lacks room or the scale changed
  // (`rescaled`); once the view has its size, keeps the frame whole on its screen.
  void FitView(bool rescaled = false);
  // Moves the frame to its stored place, kept on a screen, or centres it.
  void PlaceOnScreen();

  Profile& settings_;
  CShogiView* view_ = nullptr;
  bool placed_ = false;  // put in its place again once shown
  int exit_code_ = 0;
  bool indicators_[3] = {};
};

}  // namespace shogi::gui
