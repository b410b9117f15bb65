// The Bonanza menu's two dialogs: CBookLookup "Bonanza Book 検索" (the book moves of the
// shown position with their shares) and CBookBuild "Tarvel->Bonanza book" (the builder's
// inputs, checked by the UI-free ParseBookPlies).
#pragma once

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <vector>

#include "shell/shell_user_interface.h"

namespace shogi::gui {

class CBookLookup : public wxDialog {
 public:
  CBookLookup(wxWindow* parent, const std::vector<BookMoveRow>& rows);
  wxListCtrl* List() const { return list_; }

 private:
  wxListCtrl* list_ = nullptr;
};

class CBookBuild : public wxDialog {
 public:
  // `ui` chooses the files of the "..." buttons and shows a refused field's message.
  CBookBuild(wxWindow* parent, const BookBuildOptions& options, UserInterface& ui);

  // The fields as they stand (the plies as last accepted by PressBuild).
  BookBuildOptions Options() const;
  // Presses "Tarvel->Book": true when the fields passed their check (the dialog then ends).
  bool PressBuild();
  // The "..." buttons: the file dialog from the field's path; OK fills the field.
  void BrowseInput();
  void BrowseOutput();

  wxTextCtrl* InputField() const { return input_; }
  wxTextCtrl* OutputField() const { return output_; }
  wxTextCtrl* PliesField() const { return plies_; }
  wxCheckBox* ResignBox() const { return resign_; }
  wxChoice* ConditionList() const { return condition_; }

 private:
  void Browse(wxTextCtrl* field, const FileDialogRequest& request);

  UserInterface& ui_;
  int accepted_plies_;
  wxTextCtrl* input_ = nullptr;
  wxTextCtrl* output_ = nullptr;
  wxTextCtrl* plies_ = nullptr;
  wxCheckBox* resign_ = nullptr;
  wxChoice* condition_ = nullptr;
};

}  // namespace shogi::gui
