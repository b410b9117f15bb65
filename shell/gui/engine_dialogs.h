// The エンジン menu's windows: the engine list dialog "エンジン登録", the options dialog built
// from an engine's option list, and the 検討 panel. They only show controls; registering,
// the checks of typed values and the analysis live in players/engine_list.h and
// players/engine_analysis.h.
#pragma once

#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <vector>

#include "platform/user_interface.h"
#include "players/engine_analysis.h"
#include "players/engine_list.h"

namespace shogi::gui {

// "エンジン登録": the registered engines; 追加 asks for an executable and starts it once for
// its name and options, 設定 opens the options dialog, 削除 removes. `list` holds the answer
// after "OK". `ui` shows the file dialog and the boxes.
class CEngineListDialog : public wxDialog {
 public:
  CEngineListDialog(wxWindow* parent, EngineList& list, UserInterface& ui);

  // The buttons' actions (tests call them too).
  void Add();
  void EditSelected();
  void RemoveSelected();
  wxListBox* List() { return names_; }
  bool TransferDataFromWindow() override;

 private:
  void Refill(int selection);

  EngineList& answer_;
  EngineList list_;
  UserInterface& ui_;
  wxListBox* names_;
};

// The options of one engine, one control per option of its list (check box, spin control,
// choice, text, file name with 参照, button as "起動時に押す"), and its seconds per move.
// "OK" checks the values (a refused one keeps the dialog open) and stores in `entry` those
// that differ from the engine's defaults.
class CEngineOptionsDialog : public wxDialog {
 public:
  CEngineOptionsDialog(wxWindow* parent, EngineEntry& entry, UserInterface& ui);
  bool TransferDataFromWindow() override;
  // The value a control shows now (tests).
  std::string ValueOf(std::size_t option) const;
  void SetValueOf(std::size_t option, const std::string& value);

 private:
  EngineEntry& entry_;
  UserInterface& ui_;
  wxSpinCtrl* byoyomi_;
  std::vector<wxWindow*> controls_;  // one per offered option
};

// The 検討 panel: engine, position, score from the first player's view, depth, nodes and
// the principal variation in Japanese, in a small window floating over the frame.
class CAnalysisPanel : public wxFrame {
 public:
  explicit CAnalysisPanel(wxWindow* parent);
  void ShowView(const AnalysisView& view);
  // The texts as shown (tests).
  wxString Text() const;

 private:
  wxStaticText* engine_;
  wxStaticText* score_;
  wxStaticText* search_;
  wxStaticText* pv_;
};

}  // namespace shogi::gui
