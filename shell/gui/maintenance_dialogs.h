// The dialogs of the whole-database items: CSort "日付ソート", CIrekae "順番入れ換え",
// CIkkatsuBango (the number dialogs of the bulk changes: CKishi_na, CKisen_no, CSenkei_no),
// CKishi_name "棋士名一括変更" and CNenkan "将棋年鑑". Each fills a plain struct; the checks
// are shell/maintenance_commands.h's.
#pragma once

#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "shell/shell_user_interface.h"

namespace shogi::gui {

class CSort : public wxDialog {
 public:
  explicit CSort(wxWindow* parent);
  SortOrderChoice Choice() const;
  wxRadioButton* Descending() const { return descending_; }

 private:
  wxRadioButton* ascending_ = nullptr;
  wxRadioButton* descending_ = nullptr;
};

// A dialog whose OK checks its fields: a refused field shows the message through `ui`, gets
// the focus with its text selected, and the dialog stays open.
class CheckedDialog : public wxDialog {
 public:
  CheckedDialog(wxWindow* parent, const std::string& title, UserInterface& ui);
  // Presses OK: true when the fields passed their check (the dialog then ends).
  virtual bool PressOk() = 0;

 protected:
  // The OK and キャンセル buttons under `body`, and the layout.
  void Finish(wxSizer* body);
  bool Refuse(wxTextCtrl* field, const std::string& caption, const std::string& message);
  UserInterface& ui_;
};

class CIrekae : public CheckedDialog {
 public:
  CIrekae(wxWindow* parent, const SwapRequest& request, UserInterface& ui);
  bool PressOk() override;
  const SwapRequest& Request() const { return request_; }
  wxTextCtrl* FirstField() const { return first_; }
  wxTextCtrl* SecondField() const { return second_; }

 private:
  SwapRequest request_;
  wxTextCtrl* first_ = nullptr;
  wxTextCtrl* second_ = nullptr;
};

class CIkkatsuBango : public CheckedDialog {
 public:
  CIkkatsuBango(wxWindow* parent, const RenameNumbersRequest& request, UserInterface& ui);
  bool PressOk() override;
  const RenameNumbersRequest& Request() const { return request_; }
  wxTextCtrl* OldField() const { return old_; }
  wxTextCtrl* NewField() const { return new_; }

 private:
  RenameNumbersRequest request_;
  wxTextCtrl* old_ = nullptr;
  wxTextCtrl* new_ = nullptr;
};

class CKishi_name : public wxDialog {
 public:
  CKishi_name(wxWindow* parent, const RenameNamesRequest& request);
  RenameNamesRequest Request() const;
  wxComboBox* OldBox() const { return old_; }
  wxComboBox* NewBox() const { return new_; }

 private:
  RenameNamesRequest request_;
  wxComboBox* old_ = nullptr;
  wxComboBox* new_ = nullptr;
};

class CNenkan : public wxDialog {
 public:
  // The fields' control ids: the three input files and the Tarvel file.
  static constexpr int kFieldIds[4] = {1103, 1104, 1105, 1021};

  // `ui` shows the file dialogs of the "..." buttons.
  CNenkan(wxWindow* parent, const YearbookFiles& files, UserInterface& ui);
  // Presses OK: true when every name is long enough (else nothing happens).
  bool PressOk();
  YearbookFiles Files() const;
  // The "..." buttons of ファイル名２, ファイル名３ and the Tarvel file.
  void Browse(wxTextCtrl* field, bool tarvel_file);
  wxTextCtrl* Field(int i) const { return fields_[i]; }  // 0..2 the inputs, 3 the Tarvel file

 private:
  UserInterface& ui_;
  wxTextCtrl* fields_[4] = {};
};

}  // namespace shogi::gui
