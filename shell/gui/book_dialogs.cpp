// The Bonanza menu's dialogs.
#include "shell/gui/book_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/book_commands.h"

namespace shogi::gui {
CBookLookup::CBookLookup(wxWindow* parent, const std::vector<BookMoveRow>& rows)
    : wxDialog(parent, wxID_ANY, U(kBookLookupDialogTitle)) {
  list_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(300, 360),
                         wxLC_REPORT | wxLC_SINGLE_SEL);
  list_->AppendColumn(U("指し手"), wxLIST_FORMAT_LEFT, 150);
  list_->AppendColumn(U("％"), wxLIST_FORMAT_RIGHT, 120);
  for (const BookMoveRow& row : rows) {
    const long i = list_->InsertItem(list_->GetItemCount(), U(row.Move));
    list_->SetItem(i, 1, U(row.Share));
  }
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(list_, 1, wxEXPAND | wxALL, 10);
  top->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);
  CentreOnParent();
}

CBookBuild::CBookBuild(wxWindow* parent, const BookBuildOptions& options, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(kBookBuildDialogTitle)),
      ui_(ui),
      accepted_plies_(options.Plies) {
  auto* grid = new wxFlexGridSizer(3, 6, 6);
  grid->AddGrowableCol(1);
  auto file_row = [&](const char* label, const std::string& path, wxTextCtrl*& field) {
    grid->Add(new wxStaticText(this, wxID_ANY, U(label)), 0, wxALIGN_CENTER_VERTICAL);
    field = new wxTextCtrl(this, wxID_ANY, PathToWx(path), wxDefaultPosition, wxSize(280, -1));
    grid->Add(field, 1, wxEXPAND);
    auto* browse =
        new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    grid->Add(browse, 0);
    return browse;
  };
  file_row("Tarvelファイル：", options.Input, input_)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    BrowseInput();
  });
  file_row("定跡ファイル：", options.Output, output_)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    BrowseOutput();
  });
  grid->Add(new wxStaticText(this, wxID_ANY, U("有効手数　：")), 0, wxALIGN_CENTER_VERTICAL);
  plies_ = new wxTextCtrl(this, wxID_ANY, wxString::Format("%d", options.Plies), wxDefaultPosition,
                          wxSize(60, -1));
  grid->Add(plies_, 0);
  grid->AddSpacer(0);
  grid->Add(new wxStaticText(this, wxID_ANY, U("変換条件　：")), 0, wxALIGN_CENTER_VERTICAL);
  condition_ = new wxChoice(this, wxID_ANY);
  for (const char* name : kBookConditionNames) condition_->Append(U(name));
  condition_->SetSelection(options.Condition);
  grid->Add(condition_, 1, wxEXPAND);
  grid->AddSpacer(0);
  resign_ = new wxCheckBox(this, wxID_ANY, U("勝敗未登録の場合は、登録手数で投了と判断する。"));
  resign_->SetValue(options.ResignRule);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* build = new wxButton(this, wxID_OK, U("Tarvel->Book"));
  buttons->Add(build, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")), 0);
  build->SetDefault();
  build->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressBuild()) EndModal(wxID_OK);
  });
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 10);
  top->Add(resign_, 0, wxLEFT | wxRIGHT, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(top);
  CentreOnParent();
}

BookBuildOptions CBookBuild::Options() const {
  BookBuildOptions o;
  o.Input = PathFromWx(input_->GetValue());
  o.Output = PathFromWx(output_->GetValue());
  o.Plies = accepted_plies_;
  o.ResignRule = resign_->GetValue();
  o.Condition = condition_->GetSelection() < 0 ? kBookAllMoves : condition_->GetSelection();
  return o;
}

bool CBookBuild::PressBuild() {
  std::string message;
  if (ParseBookPlies(plies_->GetValue().utf8_string(), accepted_plies_, message) != 0) {
    ui_.ShowMessage(kBookBuildCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    plies_->SetFocus();
    plies_->SelectAll();
    return false;
  }
  return true;
}

void CBookBuild::Browse(wxTextCtrl* field, const FileDialogRequest& request) {
  const FileDialogResult answer = ui_.ChooseOpenFile(request);
  if (answer.Chosen) field->ChangeValue(PathToWx(answer.Path));
}

void CBookBuild::BrowseInput() {
  Browse(input_, BookInputFileRequest(PathFromWx(input_->GetValue())));
}

void CBookBuild::BrowseOutput() {
  Browse(output_, BookOutputFileRequest(PathFromWx(output_->GetValue())));
}

}  // namespace shogi::gui
