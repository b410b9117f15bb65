// The dialogs of the Bonanza menu's evaluation items: CKomaKachi "駒の価値" (the 13 piece
// values) and CSaizenshu "Bonanza 最善手 検索" (the ranked moves with their scores).
#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include <vector>

#include "analysis/move_ranking.h"
#include "shell/evaluation_commands.h"
#include "shell/shell_user_interface.h"

namespace shogi::gui {

class CKomaKachi : public wxDialog {
 public:
  // `messages` shows the refusal of a bad field.
  CKomaKachi(wxWindow* parent, const PieceValueTable& values, UserInterface& messages);

  // Presses "OK": true when every field passed its check (the dialog then ends); otherwise
  // the message is shown and the refused field has the focus.
  bool PressOk();
  // The values entered, after PressOk succeeded.
  const PieceValueTable& Values() const { return values_; }
  wxTextCtrl* Field(int index) const { return fields_[index]; }

 private:
  UserInterface& messages_;
  PieceValueTable values_;
  wxTextCtrl* fields_[kValuedPieceCount] = {};
};

class CSaizenshu : public wxDialog {
 public:
  CSaizenshu(wxWindow* parent, const std::vector<BestMoveRow>& rows);

  wxTextCtrl* MoveField(int index) const { return moves_[index]; }
  wxTextCtrl* ScoreField(int index) const { return scores_[index]; }

 private:
  wxTextCtrl* moves_[kRankingSize] = {};
  wxTextCtrl* scores_[kRankingSize] = {};
};

}  // namespace shogi::gui
