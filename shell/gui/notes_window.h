// The window of the record's variations and comments: the variations of the shown move
// (a click follows one, "本譜にする" makes the followed line the main line) and the shown
// position's comment, edited in place.
#pragma once

#include <functional>
#include <string>

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "shell/program_state.h"

namespace shogi::gui {

class CNotesWindow : public wxFrame {
 public:
  explicit CNotesWindow(wxWindow* parent);

  // Shows the state's variations and comment when the shown position or the notes changed
  // since the last call (a comment being typed is left alone otherwise).
  void ShowState(const ProgramState& state);

  // What the person does: a variation chosen (its index), the main-line button, the comment
  // changed (its text, UTF-8).
  std::function<void(int)> OnFollow;
  std::function<void()> OnMakeMain;
  std::function<void(const std::string&)> OnComment;

  // For tests.
  wxListBox* Variations() const { return variations_; }
  wxTextCtrl* Comment() const { return comment_; }

 private:
  wxListBox* variations_;
  wxButton* main_line_;
  wxTextCtrl* comment_;
  // What is shown: the ply, the record's end and the notes' version.
  int shown_ply_ = -1;
  int shown_end_ = -1;
  int shown_version_ = -1;
  bool filling_ = false;  // the window itself sets the texts: no edit to report
};

}  // namespace shogi::gui
