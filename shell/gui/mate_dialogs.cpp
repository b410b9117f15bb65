// The mate commands' dialogs.
#include "shell/gui/mate_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/dfpn_command.h"
#include "shell/mate_commands.h"

namespace shogi::gui {
namespace {

constexpr int kFirstButton = wxID_HIGHEST + 1, kSecondButton = wxID_HIGHEST + 2;

}  // namespace

CTume3::CTume3(wxWindow* parent, const MateStartSettings& settings, UserInterface& messages)
    : wxDialog(parent, wxID_ANY, U("詰将棋３")), messages_(messages) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, U("開始手数：")), 0, wxALIGN_CENTER_VERTICAL);
  depth_ = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(settings.StartDepth),
                          wxDefaultPosition, wxSize(60, -1));
  row->Add(depth_, 0, wxLEFT, 6);
  multitask_ = new wxCheckBox(this, wxID_ANY, U("ﾏﾙﾁﾀｽｸ"));
  multitask_->SetValue(settings.Multitask);
  memory_ = new wxCheckBox(this, wxID_ANY, U("ﾒﾓﾘﾁｪｯｸ"));
  memory_->SetValue(settings.MemoryCheck);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* start = new wxButton(this, wxID_OK, U("開始"));
  buttons->Add(start, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("中止")), 0);
  start->SetDefault();
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(row, 0, wxALL, 10);
  top->Add(multitask_, 0, wxLEFT | wxRIGHT, 10);
  top->Add(memory_, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(top);
  start->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressStart()) EndModal(wxID_OK);
  });
  CentreOnParent();
}

MateStartSettings CTume3::Settings() const {
  MateStartSettings s;
  s.StartDepth = depth_->GetValue().utf8_string();
  s.Multitask = multitask_->GetValue();
  s.MemoryCheck = memory_->GetValue();
  return s;
}

bool CTume3::PressStart() {
  int depth = 0;
  std::string message;
  if (ParseMateStartDepth(depth_->GetValue().utf8_string(), depth, message) != 0) {
    messages_.ShowMessage(kMateStartDepthCaption, message, MessageButtons::kOk,
                          MessageIcon::kWarning);
    depth_->SetFocus();
    depth_->SelectAll();
    return false;
  }
  return true;
}

CTumeDfpn::CTumeDfpn(wxWindow* parent, const DfpnSettings& settings, UserInterface& messages)
    : wxDialog(parent, wxID_ANY, U(kDfpnCaption)), messages_(messages) {
  auto* grid = new wxFlexGridSizer(2, 6, 6);
  auto field = [&](const char* label, const std::string& value) {
    grid->Add(new wxStaticText(this, wxID_ANY, U(label)), 0, wxALIGN_CENTER_VERTICAL);
    auto* text = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(value), wxDefaultPosition,
                                wxSize(80, -1));
    grid->Add(text, 0);
    return text;
  };
  seconds_ = field("時間制限（秒）：", settings.Seconds);
  table_ = field("置換表（MB）：", settings.TableMegabytes);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* start = new wxButton(this, wxID_OK, U("開始"));
  buttons->Add(start, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("中止")), 0);
  start->SetDefault();
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxALL, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(top);
  start->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressStart()) EndModal(wxID_OK);
  });
  CentreOnParent();
}

DfpnSettings CTumeDfpn::Settings() const {
  DfpnSettings s;
  s.Seconds = seconds_->GetValue().utf8_string();
  s.TableMegabytes = table_->GetValue().utf8_string();
  return s;
}

bool CTumeDfpn::PressStart() {
  DfpnChoice choice;
  std::string caption, message;
  const DfpnField refused = CheckDfpnSettings(Settings(), choice, caption, message);
  if (refused == DfpnField::kNone) return true;
  messages_.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
  wxTextCtrl* field = refused == DfpnField::kSeconds ? seconds_ : table_;
  field->SetFocus();
  field->SelectAll();
  return false;
}

MateAttackerChoice AskMateAttacker(wxWindow* parent) {
  wxDialog dialog(parent, wxID_ANY, U(kMateInGameCaption));
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(new wxButton(&dialog, kFirstButton, U("先手番")), 0, wxRIGHT, 8);
  buttons->Add(new wxButton(&dialog, kSecondButton, U("後手番")), 0, wxRIGHT, 8);
  buttons->Add(new wxButton(&dialog, wxID_CANCEL, U("キャンセル")), 0);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(&dialog, wxID_ANY, U("攻める側を選んでください。")), 0, wxALL, 10);
  top->Add(buttons, 0, wxALL, 10);
  dialog.SetSizerAndFit(top);
  dialog.Bind(wxEVT_BUTTON, [&dialog](wxCommandEvent& e) { dialog.EndModal(e.GetId()); });
  dialog.CentreOnParent();
  switch (dialog.ShowModal()) {
    case kFirstButton:
      return MateAttackerChoice::kFirstPlayer;
    case kSecondButton:
      return MateAttackerChoice::kSecondPlayer;
    default:
      return MateAttackerChoice::kCancel;
  }
}

}  // namespace shogi::gui
