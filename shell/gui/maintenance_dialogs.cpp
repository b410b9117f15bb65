// The dialogs of the whole-database items.
#include "shell/gui/maintenance_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "database/maintenance.h"
#include "shell/maintenance_commands.h"

namespace shogi::gui {
namespace {

wxSizer* OkCancel(wxWindow* parent, const char* ok_label) {
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(parent, wxID_OK, U(ok_label));
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(parent, wxID_CANCEL, U("キャンセル")), 0);
  return buttons;
}

void LayOut(wxDialog* dialog, wxSizer* body, wxSizer* buttons) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body, 0, wxEXPAND | wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  dialog->SetSizerAndFit(top);
  dialog->CentreOnParent();
}

}  // namespace

CSort::CSort(wxWindow* parent) : wxDialog(parent, wxID_ANY, U(kSortDialogTitle)) {
  auto* body = new wxBoxSizer(wxVERTICAL);
  ascending_ =
      new wxRadioButton(this, wxID_ANY, U("日付順"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  descending_ = new wxRadioButton(this, wxID_ANY, U("日付逆順"));
  ascending_->SetValue(true);
  body->Add(ascending_, 0, wxBOTTOM, 6);
  body->Add(descending_, 0);
  LayOut(this, body, OkCancel(this, "OK"));
}

SortOrderChoice CSort::Choice() const {
  return descending_->GetValue() ? SortOrderChoice::kDescending : SortOrderChoice::kAscending;
}

CheckedDialog::CheckedDialog(wxWindow* parent, const std::string& title, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(title)), ui_(ui) {}

void CheckedDialog::Finish(wxSizer* body) {
  LayOut(this, body, OkCancel(this, "OK"));
  FindWindow(wxID_OK)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressOk()) EndModal(wxID_OK);
  });
}

bool CheckedDialog::Refuse(wxTextCtrl* field, const std::string& caption,
                           const std::string& message) {
  ui_.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
  field->SetFocus();
  field->SelectAll();
  return false;
}

CIrekae::CIrekae(wxWindow* parent, const SwapRequest& request, UserInterface& ui)
    : CheckedDialog(parent, kSwapDialogTitle, ui), request_(request) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  first_ = new wxTextCtrl(this, wxID_ANY, U(request.FirstText), wxDefaultPosition, wxSize(70, -1));
  second_ =
      new wxTextCtrl(this, wxID_ANY, U(request.SecondText), wxDefaultPosition, wxSize(70, -1));
  first_->SetMaxLength(5);
  second_->SetMaxLength(5);
  row->Add(first_, 0, wxALIGN_CENTER_VERTICAL);
  row->Add(new wxStaticText(this, wxID_ANY, U("番と")), 0,
           wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 6);
  row->Add(second_, 0, wxALIGN_CENTER_VERTICAL);
  row->Add(new wxStaticText(this, wxID_ANY, U("番を入れ換える。")), 0,
           wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
  Finish(row);
}

bool CIrekae::PressOk() {
  request_.FirstText = first_->GetValue().utf8_string();
  request_.SecondText = second_->GetValue().utf8_string();
  std::string message;
  const SwapInput input = CheckSwapFields(request_, message);
  if (input == SwapInput::kAccepted) return true;
  return Refuse(input == SwapInput::kFirst ? first_ : second_, kSwapCaption, message);
}

CIkkatsuBango::CIkkatsuBango(wxWindow* parent, const RenameNumbersRequest& request,
                             UserInterface& ui)
    : CheckedDialog(parent, request.Title, ui), request_(request) {
  auto* grid = new wxFlexGridSizer(2, 6, 8);
  old_ = AddField(this, grid, "変更前番号", request.OldText, 80);
  new_ = AddField(this, grid, "変更後番号", request.NewText, 80);
  Finish(grid);
}

bool CIkkatsuBango::PressOk() {
  request_.OldText = old_->GetValue().utf8_string();
  request_.NewText = new_->GetValue().utf8_string();
  std::string message, caption;
  const RenameInput input = CheckRenameRequest(request_, message, caption);
  if (input == RenameInput::kAccepted) return true;
  return Refuse(input == RenameInput::kOldNumber ? old_ : new_, caption, message);
}

CKishi_name::CKishi_name(wxWindow* parent, const RenameNamesRequest& request)
    : wxDialog(parent, wxID_ANY, U(kRenameNamesTitle)), request_(request) {
  wxArrayString names;
  for (const std::string& name : request.Names) names.Add(U(name));
  auto* grid = new wxFlexGridSizer(2, 6, 8);
  const auto add_box = [&](const char* label, const std::string& text) {
    grid->Add(new wxStaticText(this, wxID_ANY, U(label)), 0, wxALIGN_CENTER_VERTICAL);
    auto* box = new wxComboBox(this, wxID_ANY, U(text), wxDefaultPosition, wxSize(200, -1), names);
    box->SetMaxLength(12);
    grid->Add(box, 1, wxEXPAND);
    return box;
  };
  old_ = add_box("変更前氏名", request.Old);
  new_ = add_box("変更後氏名", request.New);
  LayOut(this, grid, OkCancel(this, "OK"));
}

RenameNamesRequest CKishi_name::Request() const {
  RenameNamesRequest request = request_;
  request.Old = old_->GetValue().utf8_string();
  request.New = new_->GetValue().utf8_string();
  return request;
}

CNenkan::CNenkan(wxWindow* parent, const YearbookFiles& files, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(kYearbookTitle)), ui_(ui) {
  auto* grid = new wxFlexGridSizer(3, 6, 8);
  grid->AddGrowableCol(1);
  const struct {
    const char* label;
    const std::string& text;
    bool browse, tarvel;
  } rows[] = {{"ファイル名１", files.Headers, false, false},
              {"ファイル名２", files.MoveIndex, true, false},
              {"ファイル名３", files.MoveData, true, false},
              {"Tarvelファイル", files.Database, true, true}};
  for (int i = 0; i < 4; ++i) {
    fields_[i] = AddField(this, grid, rows[i].label, rows[i].text, 300);
    fields_[i]->SetId(kFieldIds[i]);
    fields_[i]->SetMaxLength(255);
    if (!rows[i].browse) {
      grid->AddSpacer(0);
      continue;
    }
    auto* browse =
        new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    grid->Add(browse, 0);
    wxTextCtrl* field = fields_[i];
    const bool tarvel = rows[i].tarvel;
    browse->Bind(wxEVT_BUTTON, [this, field, tarvel](wxCommandEvent&) { Browse(field, tarvel); });
  }
  LayOut(this, grid, OkCancel(this, "OK"));
  FindWindow(wxID_OK)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressOk()) EndModal(wxID_OK);
  });
}

bool CNenkan::PressOk() {
  return YearbookNamesComplete(Files());
}

YearbookFiles CNenkan::Files() const {
  return {PathFromWx(fields_[0]->GetValue()), PathFromWx(fields_[1]->GetValue()),
          PathFromWx(fields_[2]->GetValue()), PathFromWx(fields_[3]->GetValue())};
}

void CNenkan::Browse(wxTextCtrl* field, bool tarvel_file) {
  std::string text = PathFromWx(field->GetValue());
  if (BrowseYearbookFile(ui_, text, tarvel_file)) field->ChangeValue(PathToWx(text));
}

}  // namespace shogi::gui
