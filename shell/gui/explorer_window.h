// The 局面統計 panel: a small window beside the frame with the database and count, the move
// table and the newest games of the shown position (the rows of shell/explorer_panel.h); a
// double-click on a line hands it back to the view.
#pragma once

#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include <functional>

#include "shell/explorer_panel.h"

namespace shogi::gui {

class CExplorerPanel : public wxFrame {
 public:
  explicit CExplorerPanel(wxWindow* parent);
  void ShowView(const ExplorerPanelView& view);
  // Called with the row of a double-clicked move or game.
  std::function<void(int)> OnMove, OnGame;
  // The texts as shown, a line each (tests).
  wxString Text() const;
  wxListCtrl* Moves() const { return moves_; }
  wxListCtrl* Games() const { return games_; }

 private:
  wxStaticText* heading_;
  wxListCtrl* moves_;
  wxListCtrl* games_;
};

}  // namespace shogi::gui
