// CTaikyoku, the game-conditions dialog "対局条件設定": the controls of the game header, the
// start position and the players. It shows a ConditionsForm and leaves the checks to the
// UI-free AcceptConditions.
#pragma once

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include <string>

#include "platform/user_interface.h"
#include "shell/conditions_dialog.h"

namespace shogi::gui {

class CTaikyoku : public wxDialog {
 public:
  // `conditions` is read now and, after "ＯＫ", holds the answer. `messages` shows the
  // checks' boxes; `folder` is where the name lists are read from.
  CTaikyoku(wxWindow* parent, GameConditions& conditions, const std::string& folder,
            UserInterface& messages);

  // The fields as they stand.
  ConditionsForm Form() const;
  void SetForm(const ConditionsForm& form);
  // Presses "ＯＫ": true when the checks passed (the dialog then ends with wxID_OK).
  bool PressOk();
  // The field that has the focus after a refused "ＯＫ" (kNone when none was refused).
  ConditionsField RefusedField() const { return refused_; }
  // The control of a field, for tests.
  wxWindow* FieldControl(ConditionsField field) const;
  const ConditionsLists& Lists() const { return lists_; }

 private:
  void OnOk(wxCommandEvent& event);
  // Keeps a text within its cp932 byte limit while it is typed.
  void LimitBytes(wxCommandEvent& event, std::size_t max_bytes);

  GameConditions& conditions_;
  UserInterface& messages_;
  ConditionsLists lists_;
  ConditionsField refused_ = ConditionsField::kNone;
  wxComboBox* first_ = nullptr;
  wxComboBox* second_ = nullptr;
  wxComboBox* tournament_ = nullptr;
  wxTextCtrl* game_number_ = nullptr;
  wxTextCtrl* year_ = nullptr;
  wxTextCtrl* month_ = nullptr;
  wxTextCtrl* day_ = nullptr;
  wxComboBox* opening_ = nullptr;
  wxTextCtrl* comment_ = nullptr;
  wxChoice* start_ = nullptr;
  wxCheckBox* flipped_ = nullptr;
};

}  // namespace shogi::gui
