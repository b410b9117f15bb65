// The dialogs of the mate commands: CTume3 "詰将棋３" (start depth, multitasking, memory
// check), CTumeDfpn "詰将棋（df-pn）" (time limit, table size) and the attacker choice of
// "実戦詰将棋".
#pragma once

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "shell/shell_user_interface.h"

namespace shogi::gui {

class CTume3 : public wxDialog {
 public:
  // `messages` shows the refusal of a bad start depth.
  CTume3(wxWindow* parent, const MateStartSettings& settings, UserInterface& messages);

  MateStartSettings Settings() const;
  // Presses "開始": true when the start depth passed its check (the dialog then ends).
  bool PressStart();
  wxTextCtrl* DepthField() const { return depth_; }

 private:
  UserInterface& messages_;
  wxTextCtrl* depth_ = nullptr;
  wxCheckBox* multitask_ = nullptr;
  wxCheckBox* memory_ = nullptr;
};

class CTumeDfpn : public wxDialog {
 public:
  // `messages` shows the refusal of a bad field.
  CTumeDfpn(wxWindow* parent, const DfpnSettings& settings, UserInterface& messages);

  DfpnSettings Settings() const;
  // Presses "開始": true when both fields passed their check (the dialog then ends).
  bool PressStart();
  wxTextCtrl* SecondsField() const { return seconds_; }
  wxTextCtrl* TableField() const { return table_; }

 private:
  UserInterface& messages_;
  wxTextCtrl* seconds_ = nullptr;
  wxTextCtrl* table_ = nullptr;
};

// "実戦詰将棋": "先手番", "後手番" or "キャンセル".
MateAttackerChoice AskMateAttacker(wxWindow* parent);

}  // namespace shogi::gui
