// The window of the record's variations and comments.
#include "shell/gui/notes_window.h"
#include "shell/gui/wx_text.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/record_notes.h"

namespace shogi::gui {
CNotesWindow::CNotesWindow(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, U("変化とコメント"), wxDefaultPosition, wxSize(260, 360),
              wxCAPTION | wxCLOSE_BOX | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW |
                  wxFRAME_FLOAT_ON_PARENT) {
  auto* panel = new wxPanel(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(panel, wxID_ANY, U("この手の変化")), 0, wxLEFT | wxTOP, 6);
  variations_ = new wxListBox(panel, wxID_ANY, wxDefaultPosition, wxSize(-1, 110));
  sizer->Add(variations_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
  main_line_ = new wxButton(panel, wxID_ANY, U("本譜にする"));
  sizer->Add(main_line_, 0, wxLEFT | wxTOP, 6);
  sizer->Add(new wxStaticText(panel, wxID_ANY, U("コメント")), 0, wxLEFT | wxTOP, 6);
  comment_ = new wxTextCtrl(panel, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxTE_MULTILINE);
  sizer->Add(comment_, 1, wxEXPAND | wxALL, 6);
  panel->SetSizer(sizer);
  auto* whole = new wxBoxSizer(wxVERTICAL);
  whole->Add(panel, 1, wxEXPAND);
  SetSizer(whole);
  Layout();

  variations_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
    if (!filling_ && OnFollow) OnFollow(e.GetSelection());
  });
  main_line_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (OnMakeMain) OnMakeMain();
  });
  comment_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    if (!filling_ && OnComment) OnComment(comment_->GetValue().utf8_string());
  });
}

void CNotesWindow::ShowState(const ProgramState& state) {
  const int end = RecordEndPly(state.Record);
  if (state.Record.PlyCount == shown_ply_ && end == shown_end_ &&
      state.Notes.Version == shown_version_) {
    main_line_->Enable(state.InteractionState == kStateIdle && FollowsVariation(state));
    return;
  }
  shown_ply_ = state.Record.PlyCount;
  shown_end_ = end;
  shown_version_ = state.Notes.Version;
  filling_ = true;
  const ShownVariations v = VariationsOfShownMove(state);
  variations_->Clear();
  if (v.Nodes.size() > 1) {
    for (const std::string& text : v.Texts) variations_->Append(U(text));
    variations_->SetSelection(v.Current);
  }
  main_line_->Enable(state.InteractionState == kStateIdle && FollowsVariation(state));
  comment_->ChangeValue(U(ShownComment(state)));
  comment_->Enable(state.InteractionState == kStateIdle);
  filling_ = false;
}

}  // namespace shogi::gui
